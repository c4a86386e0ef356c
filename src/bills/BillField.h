#pragma once

#include <QString>

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
};
