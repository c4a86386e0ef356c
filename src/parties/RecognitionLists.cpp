#include "parties/RecognitionLists.h"

#include "data/BoundQuery.h"
#include "data/Database.h"

RecognitionLists::RecognitionLists(Database &db)
    : m_db(db)
{}

std::vector<TextReplacement> RecognitionLists::otherCharReplacements() const
{
    std::vector<TextReplacement> list;
    QSqlQuery q = m_db.query();
    if (!execBound(q, QStringLiteral("SELECT 一级代码, 二级代码 FROM DMTable2 WHERE 类型 = ?"),
                   {kReplacementType}))
        return {};
    while (q.next())
        list.emplace_back(q.value(0).toString(), q.value(1).toString());
    return list;
}

QStringList RecognitionLists::remarkValues(Source source) const
{
    QString sql;
    switch (source) {
    case Source::Dictionary:
        sql = QStringLiteral("SELECT DISTINCT DMValue FROM DMTable WHERE DMName IN ('附注内容', "
                             "'备注', '物品内容')");
        break;
    case Source::HistoryGoods:
        sql = QStringLiteral("SELECT DISTINCT 物品内容 FROM DataKDDTable");
        break;
    case Source::HistoryRemarks:
        sql = QStringLiteral("SELECT DISTINCT 备注 FROM DataKDDTable");
        break;
    }
    QSqlQuery q = m_db.query();
    QStringList values;
    if (!execBound(q, sql + QStringLiteral(" LIMIT ?"), {kMaxListed}))
        return values;
    while (q.next())
        if (const QString v = q.value(0).toString(); !v.trimmed().isEmpty())
            values << v;
    return values;
}

RecognitionLists::Saved RecognitionLists::saveRemark(const QString &remark)
{
    QSqlQuery q = m_db.query();
    if (!execBound(q,
                   QStringLiteral("SELECT 1 FROM DMTable WHERE CheckTypeID = 0 AND DMName IN "
                                  "('附注内容', '备注', '物品内容') AND DMValue = ?"),
                   {remark}))
        return Saved::Failed;
    if (q.next())
        return Saved::Exists;
    QSqlQuery insert = m_db.query();
    if (!execBound(insert,
                   QStringLiteral("INSERT INTO DMTable (CheckTypeID, DMName, DMValue) "
                                  "VALUES (0, '附注内容', ?)"),
                   {remark}) ||
        insert.numRowsAffected() != 1)
        return Saved::Failed;
    return Saved::Added;
}
