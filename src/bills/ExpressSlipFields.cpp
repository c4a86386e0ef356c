#include "bills/ExpressSlipFields.h"

namespace ExpressSlipFields {

namespace {

using K = BillField::Kind;

std::vector<BillField> build()
{
    auto s = [](const char *text) { return QString::fromUtf8(text); };
    return {
        {"zdHKR", K::ComboBox, 80, {}, s("寄件单位")},
        {"zdHKRLXR", K::Edit, 0, s("寄方联系人"), s("寄件联系人")},
        {"zdHKRS", K::Edit, 0, s("寄方所在省"), s("寄件省")},
        {"zdHKRXS", K::Edit, 0, s("寄方所在县/市"), s("寄件市县")},
        {"edtFJRTown", K::Edit, 0, s("发件人镇/区"), s("寄件镇区")},
        {"zdHkrDZ", K::Memo, 0, s("寄方地址"), s("寄件地址")},
        {"zdhkrDH", K::Edit, 0, s("寄方联系电话"), s("寄件电话")},
        {"hkrHandset", K::Edit, 0, s("寄件方手机"), s("寄方手机")},
        {"edtCountryFrom", K::Edit, 0, s("寄方所在国家"), s("寄件国家")},
        {"zdHKRYB", K::Edit, 0, s("寄方邮编"), s("寄方邮编")},
        {"cbFromSite", K::ComboBox, 0, s("请在字典管理中修改始发站为您所在地区"), s("始发站")},
        {"zdSign",
         K::ComboBox,
         50,
         s("寄件人签名-可在字典管理中修改预选项，设计模式中设置默认值"),
         {}},
        {"zdSKR", K::ComboBox, 80, {}, s("收件单位")},
        {"zdSKRLXR", K::Edit, 0, s("收方联系人"), s("收件联系人")},
        {"zdSKRS", K::Edit, 0, s("收方所在省"), s("收件省")},
        {"zdSKRXS", K::Edit, 0, s("收方所在县/市"), s("收件市县")},
        {"edtSJRTown", K::Edit, 0, s("收件人镇/区"), s("收件镇区")},
        {"zdSkrDZ", K::Memo, 0, s("收件方地址"), s("收件地址")},
        {"zdskrDH", K::Edit, 0, s("收方联系电话"), s("收件电话")},
        {"skrHandset", K::Edit, 0, s("收方手机"), s("收方手机")},
        {"edtCountryDest", K::Edit, 0, s("收方所在国家"), s("收件国家")},
        {"zdSKRYB", K::Edit, 0, s("收方邮编"), s("收方邮编")},
        {"cbDestSite", K::ComboBox, 0, s("目的站"), s("目的站")},
        {"SelDate", K::Date, 0, {}, s("寄件日期")},
        {"zdNian", K::Edit, 0, s("寄出年"), {}},
        {"zdYue", K::Edit, 0, s("寄出月"), {}},
        {"zdRi", K::Edit, 0, s("寄出日"), {}},
        {"zdTime", K::Edit, 0, s("寄出时"), s("寄件时间")},
        {"zdWPNR", K::Memo, 0, s("物品内容(鼠标双击下拉选择)"), s("物品内容")},
        {"zdBz", K::Memo, 0, s("备注说明(鼠标双击下拉选择)"), s("备注")},
        {"edtAmount", K::ComboBox, 0, s("可在设计模式中设置默认值，或者字典管理中设置下拉预选项"),
         s("件数")},
        {"edtWeight", K::Edit, 0, s("重量"), s("重量")},
        {"edtMoney", K::Edit, 0, s("总费用"), s("总费用")},
        {"zdPJBH", K::Edit, 0, s("速递单号"), s("快递单号")},
        {"zdUserCode", K::ComboBox, 50, {}, s("快递帐号")},
        {"zdJEDX1", K::Edit, 0,
         s("金额大写(只需输入小写),如启用大写，请在设计模式里设定其等宽打印参数"), s("金额大写1")},
        {"zdBJJE", K::Edit, 0, s("保价金额"), s("保价金额")},
        {"zdBJFee", K::Edit, 0, s("保价费"), s("保价费")},
        {"zdDaisJE", K::Edit, 30, s("代收金额"), s("代收金额")},
        {"zdShouxuFee", K::Edit, 50, s("手续费"), s("手续费")},
        {"zdYunFee", K::Edit, 50, s("运费"), s("运费")},
        {"zdBaoZFee", K::Edit, 50, s("包装费"), s("包装费")},
        {"zdJiaJiFee", K::Edit, 50, s("加急费"), s("加急费")},
        {"zdQiTaFee", K::Edit, 50, s("其他费"), s("其他费")},
        {"zdTiJi", K::Edit, 50, s("体积"), s("体积")},
        {"zdSongHFee", K::Edit, 50, s("送货费"), s("送货费")},
        {"zdDef1", K::ComboBox, 0, s("自定义1"), s("自定义1")},
        {"zdDef2", K::ComboBox, 0, s("自定义2"), s("自定义2")},
        {"zdDef3", K::Edit, 0, s("自定义3"), s("自定义3")},
        {"zdDef4", K::Edit, 0, s("自定义3"), s("自定义4")},
        {"zdDef5", K::Edit, 0, s("自定义3"), s("自定义5")},
        {"zdJFKHBM", K::Edit, 0, s("寄方客户编号"), {}},
        {"zdSFKHBM", K::Edit, 0, s("收方客户编号"), {}},
        {"zdTxt1", K::Edit, 0, s("固定文字"), {}},
        {"zdTxt2", K::Edit, 0, s("固定文字"), {}},
    };
}

} // namespace

const std::vector<BillField> &all()
{
    static const std::vector<BillField> fields = build();
    return fields;
}

const BillField *byControl(const QString &control)
{
    return fieldByControl(all(), control);
}

} // namespace ExpressSlipFields
