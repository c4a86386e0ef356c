#include "bills/DateText.h"

#include <gtest/gtest.h>

TEST(DateText, CapitalDateParts)
{
    struct Case
    {
        const char *part;
        const char *expected;
    };
    const Case cases[] = {
        {"2009", "贰零零玖"}, {"12", "壹拾贰"}, {"05", "零伍"},   {"10", "零壹拾"},
        {"20", "零贰拾"},     {"31", "叁拾壹"}, {"1", "零壹"},    {"07", "零柒"},
        {"11", "壹拾壹"},     {"19", "壹拾玖"}, {"30", "零叁拾"}, {"0", ""},
        {"00", ""},           {"32", ""},       {"", ""},         {"ab", ""},
        {"20x9", ""},         {"２００９", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(getCapitalDate(QString::fromUtf8(c.part)), QString::fromUtf8(c.expected))
            << c.part;
}
