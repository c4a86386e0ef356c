#include "print/PreviewData.h"

#include "data/BoundQuery.h"
#include "data/Database.h"
#include "print/PrintEngine.h"
#include "print/PrintText.h"
#include "print/ScreenPrintDevice.h"

#include <QSqlError>

namespace PreviewData {

namespace {

// Multi-line samples keep their lines apart as bill values do.
const QString kLineSeparator = QStringLiteral("##");

} // namespace

std::optional<std::vector<PreviewSample>> loadPreviewItems(Database &db, int checkTypeId,
                                                           const QString &kind, QString *error)
{
    QSqlQuery q = db.query();
    if (!execBound(q,
                   QStringLiteral("select a.*, b.ID as tId, b.CtlData, b.CtlLabel "
                                  "from CKControl as a join NameDict as b "
                                  "on upper(a.CtlName) = upper(b.CtlName) "
                                  "where a.NeedPrint = 1 and b.PrintItem = 1 "
                                  "and a.CheckTypeID = ? and b.CheckTypeName = ? "
                                  "order by b.ShowOrd, b.ID"),
                   {checkTypeId, kind})) {
        *error = q.lastError().text();
        return std::nullopt;
    }
    std::vector<PreviewSample> items;
    while (q.next()) {
        PreviewSample item;
        item.ctlName = q.value(QStringLiteral("CtlName")).toString();
        item.text = PrintText::trimValue(q.value(QStringLiteral("CtlData")).toString());
        if (item.text.isEmpty())
            item.text = PrintText::trimValue(q.value(QStringLiteral("CtlLabel")).toString());
        items.push_back(std::move(item));
    }
    return items;
}

QImage paintSamples(Database &db, Ui &ui, Settings &settings, int checkTypeId,
                    const std::vector<PreviewSample> &samples, QSize paperPixels, int ppi)
{
    auto owned = std::make_unique<ScreenPrintDevice>(paperPixels, ppi);
    ScreenPrintDevice *screen = owned.get();
    PrintEngine engine(db, ui, settings, std::move(owned));
    // Ready as in a job, so the template's items are read once.
    engine.context().printReady = true;
    if (!screen->beginDocument())
        return {};
    for (const PreviewSample &sample : samples)
        engine.printCheckItem(checkTypeId, 0, 0, sample.ctlName, sample.text, kLineSeparator);
    screen->endDocument();
    return screen->image();
}

} // namespace PreviewData

PreviewSampleModel::PreviewSampleModel(Database &db, QObject *parent)
    : QSqlQueryModel(parent)
    , m_db(db)
{}

bool PreviewSampleModel::load(const QString &kind, QString *error)
{
    m_edited.clear();
    QSqlQuery q = m_db.query();
    if (!execBound(q,
                   QStringLiteral("select ID, CtlName, CtlLabel as 项目名, CtlData as 内容 "
                                  "from NameDict where CheckTypeName = ? order by ShowOrd desc"),
                   {kind})) {
        *error = q.lastError().text();
        clear();
        return false;
    }
    setQuery(std::move(q));
    return true;
}

Qt::ItemFlags PreviewSampleModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QSqlQueryModel::flags(index);
    if (index.column() == kDataColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant PreviewSampleModel::data(const QModelIndex &index, int role) const
{
    if (index.column() == kDataColumn && (role == Qt::DisplayRole || role == Qt::EditRole)) {
        if (const auto it = m_edited.constFind(index.row()); it != m_edited.cend())
            return *it;
    }
    return QSqlQueryModel::data(index, role);
}

bool PreviewSampleModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || index.column() != kDataColumn)
        return false;
    const QVariant id = this->index(index.row(), kIdColumn).data();
    QSqlQuery q = m_db.query();
    if (!execBound(q, QStringLiteral("update NameDict set CtlData = ? where ID = ?"),
                   {value.toString(), id})) {
        Q_EMIT editFailed(q.lastError().text());
        return false;
    }
    m_edited.insert(index.row(), value.toString());
    Q_EMIT dataChanged(index, index);
    return true;
}
