#pragma once

#include <QDate>

class BillValues;

// Both kinds print their date as year, month and day fields: capital text on a draft that asks
// for it ("贰零零玖", "零壹拾", "壹拾伍"), digits otherwise.
void setBillDate(BillValues &bill, const QDate &date, bool capital);
