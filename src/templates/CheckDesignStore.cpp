#include "templates/CheckDesignStore.h"

#include "data/BoundQuery.h"
#include "data/Database.h"

#include <QSqlError>

namespace {

const QString kDefaultFace = QStringLiteral("宋体");

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

CheckDesignStore::CheckDesignStore(Database &db)
    : m_db(db)
{}

std::optional<std::vector<DesignBox>>
CheckDesignStore::loadBoxes(int checkTypeId, const QString &kind, QString *error) const
{
    QSqlQuery q = m_db.query();
    if (!execBound(q,
                   QStringLiteral("select b.CtlName, b.CtlLabel, b.CtlType, a.ID, a.SrcX, a.SrcY, "
                                  "a.SrcW, a.SrcH, a.NeedShow from NameDict as b "
                                  "left join CKControl as a on a.CheckTypeID = ? "
                                  "and upper(a.CtlName) = upper(b.CtlName) "
                                  "where b.CheckTypeName = ? order by b.ShowOrd desc, b.ID desc"),
                   {checkTypeId, kind})) {
        *error = q.lastError().text();
        return std::nullopt;
    }
    std::vector<DesignBox> boxes;
    QStringList seen; // a duplicated item row shows its first one
    while (q.next()) {
        DesignBox box;
        box.ctlName = q.value(0).toString().toUpper();
        if (seen.contains(box.ctlName))
            continue;
        seen << box.ctlName;
        box.label = q.value(1).toString();
        box.type = q.value(2).toString().trimmed().toUpper();
        if (box.type.isEmpty())
            box.type = QStringLiteral("TEXT");
        box.hasRow = !q.value(3).isNull();
        box.geometry =
            QRect(q.value(4).toInt(), q.value(5).toInt(), q.value(6).toInt(), q.value(7).toInt());
        box.visible = box.hasRow && q.value(8).toInt() > 0;
        boxes.push_back(std::move(box));
    }
    return boxes;
}

CheckDesignStore::Saved CheckDesignStore::saveItem(int checkTypeId, const QString &kind,
                                                   const QString &ctlName, const QString &ctlCName,
                                                   const ItemDesign &v)
{
    Saved saved;
    const QString name = ctlName.toUpper();
    const QString face = v.fontName.trimmed().isEmpty() ? kDefaultFace : v.fontName.trimmed();
    const QString show = flag(!v.hidden);
    const QString fit = v.fitPrint ? QString::number(v.fitParam) : QStringLiteral("");
    const QString breakNum = v.wordBreak ? QString::number(v.wrapNum) : QStringLiteral("");
    const bool done = m_db.inTransaction([&] {
        QSqlQuery known = m_db.query();
        if (!execBound(known,
                       QStringLiteral("select count(*) from NameDict where CheckTypeName = ? "
                                      "and upper(CtlName) = ?"),
                       {kind, name}) ||
            !known.next()) {
            saved.error = known.lastError().text();
            return false;
        }
        if (known.value(0).toInt() == 0) {
            saved.error = QStringLiteral("找不到对应的项目定义~~");
            return false;
        }
        QSqlQuery q = m_db.query();
        if (!execBound(
                q,
                QStringLiteral("update CKControl set CtlX = ?, CtlY = ?, CtlLH = ?, SrcX = ?, "
                               "SrcY = ?, SrcW = ?, SrcH = ?, NeedPrint = ?, NeedShow = ?, "
                               "CtlFontName = ?, CtlFontSize = ?, InitValue = ?, Bold = ?, "
                               "Italic = ?, UnderLine = ?, FitParam = ?, BreakFontSize = ?, "
                               "BreakNum = ? where CheckTypeID = ? and upper(CtlName) = ?"),
                {v.ctlX,
                 v.ctlY,
                 v.ctlLH,
                 v.srcX,
                 v.srcY,
                 v.srcW,
                 v.srcH,
                 show,
                 show,
                 face,
                 v.fontSize,
                 v.initValue.trimmed(),
                 flag(v.bold),
                 flag(v.italic),
                 flag(v.underline),
                 fit,
                 v.wordBreak ? v.breakFontSize : 0,
                 breakNum,
                 checkTypeId,
                 name})) {
            saved.error = q.lastError().text();
            return false;
        }
        saved.rows = q.numRowsAffected();
        if (saved.rows > 0)
            return true;
        // A new row starts with a box of 100 x 20 pixels, whatever the box on screen is.
        if (!execBound(q,
                       QStringLiteral("insert into CKControl (CheckTypeID, CtlName, CtlCName, "
                                      "CtlX, CtlY, CtlLH, SrcX, SrcY, SrcH, SrcW, NeedPrint, "
                                      "NeedShow, CtlFontName, Bold, Italic, UnderLine, FitParam, "
                                      "BreakNum, CtlFontSize, BreakFontSize) values "
                                      "(?, ?, ?, ?, ?, ?, ?, ?, 20, 100, ?, ?, ?, ?, ?, ?, ?, ?, "
                                      "?, ?)"),
                       {checkTypeId, name, ctlCName, v.ctlX, v.ctlY, v.ctlLH, v.srcX, v.srcY, show,
                        show, face, flag(v.bold), flag(v.italic), flag(v.underline), fit, breakNum,
                        v.fontSize, v.breakFontSize})) {
            saved.error = q.lastError().text();
            return false;
        }
        saved.rows = q.numRowsAffected();
        saved.inserted = true;
        return true;
    });
    if (!done && saved.ok())
        saved.error = m_db.connection().lastError().text();
    return saved;
}

QString CheckDesignStore::cleanTitles(const QString &typed)
{
    QString titles = typed.trimmed();
    for (const char16_t c : {u'(', u')', u'（', u'）', u'\'', u'%', u'*', u'?', u' '})
        titles.remove(QChar(c));
    titles.replace(u'，', u',');
    return titles;
}

bool CheckDesignStore::saveCheckBoxTitles(int checkTypeId, const QString &titles, QString *error)
{
    QSqlQuery q = m_db.query();
    if (!execBound(q, QStringLiteral("update ckTypeTable set CheckBoxs = ? where CheckTypeID = ?"),
                   {titles, checkTypeId})) {
        *error = q.lastError().text();
        return false;
    }
    if (q.numRowsAffected() != 1) {
        *error = QStringLiteral("没有找到对应的单据信息~");
        return false;
    }
    return true;
}
