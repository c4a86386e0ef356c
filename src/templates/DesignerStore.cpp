#include "templates/DesignerStore.h"

#include "data/BoundQuery.h"
#include "data/Database.h"
#include "print/PrintText.h"

#include <QSqlError>
#include <cmath>

namespace {

const QStringList kItemColumns{
    QStringLiteral("CtlX"),        QStringLiteral("CtlY"),          QStringLiteral("CtlW"),
    QStringLiteral("CtlH"),        QStringLiteral("CtlLH"),         QStringLiteral("CtlFontName"),
    QStringLiteral("CtlFontSize"), QStringLiteral("BreakFontSize"), QStringLiteral("BreakNum"),
    QStringLiteral("FitParam"),    QStringLiteral("Bold"),          QStringLiteral("Italic"),
    QStringLiteral("UnderLine"),   QStringLiteral("InitValue"),
};

// Paper beyond this does not fit the printers' paper guide (0.1 mm).
constexpr int kMaxPaperWidth = 3000;
constexpr int kMaxPaperHeight = 3200;

const QString kNameIs = QStringLiteral(" where CheckTypeID = ? and upper(CtlName) = upper(?)");

StoreOutcome failed(const QString &message)
{
    return {StoreOutcome::Result::Failed, message};
}

StoreOutcome refused(const QString &message)
{
    return {StoreOutcome::Result::Refused, message};
}

} // namespace

QString DesignerItem::displayText() const
{
    const QString text = PrintText::trimValue(sample);
    return text.isEmpty() ? PrintText::trimValue(label) : text;
}

DesignerStore::DesignerStore(Database &db, int checkTypeId, QString kind)
    : m_db(db)
    , m_id(checkTypeId)
    , m_kind(std::move(kind))
{}

bool DesignerStore::isItemColumn(const QString &column)
{
    return kItemColumns.contains(column);
}

std::optional<std::vector<DesignerItem>> DesignerStore::loadItems(QString *error,
                                                                  const QString &ctlName) const
{
    QString sql = QStringLiteral("select a.*, b.CtlData, b.CtlLabel, b.Groups "
                                 "from CKControl as a join NameDict as b "
                                 "on upper(a.CtlName) = upper(b.CtlName) "
                                 "where b.PrintItem = 1 and a.CheckTypeID = ? "
                                 "and b.CheckTypeName = ?");
    QVariantList values{m_id, m_kind};
    if (!ctlName.isEmpty()) {
        sql += QStringLiteral(" and upper(a.CtlName) = upper(?)");
        values << ctlName;
    }
    QSqlQuery q = m_db.query();
    if (!execBound(q, sql + QStringLiteral(" order by b.ShowOrd, b.ID"), values)) {
        *error = q.lastError().text();
        return std::nullopt;
    }
    std::vector<DesignerItem> items;
    while (q.next()) {
        DesignerItem item;
        item.ctlName = q.value(QStringLiteral("CtlName")).toString().toUpper();
        item.ctlCName = q.value(QStringLiteral("CtlCName")).toString();
        item.label = q.value(QStringLiteral("CtlLabel")).toString();
        item.sample = q.value(QStringLiteral("CtlData")).toString();
        item.groups = q.value(QStringLiteral("Groups")).toString();
        item.print = PrintItem::read(q);
        item.ctlW = q.value(QStringLiteral("CtlW")).toInt();
        item.ctlH = q.value(QStringLiteral("CtlH")).toInt();
        item.srcW = q.value(QStringLiteral("SrcW")).toInt();
        item.srcH = q.value(QStringLiteral("SrcH")).toInt();
        item.needPrint = q.value(QStringLiteral("NeedPrint")).toInt() == 1;
        item.initValue = q.value(QStringLiteral("InitValue")).toString();
        items.push_back(std::move(item));
    }
    return items;
}

std::optional<QStringList> DesignerStore::loadAvailableNames(QString *error) const
{
    QSqlQuery q = m_db.query();
    if (!execBound(q,
                   QStringLiteral("select a.CtlCName, a.CtlName, b.CtlLabel "
                                  "from CKControl as a join NameDict as b "
                                  "on upper(a.CtlName) = upper(b.CtlName) "
                                  "where b.CheckTypeName = ? and b.PrintItem = 1 "
                                  "and a.NeedPrint = 1 and a.CheckTypeID = ? "
                                  "order by b.ShowOrd desc, b.ID desc"),
                   {m_kind, m_id})) {
        *error = q.lastError().text();
        return std::nullopt;
    }
    QStringList names;
    while (q.next()) {
        QString caption = q.value(0).toString();
        if (caption.isEmpty()) // rows made by the design mode may lack it
            caption = q.value(2).toString();
        names << caption + u'=' + q.value(1).toString().toUpper();
    }
    return names;
}

