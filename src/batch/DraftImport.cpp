#include "batch/DraftImport.h"

#include "data/spreadsheet/SpreadsheetReader.h"

namespace DraftImport {

const QList<Item> &items()
{
    static const QList<Item> table{
        {"票据编号:", "cbCheckNO", "票据编号", {"票据编号", "编号"}},
        {"出票日期:", "cbCheckDate", "出票日期", {"出票日期", "开票日期"}},
        {"汇票到期日:", "cbTimeoutDate", "汇票到期日", {"汇票到期日", "汇票到期日期", "到期日期"}},
        {"币种:", "cbMoneyType", "币种", {"币种", "货币名称", "货币"}},
        {"金额:", "cbAmount", "金额", {"金额", "总金额", "承兑金额"}},
        {"收款人全称:",
         "cbInComp",
         "收款人全称",
         {"收款人全称", "收款单位", "收款公司", "收款单位全称"}},
        {"收款人账号:",
         "cbInBankAcct",
         "收款人账号",
         {"收款人账号", "收款人帐号", "收款账号", "收款帐号"}},
        {"收款人开户行:",
         "cbInBankName",
         "收款人开户行",
         {"收款人开户行", "收款银行", "收款人银行", "收款人开户银行"}},
        {"自定义3:", "cbDef3", "自定义3", {"自定义3", "自定义三"}},
        {"自定义2:", "cbDef2", "自定义2", {"自定义2", "自定义二"}},
        {"自定义1:", "cbDef1", "自定义1", {"自定义1", "自定义一"}},
        {"出票人全称:", "cbOutComp", "出票人全称", {"出票人全称", "出票公司全称", "出票公司"}},
        {"付款行行号:", "cbOutBankNO", "付款行行号", {"出票银行行号", "付款行行号"}},
        {"付款行全称:",
         "cbOutBankName",
         "付款行名称",
         {"付款行全称", "付款行名称", "付款银行", "出票人银行"}},
        {"付款行地址:",
         "cbOutBankAddr",
         "付款行地址",
         {"付款行地址", "出票人银行地址", "OutBankAddr"}},
        {"出票人账号:",
         "cbOutBankAcct",
         "出票人账号",
         {"出票人账号", "出票人帐号", "出票账号", "付款账号"}},
        {"承兑协议号:", "cbCDXYNO", "承兑协议号", {"承兑协议编号", "承兑协议号"}},
        {"分组:", "cbGroups", "批打分组", {"分组", "批打分组"}},
    };
    return table;
}

QStringList titleEntries(const SpreadsheetReader &sheet)
{
    QStringList entries;
    for (int c = 1; c <= sheet.usedColumns(); ++c) {
        const QString title = sheet.cellText(1, c).trimmed();
        if (title.isEmpty())
            break; // what follows a gap is not offered
        entries << QStringLiteral("列%1:%2").arg(c).arg(title);
    }
    return entries;
}

int entryColumn(const QString &entry)
{
    if (!entry.startsWith(u'列'))
        return -1;
    bool ok = false;
    const int column = entry.mid(1, entry.indexOf(u':') - 1).toInt(&ok);
    return ok ? column : -1;
}

int matchTitle(const QString &title)
{
    QString t = title.toLower().trimmed();
    t.replace(QStringLiteral("  "), QStringLiteral(" "));
    for (int i = 0; i < items().size(); ++i)
        for (const QString &candidate : items()[i].titles)
            if (candidate.compare(t, Qt::CaseInsensitive) == 0)
                return i;
    return -1;
}

QList<int> autoMatch(const QStringList &entries)
{
    QList<int> columns(items().size(), -1);
    for (const QString &entry : entries) {
        const int item = matchTitle(entry.section(u':', 1));
        if (item >= 0)
            columns[item] = entryColumn(entry); // the right-hand one of two wins
    }
    return columns;
}

} // namespace DraftImport
