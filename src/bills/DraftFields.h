#pragma once

#include "bills/BillField.h"

#include <QStringList>
#include <vector>

// The bill fields of the acceptance draft and the columns of DataCDHPTable they are saved to.
namespace DraftFields {

const std::vector<BillField> &all();
const BillField *byControl(const QString &control);

// The payee name box shows this until a payee is chosen; it is never stored or printed.
inline const QString kPayeePrompt = QStringLiteral("单击我或红圈选择收款人...:)");

// The eleven amount cells from the left (亿) to the right (分).
const QStringList &amountCells();

} // namespace DraftFields