std::optional<QStringList> DesignerStore::loadGroups(QString *error) const
{
    QSqlQuery q = m_db.query();
    if (!execBound(q,
                   QStringLiteral("select distinct Groups from NameDict where CheckTypeName = ? "
                                  "and Groups is not null and Groups <> '' order by Groups"),
                   {m_kind})) {
        *error = q.lastError().text();
        return std::nullopt;
    }
    QStringList groups;
    while (q.next())
        groups << q.value(0).toString();
    return groups;
}

std::optional<QStringList> DesignerStore::loadGroupItems(const QString &group, QString *error) const
{
    QSqlQuery q = m_db.query();
    bool ok = false;
    if (group.contains(u'*')) {
        // "数量*": every label that matches, "*" standing for any text.
        QString pattern = likeLiteral(group);
        pattern.replace(u'*', u'%');
        ok = execBound(q,
                       u"select CtlName from NameDict where PrintItem = 1 and CheckTypeName = ? "
                       u"and " +
                           Database::likeAnyCase(QStringLiteral("CtlLabel")) +
                           u" order by ShowOrd, ID",
                       {m_kind, pattern});
    } else {
        ok = execBound(q,
                       QStringLiteral("select CtlName from NameDict where PrintItem = 1 and "
                                      "CheckTypeName = ? and Groups = ? order by ShowOrd, ID"),
                       {m_kind, group});
    }
    if (!ok) {
        *error = q.lastError().text();
        return std::nullopt;
    }
    QStringList names;
    while (q.next())
        names << q.value(0).toString().toUpper();
    return names;
}

QString DesignerStore::labelOf(const QString &ctlName) const
{
    QSqlQuery q = m_db.query();
    if (execBound(q,
                  QStringLiteral("select CtlLabel from NameDict where CheckTypeName = ? and "
                                 "upper(CtlName) = upper(?)"),
                  {m_kind, ctlName}) &&
        q.next())
        return q.value(0).toString();
    return {};
}

StoreOutcome DesignerStore::storeColumn(const QString &ctlName, const QString &column,
                                        const QVariant &value)
{
    return storeColumns(ctlName, {{column, value}});
}

StoreOutcome DesignerStore::storeColumns(const QString &ctlName, const ColumnValues &values)
{
    if (ctlName.isEmpty() || values.isEmpty())
        return {};
    QStringList columns;
    for (const auto &[column, value] : values) {
        if (!isItemColumn(column))
            return refused(column);
        columns << column;
    }
    StoreOutcome out;
    const bool done = m_db.inTransaction([&] {
        QSqlQuery q = m_db.query();
        if (!execBound(q, u"select " + columns.join(u", ") + u" from CKControl" + kNameIs,
                       {m_id, ctlName})) {
            out = failed(u"保存错误" + q.lastError().text());
            return false;
        }
        int rows = 0;
        bool differs = false;
        while (q.next()) {
            ++rows;
            for (int i = 0; i < values.size(); ++i)
                differs = differs || q.value(i).toString() != values[i].second.toString();
        }
        if (rows == 0) {
            out = {StoreOutcome::Result::NoRow, u"修改错误！没有找到项目" + ctlName};
            return false;
        }
        if (rows > 1) {
            out = {StoreOutcome::Result::Duplicate,
                   u"保存出错,同一个项目多条记录=！" + ctlName + u',' + QString::number(m_id)};
            return false;
        }
        if (!differs)
            return true;
        QStringList sets;
        QVariantList bound;
        QStringList shown;
        for (const auto &[column, value] : values) {
            sets << column + u" = ?";
            bound << value;
            shown << column + u'=' + value.toString();
        }
        bound << m_id << ctlName;
        QSqlQuery update = m_db.query();
        if (!execBound(update, u"update CKControl set " + sets.join(u", ") + kNameIs, bound) ||
            update.numRowsAffected() != 1) {
            out = failed(u"保存错误" + update.lastError().text());
            return false;
        }
        out = {StoreOutcome::Result::Stored, ctlName + u':' + shown.join(u',') + u"属性保存成功~",
               1};
        return true;
    });
    if (!done && out.ok())
        out = failed(QStringLiteral("保存错误"));
    return out;
}

