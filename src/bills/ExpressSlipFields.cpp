#include "bills/ExpressSlipFields.h"

namespace ExpressSlipFields {

namespace {

using K = ExpressSlipField::Kind;

std::vector<ExpressSlipField> build()
{
    auto s = [](const char *text) { return QString::fromUtf8(text); };
    return {
        {"zdHKR", K::ComboBox, 80, {}, s("寄件单位"), false},
        {"zdHKRLXR", K::Edit, 0, s("寄方联系人"), s("寄件联系人"), false},
        {"zdHKRS", K::Edit, 0, s("寄方所在省"), s("寄件省"), false},
        {"zdHKRXS", K::Edit, 0, s("寄方所在县/市"), s("寄件市县"), false},
        {"edtFJRTown", K::Edit, 0, s("发件人镇/区"), s("寄件镇区"), false},
        {"zdHkrDZ", K::Memo, 0, s("寄方地址"), s("寄件地址"), false},
        {"zdhkrDH", K::Edit, 0, s("寄方联系电话"), s("寄件电话"), false},
        {"hkrHandset", K::Edit, 0, s("寄件方手机"), s("寄方手机"), false},
        {"edtCountryFrom", K::Edit, 0, s("寄方所在国家"), s("寄件国家"), true},
        {"zdHKRYB", K::Edit, 0, s("寄方邮编"), s("寄方邮编"), false},
        {"cbFromSite", K::ComboBox, 0, s("请在字典管理中修改始发站为您所在地区"), s("始发站"),
         true},
        {"zdSign",
         K::ComboBox,
         50,
         s("寄件人签名-可在字典管理中修改预选项，设计模式中设置默认值"),
         {},
         false},
        {"zdSKR", K::ComboBox, 80, {}, s("收件单位"), false},
        {"zdSKRLXR", K::Edit, 0, s("收方联系人"), s("收件联系人"), false},
        {"zdSKRS", K::Edit, 0, s("收方所在省"), s("收件省"), false},
        {"zdSKRXS", K::Edit, 0, s("收方所在县/市"), s("收件市县"), false},
        {"edtSJRTown", K::Edit, 0, s("收件人镇/区"), s("收件镇区"), false},
        {"zdSkrDZ", K::Memo, 0, s("收件方地址"), s("收件地址"), false},
        {"zdskrDH", K::Edit, 0, s("收方联系电话"), s("收件电话"), false},
        {"skrHandset", K::Edit, 0, s("收方手机"), s("收方手机"), false},
        {"edtCountryDest", K::Edit, 0, s("收方所在国家"), s("收件国家"), true},
        {"zdSKRYB", K::Edit, 0, s("收方邮编"), s("收方邮编"), false},
        {"cbDestSite", K::ComboBox, 0, s("目的站"), s("目的站"), true},
        {"SelDate", K::Date, 0, {}, s("寄件日期"), false},
        {"zdNian", K::Edit, 0, s("寄出年"), {}, false},
        {"zdYue", K::Edit, 0, s("寄出月"), {}, false},
        {"zdRi", K::Edit, 0, s("寄出日"), {}, false},
        {"zdTime", K::Edit, 0, s("寄出时"), s("寄件时间"), false},
        {"zdWPNR", K::Memo, 0, s("物品内容(鼠标双击下拉选择)"), s("物品内容"), false},
        {"zdBz", K::Memo, 0, s("备注说明(鼠标双击下拉选择)"), s("备注"), false},
        {"edtAmount", K::ComboBox, 0, s("可在设计模式中设置默认值，或者字典管理中设置下拉预选项"),
         s("件数"), false},
        {"edtWeight", K::Edit, 0, s("重量"), s("重量"), false},
        {"edtMoney", K::Edit, 0, s("总费用"), s("总费用"), false},
        {"zdPJBH", K::Edit, 0, s("速递单号"), s("快递单号"), false},
        {"zdUserCode", K::ComboBox, 50, {}, s("快递帐号"), false},
        {"zdJEDX1", K::Edit, 0,
         s("金额大写(只需输入小写),如启用大写，请在设计模式里设定其等宽打印参数"), s("金额大写1"),
         false},
        {"zdBJJE", K::Edit, 0, s("保价金额"), s("保价金额"), false},
        {"zdBJFee", K::Edit, 0, s("保价费"), s("保价费"), false},
        {"zdDaisJE", K::Edit, 30, s("代收金额"), s("代收金额"), false},
        {"zdShouxuFee", K::Edit, 50, s("手续费"), s("手续费"), false},
        {"zdYunFee", K::Edit, 50, s("运费"), s("运费"), false},
        {"zdBaoZFee", K::Edit, 50, s("包装费"), s("包装费"), true},
        {"zdJiaJiFee", K::Edit, 50, s("加急费"), s("加急费"), false},
        {"zdQiTaFee", K::Edit, 50, s("其他费"), s("其他费"), false},
        {"zdTiJi", K::Edit, 50, s("体积"), s("体积"), true},
        {"zdSongHFee", K::Edit, 50, s("送货费"), s("送货费"), false},
        {"zdDef1", K::ComboBox, 0, s("自定义1"), s("自定义1"), false},
        {"zdDef2", K::ComboBox, 0, s("自定义2"), s("自定义2"), false},
        {"zdDef3", K::Edit, 0, s("自定义3"), s("自定义3"), false},
        {"zdDef4", K::Edit, 0, s("自定义3"), s("自定义4"), false},
        {"zdDef5", K::Edit, 0, s("自定义3"), s("自定义5"), false},
        {"zdJFKHBM", K::Edit, 0, s("寄方客户编号"), {}, false},
        {"zdSFKHBM", K::Edit, 0, s("收方客户编号"), {}, false},
        {"zdTxt1", K::Edit, 0, s("固定文字"), {}, false},
        {"zdTxt2", K::Edit, 0, s("固定文字"), {}, false},
    };
}

} // namespace

const std::vector<ExpressSlipField> &all()
{
    static const std::vector<ExpressSlipField> fields = build();
    return fields;
}

const ExpressSlipField *byControl(const QString &control)
{
    for (const ExpressSlipField &f : all())
        if (f.control.compare(control, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

} // namespace ExpressSlipFields
