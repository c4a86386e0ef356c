#include "history/HistoryKind.h"

const HistoryKind &HistoryKind::expressSlips()
{
    static const HistoryKind kind{
        BillKind::ExpressSlip,
        QStringLiteral("DataKDDTable"),
        QStringLiteral("流水号"),
        QStringLiteral("快递单号"),
        {QStringLiteral("寄件单位"), QStringLiteral("寄件联系人")},
        {QStringLiteral("收件单位"), QStringLiteral("收件联系人")},
        QStringLiteral("寄件日期"),
        QStringLiteral("模板种类"),
        QStringLiteral("总费用"),
        {},
    };
    return kind;
}

const HistoryKind &HistoryKind::acceptanceDrafts()
{
    static const HistoryKind kind{
        BillKind::AcceptanceDraft,      QStringLiteral("DataCDHPTable"),
        QStringLiteral("流水号"),       QStringLiteral("承兑协议号"),
        {QStringLiteral("出票人全称")}, {QStringLiteral("收款人全称")},
        QStringLiteral("出票日期"),     {},
        QStringLiteral("金额"),         QStringLiteral("票据状态"),
    };
    return kind;
}
