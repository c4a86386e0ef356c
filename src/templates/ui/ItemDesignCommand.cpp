#include "templates/ui/ItemDesignCommand.h"

ItemDesignCommand::ItemDesignCommand(const QString &text, const QString &ctlName,
                                     const ItemDesign &before, const ItemDesign &after, bool stores,
                                     Merge merge, Apply apply)
    : QUndoCommand(text)
    , m_ctlName(ctlName)
    , m_before(before)
    , m_after(after)
    , m_stores(stores)
    , m_merge(merge)
    , m_apply(std::move(apply))
{}

void ItemDesignCommand::undo()
{
    m_apply(m_ctlName, m_before, m_stores);
}

void ItemDesignCommand::redo()
{
    if (m_done) {
        m_done = false;
        return;
    }
    m_apply(m_ctlName, m_after, m_stores);
}

bool ItemDesignCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const ItemDesignCommand *>(other);
    if (next->m_ctlName != m_ctlName || next->m_stores != m_stores)
        return false;
    m_after = next->m_after;
    setObsolete(m_after == m_before);
    return true;
}
