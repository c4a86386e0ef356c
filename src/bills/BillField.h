#pragma once

#include <QString>
#include <vector>

// One field of a bill form: control, kind, length limit, hint, and the column of the bill's
// table it is saved to. The control name is also the item name a template places and the print
// engine prints.
struct BillField
{
    enum class Kind { Edit, Memo, ComboBox, Date, Cell };

    QString control;
    Kind kind;
    int maxLength; // 0: no limit of its own
    QString hint;
    QString column; // empty: not stored

    // Whether the text fits the field whole: edits and drop-downs cut a longer one short.
    bool holds(const QString &text) const
    {
        return maxLength <= 0 || (kind != Kind::Edit && kind != Kind::ComboBox) ||
               text.size() <= maxLength;
    }
};

// The field of that control (compared without regard to case), or null.
inline const BillField *fieldByControl(const std::vector<BillField> &fields, const QString &control)
{
    for (const BillField &f : fields)
        if (f.control.compare(control, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}
