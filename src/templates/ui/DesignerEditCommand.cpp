#include "templates/ui/DesignerEditCommand.h"

DesignerEditCommand::DesignerEditCommand(const QString &text, const QStringList &names,
                                         DesignerStore::Snapshot before,
                                         DesignerStore::Snapshot after, Merge merge, Apply apply)
    : QUndoCommand(text)
    , m_names(names)
    , m_before(std::move(before))
    , m_after(std::move(after))
    , m_merge(merge)
    , m_apply(std::move(apply))
{}

void DesignerEditCommand::undo()
{
    m_apply(m_before);
}

void DesignerEditCommand::redo()
{
    if (m_done) {
        m_done = false;
        return;
    }
    m_apply(m_after);
}

bool DesignerEditCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const DesignerEditCommand *>(other);
    if (next->m_names != m_names)
        return false;
    m_after = next->m_after;
    setObsolete(m_after == m_before);
    return true;
}
