#include "batch/DraftRowBill.h"

#include "batch/DraftBatchList.h"
#include "bills/BillDate.h"
#include "bills/BillValues.h"
#include "bills/DraftBill.h"
#include "bills/DraftFields.h"
#include "bills/DraftRules.h"
#include "parties/Dictionaries.h"

QString putDraftRow(BillValues &draft, const QHash<QString, QString> &row, DraftOptions options,
                    const QDate &formDate, const Dictionaries &dictionaries)
{
    const QString label =
        QStringLiteral("第 %1 条（%2）")
            .arg(row.value(QStringLiteral("ID")), row.value(QStringLiteral("收款人全称")));
    const QString amount = row.value(QStringLiteral("金额")).trimmed();
    const QString amountWrong =
        amount.isEmpty() ? QStringLiteral("金额为空") : DraftBatchList::amountProblem(amount);
    if (!amountWrong.isEmpty())
        return label + u'：' + amountWrong;
    const QString issue = row.value(QStringLiteral("出票日期")).trimmed();
    // Not the previous row's date: a draft without one gets the date the clerk set.
    const QDate issueDate = issue.isEmpty() ? formDate : DraftBatchList::readIssueDate(issue);
    if (!issue.isEmpty() && !issueDate.isValid())
        return label + u"：出票日期无法识别：" + issue;
    const QString due = row.value(QStringLiteral("汇票到期日")).trimmed();
    const DraftRules::DueDate dueDate = DraftRules::readDueDate(due, issueDate);
    if (dueDate.status == DraftRules::DueDate::Status::Unreadable)
        return label + u"：汇票到期日无法识别：" + due;
    // Nor the previous row's currency: a draft without one is in the form's.
    const QString money = row.value(QStringLiteral("币种")).trimmed();
    if (!money.isEmpty()) {
        if (!dictionaries.loadMoneyTypeList().contains(money))
            return label + u"：没有这个币种：" + money;
        options.moneyName = money;
        options.moneyCode = dictionaries.getMoneyCodeByName(money);
    }
    const DraftRules::AmountEntry entry = DraftRules::readAmount(amount);
    if (entry.status != DraftRules::AmountEntry::Status::Valid)
        return label + u"：金额无法转换：" + amount;

    const std::pair<const char *, const char *> parties[]{
        {"收款人全称", "zdInComp"},      {"收款人账号", "zdInBankAcct"},
        {"收款人开户行", "zdInBank"},    {"出票人全称", "zdOutComp"},
        {"出票人账号", "zdOutBankAcct"}, {"付款行名称", "zdOutBank"},
        {"付款行地址", "zdOutBankAddr"}, {"付款行行号", "zdOutBankNO"},
        {"承兑协议号", "zdCDXYBH"},      {"备注", "zdRemark"}};
    for (const auto &[column, control] : parties) {
        const QString text = row.value(QString::fromUtf8(column));
        // A field that cut the value short would print half a name as if it were whole.
        const BillField *field = DraftFields::byControl(QString::fromLatin1(control));
        if (field && !field->holds(text))
            return label + u'：' + QString::fromUtf8(column) + u"太长，汇票上放不下";
        draft.set(QString::fromLatin1(control), text);
    }
    draft.set(QStringLiteral("zdTimeOutDate"),
              dueDate.status == DraftRules::DueDate::Status::Converted
                  ? dueDate.text
                  : row.value(QStringLiteral("汇票到期日")));
    setBillDate(draft, issueDate, options.capitalDates);
    if (DraftBill::setAmount(draft, entry.amount, options) > 0)
        return label + u"：金额溢出：" + amount;
    return {};
}
