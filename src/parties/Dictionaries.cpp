#include "parties/Dictionaries.h"

#include "data/BoundQuery.h"
#include "data/Database.h"

#include <QCollator>
#include <QLocale>
#include <QSqlError>
#include <algorithm>

namespace {

// Distinct texts of the first column; empty on failure.
QStringList column(const Database &db, const QString &sql, const QVariantList &values = {})
{
    QStringList list;
    QSqlQuery q = db.query();
    if (!execBound(q, sql, values))
        return list;
    while (q.next())
        list << q.value(0).toString();
    return list;
}

// Place names in the order a Chinese reader looks them up (by pinyin), as the old database
// sorted them; SQLite alone would order them by code point.
QStringList inPinyinOrder(QStringList names)
{
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    std::sort(names.begin(), names.end(), collator);
    return names;
}

QString firstText(const Database &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q = db.query();
    return execBound(q, sql, values) && q.next() ? q.value(0).toString() : QString();
}

// A change that must touch at least one row to count.
bool changesRows(const Database &db, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery q = db.query();
    return execBound(q, sql, values) && q.numRowsAffected() > 0;
}

} // namespace

Dictionaries::Dictionaries(Database &db)
    : m_db(db)
{}

// ---- regions and currencies for every window ------------------------------------------------

QStringList Dictionaries::loadProvinces() const
{
    return inPinyinOrder(
        column(m_db, QStringLiteral("SELECT DISTINCT 一级代码 FROM DMTable2 WHERE 类型 = ?"),
               {kRegionType}));
}

QStringList Dictionaries::loadCitysByProvince(const QString &province) const
{
    const QString p = province.trimmed();
    if (p.isEmpty())
        return {};
    return inPinyinOrder(column(
        m_db,
        QStringLiteral("SELECT DISTINCT 二级代码 FROM DMTable2 WHERE 一级代码 = ? AND 类型 = ?"),
        {p, kRegionType}));
}

QStringList Dictionaries::loadMoneyTypeList() const
{
    return column(m_db, u"SELECT 币种 FROM coins GROUP BY 币种 ORDER BY MIN(" +
                            Database::storedOrder(m_db.backend()) + u')');
}

QString Dictionaries::getMoneyCodeByName(const QString &name) const
{
    return firstText(m_db, QStringLiteral("SELECT 缩写 FROM coins WHERE 币种 = ?"), {name});
}

QString Dictionaries::getMoneyNameByCode(const QString &code) const
{
    return firstText(m_db, QStringLiteral("SELECT 币种 FROM coins WHERE 缩写 = ?"), {code});
}

// ---- named dictionaries ---------------------------------------------------------------------

const QStringList &Dictionaries::offeredDictionaryNames()
{
    static const QStringList names{
        QStringLiteral("计量单位"), QStringLiteral("收费内容"), QStringLiteral("开票人"),
        QStringLiteral("收款人"),   QStringLiteral("始发站"),   QStringLiteral("发件人签名"),
        QStringLiteral("国家"),     QStringLiteral("备注"),     QStringLiteral("物品内容"),
        QStringLiteral("自定义1"),  QStringLiteral("自定义2"),
    };
    return names;
}

QStringList Dictionaries::dictionaryNames(int checkTypeId) const
{
    const QString sql = QStringLiteral("SELECT DISTINCT DMName FROM DMTable WHERE DMName NOT LIKE "
                                       "'cfg%' AND CheckTypeID = ? ORDER BY DMName");
    QStringList names = column(m_db, sql, {checkTypeId});
    if (names.isEmpty() && checkTypeId != 0)
        names = column(m_db, sql, {0});
    return names;
}

std::optional<std::vector<DictionaryEntry>> Dictionaries::dictionaryEntries(const QString &name,
                                                                            int checkTypeId,
                                                                            bool withShared,
                                                                            QString *failure) const
{
    const QString sql =
        QStringLiteral("SELECT ID, DMName, DMValue, CheckTypeID, RowVersion FROM DMTable WHERE "
                       "DMName = ? AND CheckTypeID IN (?, ?) ORDER BY DMValue ASC");
    QSqlQuery q = m_db.query();
    if (!execBound(q, sql, {name, checkTypeId, withShared ? 0 : checkTypeId})) {
        if (failure)
            *failure = sql + u'\n' + q.lastError().text();
        return std::nullopt;
    }
    std::vector<DictionaryEntry> entries;
    while (q.next())
        entries.push_back({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(),
                           q.value(3).toInt(), q.value(4).toInt()});
    return entries;
}

bool Dictionaries::dictionaryExists(int checkTypeId, const QString &name) const
{
    QSqlQuery q = m_db.query();
    return execBound(q,
                     QStringLiteral("SELECT 1 FROM DMTable WHERE CheckTypeID = ? AND DMName = ?"),
                     {checkTypeId, name}) &&
           q.next();
}

bool Dictionaries::addDictionary(int checkTypeId, const QString &name)
{
    return changesRows(m_db,
                       QStringLiteral("INSERT INTO DMTable (DMName, DMValue, CheckTypeID) "
                                      "VALUES (?, ?, ?)"),
                       {name, kNewDictionaryValue, checkTypeId});
}

