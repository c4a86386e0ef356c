#include "bills/BillFormTexts.h"

const BillFormTexts &BillFormTexts::expressSlip()
{
    static const BillFormTexts texts{
        QStringLiteral("快递单"),
        QStringLiteral("fmCheckKDD"),
        QStringLiteral("DataKDDTable"),
        QStringLiteral("其他快递"),
        QStringLiteral("快递单类型-您可以在系统管理-快递单筛选中修改默快递单"),
        QStringLiteral("mKDDSearch"),
        PartyBlock::SlipSender,
        PartyBlock::SlipReceiver,
        QStringLiteral("点击选取寄件人"),
        QStringLiteral("点击选取收件人"),
        QStringLiteral("选择发件人资料"),
        QStringLiteral("选择收件人资料"),
        QStringLiteral("历史单据不能保存，请点击【复制】后,再保存为新单据！"),
        QStringLiteral("历史快递单查看（流水号为："),
        QStringLiteral("关闭快递单"),
        {"zdSKR", "zdSKRS", "zdSKRXS", "zdskrDH", "zdSKRLXR", "zdSKRYB", "zdPJBH", "zdSkrDZ",
         "skrHandset", "edtSJRTown", "edtCountryDest", "cbDestSite", "edtWeight", "edtMoney",
         "edtAmount", "zdWPNR", "zdBz"},
        {"zdSKR", "zdSKRLXR"},
        13,
    };
    return texts;
}

const BillFormTexts &BillFormTexts::acceptanceDraft()
{
    static const BillFormTexts texts{
        QStringLiteral("承兑汇票"),
        QStringLiteral("fmCheckCDHP"),
        QStringLiteral("DataCDHPTable"),
        QStringLiteral("其他汇票"),
        QStringLiteral("承兑汇票类型-您可以在系统管理-票据模板管理中修改默认模板"),
        QStringLiteral("mCDHPSearch"),
        PartyBlock::DraftDrawer,
        PartyBlock::DraftPayee,
        QStringLiteral("点击选取出票账户"),
        QStringLiteral("点击选取收款单位"),
        QStringLiteral("选取付款人"),
        QStringLiteral("选取收款人"),
        QStringLiteral("历史单据不能保存，请点击[克隆]后,再保存为新单据！"),
        QStringLiteral("历史票据查看（流水号为："),
        QStringLiteral("关闭票据"),
        {"zdInComp", "zdRemark"},
        // The payee's prompt counts as text: a draft with an amount is never closed unasked,
        // with or without a payee.
        {"zdJEDX"},
        6,
    };
    return texts;
}

const BillFormTexts &BillFormTexts::of(BillKind kind)
{
    return kind == BillKind::AcceptanceDraft ? acceptanceDraft() : expressSlip();
}
