#include "batch/ReceiverSlip.h"

#include "bills/BillValues.h"
#include "bills/ExpressSlipBill.h"
#include "bills/ExpressSlipFields.h"

#include <algorithm>

namespace {

struct Mapping
{
    const char *column;
    const char *field;
};

// Always put in, whatever the list shows. The telephone is handled on its own.
constexpr Mapping kReceiver[] = {
    {"全称", "zdSKR"},   {"联系人", "zdSKRLXR"}, {"国家", "edtCountryDest"},
    {"省", "zdSKRS"},    {"市", "zdSKRXS"},      {"镇区", "edtSJRTown"},
    {"地址", "zdSkrDZ"}, {"邮编", "zdSKRYB"},    {"手机", "skrHandset"},
};

// Put in only while the list shows the column.
constexpr Mapping kShownOnly[] = {
    {"目的站", "cbDestSite"}, {"内件说明", "zdWPNR"},    {"件数", "edtAmount"},
    {"重量", "edtWeight"},    {"费用", "edtMoney"},      {"备注", "zdBz"},
    {"代收金额", "zdDaisJE"}, {"手续费", "zdShouxuFee"}, {"体积", "zdTiJi"},
    {"保价金额", "zdBJJE"},   {"保价费", "zdBJFee"},     {"运费", "zdYunFee"},
    {"送货费", "zdSongHFee"}, {"加急费", "zdJiaJiFee"},  {"其他费", "zdQiTaFee"},
    {"包装费", "zdBaoZFee"},  {"自定义3", "zdDef3"},     {"自定义4", "zdDef4"},
    {"自定义5", "zdDef5"},
};

bool wholeNumber(const QString &text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

QStringList ReceiverSlip::columnNames(const QString &column)
{
    if (column == u"目的站")
        return {column, QStringLiteral("目的地")};
    return {column};
}

ReceiverSlip ReceiverSlip::of(const QHash<QString, QString> &row,
                              const std::function<bool(const QString &)> &shown, bool handsetShown)
{
    ReceiverSlip slip;
    const auto value = [&row](const char *column) {
        for (const QString &name : columnNames(QString::fromUtf8(column)))
            if (row.contains(name))
                return row.value(name);
        return QString();
    };
    const auto add = [&](const Mapping &m, const QString &text) {
        slip.values.append({QString::fromUtf8(m.column), QString::fromLatin1(m.field), text});
    };
    for (const Mapping &m : kReceiver)
        add(m, value(m.column));

    QString phone = value("电话");
    const QString handset = value("手机");
    if (!handsetShown && !handset.isEmpty())
        phone = phone.isEmpty() ? handset : phone + u'/' + handset;
    add({"电话", "zdskrDH"}, phone);

    for (const Mapping &m : kShownOnly)
        if (shown(QString::fromUtf8(m.column)))
            add(m, value(m.column));
    if (shown(QStringLiteral("金额大写1"))) {
        const QString amount = value("金额大写1").trimmed();
        slip.capitalAmount = wholeNumber(amount) ? amount : QString();
    }

    slip.noReceiver = value("全称").trimmed().isEmpty() && value("联系人").trimmed().isEmpty() &&
                      value("地址").trimmed().isEmpty();
    return slip;
}

ReceiverSlip ReceiverSlip::of(const QHash<QString, QString> &row, const QSet<QString> &shownColumns,
                              bool handsetShown)
{
    return of(
        row,
        [&shownColumns](const QString &column) {
            for (const QString &name : columnNames(column))
                if (shownColumns.contains(name))
                    return true;
            return false;
        },
        handsetShown);
}

QString ReceiverSlip::putInto(BillValues &slip, const ExpressSlipOptions &options) const
{
    for (const Value &v : values) {
        // A field that cut the value short would print half an address as if it were whole.
        const BillField *field = ExpressSlipFields::byControl(v.field);
        if (field && !field->holds(v.text))
            return v.column + QStringLiteral("太长，快递单上放不下");
        ExpressSlipBill::put(slip, v.field, v.text, options);
    }
    if (capitalAmount) {
        const ExpressSlipBill::AmountText amount =
            ExpressSlipBill::formatAmount(*capitalAmount, options.amountFormat);
        if (!amount.error.isEmpty())
            return u"金额大写1：" + amount.error;
        slip.set(QStringLiteral("zdJEDX1"), amount.text);
    }
    return {};
}
