#pragma once

#include <QString>
#include <vector>

// The bill fields of the express slip: control, kind, length limit, hint, and the column of
// DataKDDTable each is saved to. The control name is also the item name a template places and
// the print engine prints.
struct ExpressSlipField
{
    enum class Kind { Edit, Memo, ComboBox, Date };

    QString control;
    Kind kind;
    int maxLength; // 0: no limit of its own
    QString hint;
    QString column; // empty: not stored
};

namespace ExpressSlipFields {

const std::vector<ExpressSlipField> &all();
const ExpressSlipField *byControl(const QString &control);

// The prompt a receiver name box shows before a party is chosen; never stored or printed.
inline const QString kReceiverPrompt = QStringLiteral("单击我或红圈选择收件人...:)");

} // namespace ExpressSlipFields