StoreOutcome DesignerStore::storePositions(const QList<std::pair<QString, QPoint>> &places)
{
    QStringList names;
    for (const auto &place : places)
        names << place.first;
    qsizetype next = 0;
    return batch(names, [&](const QString &name, StoreOutcome &out) {
        const QPoint at = places[next++].second;
        QSqlQuery q = m_db.query();
        if (!execBound(q, u"update CKControl set CtlX = ?, CtlY = ?" + kNameIs,
                       {at.x(), at.y(), m_id, name}) ||
            q.numRowsAffected() != 1) {
            out = failed(u"移动项目,修改错误！" + name + u' ' + q.lastError().text());
            return false;
        }
        ++out.changed;
        return true;
    });
}

std::optional<DesignerStore::Snapshot> DesignerStore::snapshot(const QStringList &names,
                                                               QString *error) const
{
    Snapshot shot;
    for (const QString &name : names) {
        QSqlQuery q = m_db.query();
        if (!execBound(q, u"select " + kItemColumns.join(u", ") + u" from CKControl" + kNameIs,
                       {m_id, name})) {
            if (error)
                *error = q.lastError().text();
            return std::nullopt;
        }
        if (!q.next())
            continue; // no row: nothing an edit could change
        ColumnValues values;
        for (int i = 0; i < kItemColumns.size(); ++i)
            values.append({kItemColumns[i], q.value(i)});
        shot.append({name, values});
    }
    return shot;
}

StoreOutcome DesignerStore::restore(const Snapshot &snapshot)
{
    QStringList names;
    for (const auto &item : snapshot)
        names << item.first;
    qsizetype next = 0;
    return batch(names, [&](const QString &name, StoreOutcome &out) {
        QStringList sets;
        QVariantList bound;
        for (const auto &[column, value] : snapshot[next++].second) {
            if (!isItemColumn(column)) {
                out = refused(column);
                return false;
            }
            sets << column + u" = ?";
            bound << value;
        }
        bound << m_id << name;
        QSqlQuery q = m_db.query();
        if (!execBound(q, u"update CKControl set " + sets.join(u", ") + kNameIs, bound) ||
            q.numRowsAffected() != 1) {
            out = failed(u"保存错误" + q.lastError().text());
            return false;
        }
        ++out.changed;
        return true;
    });
}

StoreOutcome DesignerStore::batch(const QStringList &names,
                                  const std::function<bool(const QString &, StoreOutcome &)> &each)
{
    StoreOutcome out;
    const bool done = m_db.inTransaction([&] {
        for (const QString &name : names) {
            if (!each(name, out))
                return false;
        }
        return true;
    });
    if (!done) {
        out.changed = 0;
        out.skipped.clear();
        if (out.ok())
            out = failed(u"保存错误：" + m_db.connection().lastError().text());
        return out;
    }
    out.result = out.changed > 0 ? StoreOutcome::Result::Stored : StoreOutcome::Result::Unchanged;
    return out;
}

StoreOutcome DesignerStore::moveItems(const QStringList &names, const QString &column, int delta)
{
    if (!isItemColumn(column))
        return refused(column);
    return batch(names, [&](const QString &name, StoreOutcome &out) {
        QSqlQuery q = m_db.query();
        if (!execBound(q, u"update CKControl set " + column + u" = " + column + u" + ?" + kNameIs,
                       {delta, m_id, name})) {
            out = failed(u"移动项目,修改错误！" + q.lastError().text());
            return false;
        }
        if (q.numRowsAffected() != 1) {
            out = failed(u"修改错误！update CkControl set " + column + u'=' + column + u"+(" +
                         QString::number(delta) + u") where CheckTypeId=" + QString::number(m_id) +
                         u" and CtlName=" + name);
            return false;
        }
        ++out.changed;
        return true;
    });
}

StoreOutcome DesignerStore::setAll(const QStringList &names, const QString &column,
                                   const QVariant &value)
{
    if (!isItemColumn(column))
        return refused(column);
    return batch(names, [&](const QString &name, StoreOutcome &out) {
        QSqlQuery q = m_db.query();
        if (!execBound(q, u"update CKControl set " + column + u" = ?" + kNameIs,
                       {value, m_id, name})) {
            out = failed(u"保存错误：" + q.lastError().text());
            return false;
        }
        out.changed += q.numRowsAffected();
        return true;
    });
}

StoreOutcome DesignerStore::stepAll(const QStringList &names, const QString &column, int step)
{
    if (!isItemColumn(column))
        return refused(column);
    return batch(names, [&](const QString &name, StoreOutcome &out) {
        QSqlQuery q = m_db.query();
        const bool ok =
            step >= 0
                ? execBound(q,
                            u"update CKControl set " + column + u" = " + column + u" + ?" + kNameIs,
                            {step, m_id, name})
                : execBound(q,
                            u"update CKControl set " + column + u" = " + column + u" - ?" +
                                kNameIs + u" and " + column + u" > ?",
                            {-step, m_id, name, -step});
        if (!ok) {
            out = failed(u"保存错误：" + q.lastError().text());
            return false;
        }
        if (q.numRowsAffected() == 0 && step < 0)
            out.skipped << name + u"的" + column + u"更新失败！";
        out.changed += q.numRowsAffected();
        return true;
    });
}

