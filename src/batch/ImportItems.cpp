#include "batch/ImportItems.h"

namespace {

struct Common
{
    const char16_t *item, *box, *label, *bookColumn, *listColumn;
};

// Items 1-13 of both scenarios; the bank items are matched in both but stored only in the
// address book.
const Common kCommon[] = {
    {u"单位全称", u"cbName", u"*单位全称->", u"全称", u"全称"},
    {u"联系人", u"cbContactor", u"*联系人->", u"联系人", u"联系人"},
    {u"电话", u"cbPhone", u"*联系电话->", u"电话", u"电话"},
    {u"手机", u"cbHandset", u"手机->", u"手机", u"手机"},
    {u"省", u"cbProvince", u"省->", u"省", u"省"},
    {u"市", u"cbCity", u"市/县->", u"市", u"市"},
    {u"镇区", u"cbTown", u"镇/区->", u"镇区", u"镇区"},
    {u"地址", u"cbAddress", u"*详细地址->", u"地址", u"地址"},
    {u"邮编", u"cbZipCode", u"邮政编码->", u"邮编", u"邮编"},
    {u"国家", u"cbCountry", u"国家->", u"国家", u"国家"},
    {u"开户银行", u"cbBank", u"开户银行->", u"开户银行", u""},
    {u"银行账号", u"cbBankAccount", u"银行账号->", u"开户行账号", u""},
    {u"备注", u"cbRemark", u"备注->", u"扩展信息", u"备注"},
};

struct Own
{
    const char16_t *item, *box, *label, *column;
};

const Own kAddressBook[] = {
    {u"批打分组", u"cbGroup", u"地址薄分组->", u"分组"},
    {u"单位类型", u"cbACCType", u"单位类型->", u"单位类型"},
    {u"助记码", u"cbInputCode", u"输入助记码->", u"助记码"},
};

// The last two have no box: the automatic matching finds them for the remark options.
const Own kBatchList[] = {
    {u"批打分组", u"cbListName", u"批打分组->", u"批打分组"},
    {u"物品内容", u"cbWPNR", u"物品内容->", u"内件说明"},
    {u"目的站", u"cbDestSite", u"目的站->", u"目的站"},
    {u"件数", u"cbAmount", u"件数->", u"件数"},
    {u"重量", u"cbWeight", u"重量->", u"重量"},
    {u"费用", u"cbMoney", u"总费用->", u"费用"},
    {u"保价费", u"cbBaoJiaFee", u"保价费->", u"保价费"},
    {u"保价金额", u"cbBaoJiaJE", u"保价金额->", u"保价金额"},
    {u"加急费", u"cbJiaJiFee", u"加急费->", u"加急费"},
    {u"运费", u"cbYunFee", u"运费->", u"运费"},
    {u"送货费", u"cbSongHFee", u"送货费->", u"送货费"},
    {u"体积", u"cbTiJi", u"体积->", u"体积"},
    {u"包装费", u"cbBaoZFee", u"包装费->", u"包装费"},
    {u"代收金额", u"cbDaisJE", u"代收金额->", u"代收金额"},
    {u"手续费", u"cbShouxFee", u"手续费->", u"手续费"},
    {u"其他费", u"cbQiTaFee", u"其他费->", u"其他费"},
    {u"自定义3", u"cbDef3", u"自定义3->", u"自定义3"},
    {u"自定义4", u"cbDef4", u"自定义4->", u"自定义4"},
    {u"自定义5", u"cbDef5", u"自定义5->", u"自定义5"},
    {u"金额大写1", u"cbJEDX1", u"金额大写1->", u"金额大写1"},
    {u"订单号", u"", u"", u""},
    {u"会员ID", u"", u"", u""},
};

QString text(const char16_t *s)
{
    return QString::fromUtf16(s);
}

std::vector<ImportItem> build(ImportScenario scenario)
{
    std::vector<ImportItem> items;
    const bool book = scenario == ImportScenario::AddressBook;
    for (const Common &c : kCommon)
        items.push_back(
            {text(c.item), text(c.box), text(c.label), text(book ? c.bookColumn : c.listColumn)});
    auto addOwn = [&items](const auto &own) {
        for (const Own &o : own)
            items.push_back({text(o.item), text(o.box), text(o.label), text(o.column)});
    };
    if (book)
        addOwn(kAddressBook);
    else
        addOwn(kBatchList);
    return items;
}

} // namespace

namespace ImportItems {

const std::vector<ImportItem> &of(ImportScenario scenario)
{
    static const std::vector<ImportItem> book = build(ImportScenario::AddressBook);
    static const std::vector<ImportItem> list = build(ImportScenario::BatchList);
    return scenario == ImportScenario::AddressBook ? book : list;
}

QString table(ImportScenario scenario)
{
    return scenario == ImportScenario::AddressBook ? QStringLiteral("CKPersonalInfoTable")
                                                   : QStringLiteral("ReceiverList");
}

} // namespace ImportItems
