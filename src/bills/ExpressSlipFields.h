#pragma once

#include "bills/BillField.h"

#include <QString>
#include <vector>

// The bill fields of the express slip and the columns of DataKDDTable they are saved to.
namespace ExpressSlipFields {

const std::vector<BillField> &all();
const BillField *byControl(const QString &control);

// The prompt a receiver name box shows before a party is chosen; never stored or printed.
inline const QString kReceiverPrompt = QStringLiteral("单击我或红圈选择收件人...:)");

} // namespace ExpressSlipFields
