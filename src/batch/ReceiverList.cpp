#include "batch/ReceiverList.h"

#include "data/BoundQuery.h"
#include "data/Database.h"
#include "data/Schema.h"
#include "data/TPersonKDD.h"

#include <QDateTime>
#include <QSqlError>

namespace {

const QString kTable = QStringLiteral("ReceiverList");

bool isColumn(const QString &name)
{
    const SchemaTable *table = Schema::table(kTable);
    if (!table)
        return false;
    for (const SchemaColumn &c : table->columns) {
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString quoted(const QString &column)
{
    return u'"' + column + u'"';
}

QString now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Columns sent to the form only while the grid shows them.
const QPair<const char16_t *, const char16_t *> kShownOnly[] = {
    {u"目的站", u"cbDestSite"}, {u"内件说明", u"zdWPNR"},    {u"件数", u"edtAmount"},
    {u"重量", u"edtWeight"},    {u"费用", u"edtMoney"},      {u"备注", u"zdBz"},
    {u"代收金额", u"zdDaisJE"}, {u"手续费", u"zdShouxuFee"}, {u"体积", u"zdTiJi"},
    {u"保价金额", u"zdBJJE"},   {u"保价费", u"zdBJFee"},     {u"运费", u"zdYunFee"},
    {u"送货费", u"zdSongHFee"}, {u"加急费", u"zdJiaJiFee"},  {u"其他费", u"zdQiTaFee"},
    {u"包装费", u"zdBaoZFee"},  {u"自定义3", u"zdDef3"},     {u"自定义4", u"zdDef4"},
    {u"自定义5", u"zdDef5"},
};

} // namespace

ReceiverList::ReceiverList(Database &db)
    : m_db(db)
{}

std::optional<BoundStatement> ReceiverList::listStatement(const ReceiverFilter &filter,
                                                          QString *error)
{
    BoundStatement s;
    s.sql = QStringLiteral(
        "SELECT r.*, (SELECT CAST(p.RunID AS TEXT) || '-' || CAST(p.Slip AS TEXT) FROM "
        "ReceiverPrinted p WHERE p.ReceiverID = r.ID ORDER BY p.ID DESC LIMIT 1) AS 最近打印 "
        "FROM ReceiverList r WHERE ");
    const QString group = filter.group.trimmed();
    if (group == kAllLists) {
        s.sql += QStringLiteral("1 = 1");
    } else if (group.isEmpty()) {
        s.sql += QStringLiteral("TRIM(COALESCE(r.批打分组, '')) = ''");
    } else {
        s.sql += QStringLiteral("r.批打分组 = ?");
        s.values << group;
    }
    const QString key = filter.key.trimmed();
    if (!key.isEmpty()) {
        QStringList conditions;
        for (const QString &column : filter.keyColumns.split(u'|', Qt::SkipEmptyParts)) {
            if (!isColumn(column)) {
                *error = u"没有这一列：" + column;
                return std::nullopt;
            }
            if (filter.equals) {
                conditions << u"r." + quoted(column) + u" = ?";
                s.values << key;
            } else {
                conditions << u"r." + quoted(column) + u" LIKE ? ESCAPE '\\'";
                s.values << QString(u'%' + likeLiteral(key) + u'%');
            }
        }
        if (!conditions.isEmpty())
            s.sql += u" AND (" + conditions.join(QStringLiteral(" OR ")) + u')';
    }
    const QString order = filter.orderColumn.trimmed().isEmpty() ? QStringLiteral("ID")
                                                                 : filter.orderColumn.trimmed();
    if (!isColumn(order)) {
        *error = u"没有这一列：" + order;
        return std::nullopt;
    }
    s.sql += u" ORDER BY r." + quoted(order) + (filter.descending ? u" DESC" : u" ASC");
    return s;
}

bool ReceiverList::addReceiverAndGoods(const TPersonKDD &p)
{
    if (p.Contactor.isEmpty() && p.FullName.isEmpty() && p.Address.isEmpty())
        return false;
    QSqlQuery q = m_db.query();
    return execBound(
        q,
        QStringLiteral("INSERT INTO ReceiverList (全称, 省, 市, 地址, 镇区, 电话, 联系人, "
                       "邮编, 手机, 国家, 内件说明, 备注, 目的站, 批打分组) VALUES "
                       "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '')"),
        {p.FullName, p.Province, p.City, p.Address, p.Town, p.Phone, p.Contactor, p.Zipcode,
         p.Handset, p.Country, p.GoodsDesc, p.Remark, p.DestSite});
}

bool ReceiverList::clearAll(QString *error)
{
    const bool ok = m_db.inTransaction([&] {
        QSqlQuery q = m_db.query();
        return q.exec(QStringLiteral("DELETE FROM ReceiverList")) && m_db.restartNumbering(kTable);
    });
    if (!ok)
        *error = m_db.connection().lastError().text();
    return ok;
}

int ReceiverList::applyColumnFill(const QString &target, const QStringList &operands,
                                  QString *error)
{
    const QString column = QString(target).remove(u'@').trimmed();
    if (!isColumn(column) || column.compare(u"ID", Qt::CaseInsensitive) == 0) {
        *error = u"没有这一列：" + column;
        return -1;
    }
    QStringList parts;
    QVariantList values;
    for (const QString &operand : operands) {
        const QString text = operand.trimmed();
        if (text.isEmpty())
            continue;
        if (text.contains(u'@')) {
            const QString source = QString(text).remove(u'@').trimmed();
            if (!isColumn(source)) {
                *error = u"没有这一列：" + source;
                return -1;
            }
            // An empty column adds nothing, rather than blanking the whole value.
            parts << u"COALESCE(" + quoted(source) + u", '')";
        } else {
            parts << QStringLiteral("?");
            values << text;
        }
    }
    const QString expression = parts.isEmpty() ? QStringLiteral("''") : parts.join(u" || ");
    QSqlQuery q = m_db.query();
    if (!execBound(q, u"UPDATE ReceiverList SET " + quoted(column) + u" = " + expression, values)) {
        *error = q.lastError().text();
        return -1;
    }
    return q.numRowsAffected();
}

QList<QPair<QString, QString>> ReceiverList::slipValues(const QHash<QString, QString> &row,
                                                        const QStringList &visibleColumns,
                                                        bool mobileBoxShown)
{
    QList<QPair<QString, QString>> values{
        {QStringLiteral("zdSKR"), row.value(QStringLiteral("全称"))},
        {QStringLiteral("zdSKRLXR"), row.value(QStringLiteral("联系人"))},
        {QStringLiteral("edtCountryDest"), row.value(QStringLiteral("国家"))},
        {QStringLiteral("zdSKRS"), row.value(QStringLiteral("省"))},
        {QStringLiteral("zdSKRXS"), row.value(QStringLiteral("市"))},
        {QStringLiteral("edtSJRTown"), row.value(QStringLiteral("镇区"))},
        {QStringLiteral("zdSkrDZ"), row.value(QStringLiteral("地址"))},
        {QStringLiteral("zdSKRYB"), row.value(QStringLiteral("邮编"))},
        {QStringLiteral("skrHandset"), row.value(QStringLiteral("手机"))},
    };
    QString phone = row.value(QStringLiteral("电话"));
    const QString mobile = row.value(QStringLiteral("手机"));
    if (!mobileBoxShown && !mobile.isEmpty())
        phone = phone.isEmpty() ? mobile : phone + u'/' + mobile;
    values.append({QStringLiteral("zdskrDH"), phone});

    // Only what the grid shows, after its first column.
    const auto shown = [&](const QString &column) { return visibleColumns.indexOf(column) > 0; };
    for (const auto &[column, control] : kShownOnly) {
        const QString name = QString::fromUtf16(column);
        if (shown(name))
            values.append({QString::fromUtf16(control), row.value(name)});
        else if (name == u"目的站" && shown(QStringLiteral("目的地")))
            values.append({QString::fromUtf16(control), row.value(QStringLiteral("目的地"))});
    }
    if (shown(QStringLiteral("金额大写1"))) {
        // Only a whole number of digits is an amount the form can spell out.
        const QString amount = row.value(QStringLiteral("金额大写1")).trimmed();
        const bool digits =
            !amount.isEmpty() && std::all_of(amount.begin(), amount.end(),
                                             [](QChar c) { return c >= u'0' && c <= u'9'; });
        values.append({QStringLiteral("zdJEDX1"), digits ? amount : QString()});
    }
    return values;
}

int ReceiverList::startPrintRun(int planned)
{
    QSqlQuery q = m_db.query();
    if (!execBound(
            q,
            QStringLiteral("INSERT INTO ReceiverPrintRun (StartedAt, Planned, Sent, Outcome) "
                           "VALUES (?, ?, 0, '')"),
            {now(), planned}))
        return -1;
    return q.lastInsertId().toInt();
}

bool ReceiverList::recordPrinted(int run, int receiverId, int slip)
{
    QSqlQuery q = m_db.query();
    return execBound(
        q,
        QStringLiteral("INSERT INTO ReceiverPrinted (RunID, ReceiverID, Slip, PrintedAt) "
                       "VALUES (?, ?, ?, ?)"),
        {run, receiverId, slip, now()});
}

bool ReceiverList::finishPrintRun(int run, int sent, const QString &outcome)
{
    QSqlQuery q = m_db.query();
    return execBound(
        q, QStringLiteral("UPDATE ReceiverPrintRun SET Sent = ?, Outcome = ? WHERE RunID = ?"),
        {sent, outcome, run});
}

QList<int> ReceiverList::rowsOfRun(int run, int fromSlip) const
{
    QList<int> ids;
    QSqlQuery q = m_db.query();
    if (execBound(
            q,
            QStringLiteral("SELECT ReceiverID FROM ReceiverPrinted WHERE RunID = ? AND Slip >= ? "
                           "ORDER BY Slip"),
            {run, fromSlip})) {
        while (q.next())
            ids << q.value(0).toInt();
    }
    return ids;
}
