#pragma once

#include "templates/CheckDesignStore.h"

#include <QUndoCommand>
#include <functional>

// One change of a design-mode item: its values before and after, whether the change was
// written to the template when made (then undoing and redoing write too), and how it merges:
// consecutive key moves, or key sizes, of the same item are one change.
class ItemDesignCommand : public QUndoCommand
{
public:
    enum Merge { Alone = -1, KeyMove = 1, KeySize = 2 };
    // Shows (and stores, when asked) an item's values.
    using Apply = std::function<void(const QString &ctlName, const ItemDesign &, bool store)>;

    ItemDesignCommand(const QString &text, const QString &ctlName, const ItemDesign &before,
                      const ItemDesign &after, bool stores, Merge merge, Apply apply);

    void undo() override;
    void redo() override;
    int id() const override { return m_merge; }
    bool mergeWith(const QUndoCommand *other) override;

    const QString &ctlName() const { return m_ctlName; }

private:
    QString m_ctlName;
    ItemDesign m_before;
    ItemDesign m_after;
    bool m_stores;
    Merge m_merge;
    Apply m_apply;
    bool m_done = true; // pushed after the window made the change itself
};
