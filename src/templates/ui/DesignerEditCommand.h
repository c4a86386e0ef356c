#pragma once

#include "templates/DesignerStore.h"

#include <QUndoCommand>
#include <functional>

// One edit of the designer: the edited items' stored columns before and after it. The edit was
// written when made; undo and redo write the other snapshot. Consecutive moves of the same
// selection (arrow keys, move buttons) are one step.
class DesignerEditCommand : public QUndoCommand
{
public:
    enum Merge { Alone = -1, Nudge = 3 };
    // Writes a snapshot and shows it.
    using Apply = std::function<void(const DesignerStore::Snapshot &)>;

    DesignerEditCommand(const QString &text, const QStringList &names,
                        DesignerStore::Snapshot before, DesignerStore::Snapshot after, Merge merge,
                        Apply apply);

    void undo() override;
    void redo() override;
    int id() const override { return m_merge; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    QStringList m_names;
    DesignerStore::Snapshot m_before;
    DesignerStore::Snapshot m_after;
    Merge m_merge;
    Apply m_apply;
    bool m_done = true; // pushed after the edit was written
};