StoreOutcome DesignerStore::spread(const QStringList &names, const QString &column, int increment)
{
    if (!isItemColumn(column) || names.size() < 2)
        return refused(column);
    QSqlQuery first = m_db.query();
    if (!execBound(first, u"select " + column + u" from CKControl" + kNameIs,
                   {m_id, names.front()}) ||
        !first.next()) {
        return refused(column == u"CtlX"
                           ? QStringLiteral("没有找到第一个项目的距左参数,中断分布动作！")
                           : QStringLiteral("没有找到第一个项目的距顶参数,中断分布动作！"));
    }
    const int start = first.value(0).toInt();
    int k = 0;
    return batch(names.mid(1), [&](const QString &name, StoreOutcome &out) {
        QSqlQuery q = m_db.query();
        if (!execBound(q, u"update CKControl set " + column + u" = ?" + kNameIs,
                       {start + ++k * increment, m_id, name})) {
            out = failed(u"保存错误：" + q.lastError().text());
            return false;
        }
        out.changed += q.numRowsAffected();
        return true;
    });
}

std::optional<int> DesignerStore::extreme(const QStringList &names, const QString &column,
                                          bool largest, QString *error) const
{
    if (!isItemColumn(column) || names.isEmpty())
        return 0;
    QStringList marks;
    QVariantList values{m_id};
    for (const QString &name : names) {
        marks << QStringLiteral("upper(?)");
        values << name;
    }
    QSqlQuery q = m_db.query();
    if (!execBound(q,
                   u"select " + QString::fromLatin1(largest ? "max" : "min") + u'(' + column +
                       u") from CKControl where CheckTypeID = ? and upper(CtlName) in (" +
                       marks.join(u',') + u')',
                   values)) {
        *error = u"读取错误：" + q.lastError().text();
        return std::nullopt;
    }
    return q.next() ? q.value(0).toInt() : 0;
}

StoreOutcome DesignerStore::updateSample(const QString &ctlName, const QString &text)
{
    StoreOutcome out;
    const bool done = m_db.inTransaction([&] {
        QSqlQuery q = m_db.query();
        if (!execBound(q,
                       QStringLiteral("update NameDict set CtlData = ? where CheckTypeName = ? "
                                      "and upper(CtlName) = upper(?)"),
                       {text.trimmed(), m_kind, ctlName})) {
            out = failed(u"更新失败！" + q.lastError().text());
            return false;
        }
        if (q.numRowsAffected() != 1) {
            out = refused(QStringLiteral("测试值更新失败.没有有效的行！"));
            return false;
        }
        out = {StoreOutcome::Result::Stored, QStringLiteral("更新成功！"), 1};
        return true;
    });
    if (!done && out.ok())
        out = failed(QStringLiteral("更新失败！"));
    return out;
}

StoreOutcome DesignerStore::savePaperSize(const QString &widthCm, const QString &heightCm)
{
    bool widthOk = false;
    bool heightOk = false;
    const double width = widthCm.trimmed().toDouble(&widthOk);
    const double height = heightCm.trimmed().toDouble(&heightOk);
    if (!widthOk || !heightOk || width <= 0 || height <= 0)
        return refused(QStringLiteral("票据的宽度和高度必须是大于0的数字（厘米）！"));
    // Compared in tenths of a millimetre, as stored: 32.01 cm is beyond 32 cm.
    const int widthTenths = int(std::lround(width * 100));
    const int heightTenths = int(std::lround(height * 100));
    if (heightTenths > kMaxPaperHeight)
        return refused(QStringLiteral("失败，票据最高不能大于32厘米。"));
    if (widthTenths > kMaxPaperWidth)
        return refused(QStringLiteral("失败，票据最宽不能大于30厘米。"));
    QSqlQuery q = m_db.query();
    if (!execBound(q,
                   QStringLiteral("update ckTypeTable set PWidth = ?, PHeight = ? "
                                  "where CheckTypeID = ?"),
                   {widthTenths, heightTenths, m_id}))
        return failed(u"保存错误" + q.lastError().text());
    if (q.numRowsAffected() != 1)
        return {StoreOutcome::Result::NoRow, QStringLiteral("没有找到对应的单据信息~")};
    return {StoreOutcome::Result::Stored, QStringLiteral("底图实际长和宽保存成功！"), 1};
}