bool Dictionaries::saveDictionaryEntries(const std::vector<DictionaryEntry> &entries,
                                         bool *changedElsewhere)
{
    if (changedElsewhere)
        *changedElsewhere = false;
    return m_db.inTransaction([&] {
        for (const DictionaryEntry &e : entries) {
            if (e.id <= 0) {
                if (!changesRows(m_db,
                                 QStringLiteral("INSERT INTO DMTable (DMName, DMValue, "
                                                "CheckTypeID) VALUES (?, ?, ?)"),
                                 {e.name, e.value, e.checkTypeId}))
                    return false;
                continue;
            }
            const bool checked = e.rowVersion >= 0;
            QString sql = QStringLiteral(
                "UPDATE DMTable SET DMValue = ?, RowVersion = RowVersion + 1 WHERE ID = ?");
            QVariantList values{e.value, e.id};
            if (checked) {
                sql += QStringLiteral(" AND RowVersion = ?");
                values << e.rowVersion;
            }
            if (!changesRows(m_db, sql, values)) {
                if (checked && changedElsewhere)
                    *changedElsewhere = true;
                return false;
            }
        }
        return true;
    });
}

bool Dictionaries::deleteDictionaryEntry(int id)
{
    return changesRows(m_db, QStringLiteral("DELETE FROM DMTable WHERE ID = ?"), {id});
}

// ---- provinces and cities -------------------------------------------------------------------

QStringList Dictionaries::regionProvinces() const
{
    // In stored order, so the shipped provinces keep their customary order.
    return column(m_db,
                  u"SELECT 一级代码 FROM DMTable2 WHERE trim(类型) = ? GROUP BY 一级代码 ORDER BY "
                  u"MIN(" +
                      Database::storedOrder(m_db.backend()) + u')',
                  {kRegionType});
}

QStringList Dictionaries::regionCities(const QString &province) const
{
    return inPinyinOrder(column(
        m_db, QStringLiteral("SELECT DISTINCT 二级代码 FROM DMTable2 WHERE trim(一级代码) = ?"),
        {province}));
}

bool Dictionaries::regionExists(const QString &province, const QString &city) const
{
    QSqlQuery q = m_db.query();
    return execBound(q,
                     QStringLiteral("SELECT 1 FROM DMTable2 WHERE 类型 = ? AND trim(一级代码) = ? "
                                    "AND trim(二级代码) = ?"),
                     {kRegionType, province, city}) &&
           q.next();
}

bool Dictionaries::addRegion(const QString &province, const QString &city)
{
    return changesRows(m_db,
                       QStringLiteral("INSERT INTO DMTable2 (类型, 一级代码, 二级代码) "
                                      "VALUES (?, ?, ?)"),
                       {kRegionType, province, city}) &&
           regionExists(province, city);
}

bool Dictionaries::renameRegion(const QString &province, const QString &oldCity,
                                const QString &newCity)
{
    // A failed or empty update is no success, even when the new name is already there.
    return changesRows(m_db,
                       QStringLiteral("UPDATE DMTable2 SET 二级代码 = ? WHERE 类型 = ? AND "
                                      "trim(一级代码) = ? AND trim(二级代码) = ?"),
                       {newCity, kRegionType, province, oldCity}) &&
           regionExists(province, newCity);
}

bool Dictionaries::deleteRegion(const QString &province, const QString &city)
{
    // Nothing deleted is no success, even when no such row is left.
    return changesRows(m_db,
                       QStringLiteral("DELETE FROM DMTable2 WHERE 类型 = ? AND trim(一级代码) = ? "
                                      "AND trim(二级代码) = ?"),
                       {kRegionType, province, city}) &&
           !regionExists(province, city);
}

// ---- currencies -----------------------------------------------------------------------------

std::vector<Currency> Dictionaries::currencies() const
{
    std::vector<Currency> list;
    QSqlQuery q = m_db.query();
    if (!execBound(q, QStringLiteral("SELECT 币种, 缩写 FROM coins ORDER BY 顺序 DESC")))
        return list;
    while (q.next())
        list.push_back({q.value(0).toString(), q.value(1).toString()});
    return list;
}

bool Dictionaries::addCurrency(const QString &name, const QString &code)
{
    return changesRows(m_db,
                       QStringLiteral("INSERT INTO coins (币种, 缩写, 顺序) VALUES (?, ?, 0)"),
                       {name, code});
}

bool Dictionaries::deleteCurrency(const QString &name)
{
    return changesRows(m_db, QStringLiteral("DELETE FROM coins WHERE 币种 = ?"), {name});
}

bool Dictionaries::setCurrencyCode(const QString &name, const QString &code)
{
    return changesRows(m_db, QStringLiteral("UPDATE coins SET 缩写 = ? WHERE 币种 = ?"),
                       {code, name});
}

bool Dictionaries::moveCurrency(const QString &name, int step)
{
    return changesRows(
        m_db, QStringLiteral("UPDATE coins SET 顺序 = coalesce(顺序, 0) + ? WHERE 币种 = ?"),
        {step, name});
}

bool Dictionaries::resetCurrencyOrder()
{
    // An empty table has nothing to reset, and that is no failure.
    QSqlQuery q = m_db.query();
    return execBound(q, QStringLiteral("UPDATE coins SET 顺序 = 0"));
}
