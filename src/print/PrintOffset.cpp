#include "print/PrintOffset.h"

#include "data/BoundQuery.h"
#include "data/Database.h"

#include <QSqlError>
#include <QSqlRecord>

namespace {

// A column's number, or the fallback when the row leaves it empty.
int numberOr(const QSqlQuery &q, const char *column, int fallback)
{
    const QVariant v = q.value(QString::fromLatin1(column));
    bool ok = false;
    const int n = v.toInt(&ok);
    return v.isNull() || !ok ? fallback : n;
}

} // namespace

PrintOffset::PrintOffset(Database &db)
    : m_db(db)
{}

QList<PrintOffset::Entry> PrintOffset::enabledTemplates() const
{
    QSqlQuery q = m_db.query();
    QList<Entry> entries;
    if (!execBound(q,
                   QStringLiteral("select distinct TypeName, CheckTypeID from CKTypeTable "
                                  "where visiable = ? order by TypeName, CheckTypeID"),
                   {QStringLiteral("启用")}))
        return entries;
    while (q.next()) {
        const QString name = q.value(0).toString().trimmed();
        if (!name.isEmpty())
            entries.push_back({name, q.value(1).toInt()});
    }
    return entries;
}

std::optional<OffsetTemplate> PrintOffset::loadByName(const QString &typeName) const
{
    QSqlQuery q = m_db.query();
    if (!execBound(q, QStringLiteral("select * from CKTypeTable where TypeName = ?"),
                   {typeName.trimmed()}) ||
        !q.next())
        return std::nullopt;
    const OffsetSettings defaults;
    OffsetTemplate t;
    t.checkTypeId = q.value(QStringLiteral("CheckTypeID")).toInt();
    t.typeName = q.value(QStringLiteral("TypeName")).toString();
    OffsetSettings &s = t.settings;
    s.xMove = numberOr(q, "XMove", 0);
    s.yMove = numberOr(q, "YMove", 0);
    s.tHeight = numberOr(q, "THeight", defaults.tHeight);
    s.tWidth = numberOr(q, "TWidth", defaults.tWidth);
    s.pHeight = numberOr(q, "PHeight", defaults.pHeight);
    s.pWidth = numberOr(q, "PWidth", defaults.pWidth);
    const QString feed = q.value(QStringLiteral("HVPrint")).toString().trimmed();
    s.landscape = !feed.isEmpty() && feed != u"0";
    return t;
}

PrintOffset::SaveResult PrintOffset::save(int checkTypeId, const OffsetSettings &s,
                                          QString *error) const
{
    QSqlQuery q = m_db.query();
    if (!execBound(q,
                   QStringLiteral("update CKTypeTable set XMove = ?, YMove = ?, THeight = ?, "
                                  "TWidth = ?, PWidth = ?, PHeight = ?, HVPrint = ? "
                                  "where CheckTypeID = ?"),
                   {s.xMove, s.yMove, s.tHeight, s.tWidth, s.pWidth, s.pHeight,
                    s.landscape ? QStringLiteral("1") : QStringLiteral("0"), checkTypeId})) {
        *error = q.lastError().text();
        return SaveResult::Failed;
    }
    return q.numRowsAffected() > 0 ? SaveResult::Changed : SaveResult::Unchanged;
}
