#pragma once

#include <QString>

// The capital form of one part of a bill date: a year digit by digit ("2009" gives 贰零零玖),
// a month or day from 1 to 31 with the leading 零 that guards small numbers against
// alteration ("05" gives 零伍, "10" gives 零壹拾, "12" gives 壹拾贰). Empty text for a month or
// day outside 1..31 and for a part that is not made of digits.
QString getCapitalDate(const QString &part);
