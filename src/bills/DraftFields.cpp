#include "bills/DraftFields.h"

namespace DraftFields {

namespace {

using K = BillField::Kind;

std::vector<BillField> build()
{
    auto s = [](const char *text) { return QString::fromUtf8(text); };
    std::vector<BillField> fields{
        {"zdOutComp", K::ComboBox, 200, s("出票单位全称"), s("出票人全称")},
        {"zdOutBankAcct", K::ComboBox, 200, s("出票开户号账号"), s("出票人账号")},
        {"zdOutBank", K::Edit, 40, s("出票开户行名称"), s("付款行名称")},
        {"zdOutBankNO", K::Edit, 40, s("出票银行行号"), s("付款行行号")},
        {"zdOutBankAddr", K::Edit, 40, s("出票银行地址"), s("付款行地址")},
        {"zdInComp", K::ComboBox, 200, s("收款单位全称(支持助记码输入: 助记码%+回车)"),
         s("收款人全称")},
        {"zdInBank", K::ComboBox, 200, s("收款人银行"), s("收款人开户行")},
        {"zdInBankAcct", K::Edit, 40, s("收款人账号"), s("收款人账号")},
        {"zdPJBH", K::Edit, 0, s("票据编号"), s("票据编号")},
        {"zdCDXYBH", K::Edit, 0, s("备注"), s("承兑协议号")},
        {"zdTimeOutDate", K::ComboBox, 0, s("汇票到期日，输入yyyy.mm.dd回车自动转大写日期"),
         s("汇票到期日")},
        {"SelDate", K::Date, 0, s("点击选择日期"), s("出票日期")},
        {"zdNian", K::Edit, 0, s("大写年"), {}},
        {"zdYue", K::Edit, 0, s("大写月"), {}},
        {"zdRi", K::Edit, 0, s("大写日"), {}},
        {"zdJEXX", K::Edit, 0, {}, s("金额")},
        {"zdJEDX", K::Edit, 0, s("点击输入金额"), {}},
        {"inputJEXX", K::Edit, 0, s("金额大写(只需输入小写,回车自动转换大写),"), {}},
        {"zdRemark", K::Memo, 0, s("备注说明"), s("备注")},
        {"zdDef1", K::ComboBox, 0, s("自定义1"), s("自定义1")},
        {"zdDef2", K::ComboBox, 0, s("自定义2"), s("自定义2")},
        {"zdDef3", K::Edit, 0, s("自定义3"), s("自定义3")},
        {"zdDef4", K::Edit, 0, s("自定义3"), s("自定义4")},
        {"zdDef5", K::Edit, 0, s("自定义3"), s("自定义5")},
    };
    for (const QString &cell : amountCells())
        fields.push_back({cell, K::Cell, 0, {}, {}});
    return fields;
}

} // namespace

const std::vector<BillField> &all()
{
    static const std::vector<BillField> fields = build();
    return fields;
}

const QStringList &amountCells()
{
    static const QStringList cells{"zdYY", "zdQW", "zdBW", "zdSW", "zdWY", "zdQY",
                                   "zdBY", "zdSY", "zdY",  "zdJ",  "zdF"};
    return cells;
}

const BillField *byControl(const QString &control)
{
    return fieldByControl(all(), control);
}

} // namespace DraftFields
