#include "data/Grids.h"

#include "base/IniFile.h"
#include "base/Ui.h"
#include "data/Database.h"
#include "data/Settings.h"
#include "data/Spreadsheets.h"

#include <QDate>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QUrl>

namespace {

const QString kTip = QStringLiteral("提示");
// Where the last export went, so the next one starts there.
const QString kExportSection = QStringLiteral("EXCELEXPORT");
const QString kExportDir = QStringLiteral("Dir");
// Well below every SQLite build's limit on parameters in one statement.
constexpr int kKeysPerStatement = 500;

QString widthKey(const QString &gridName, int column)
{
    return gridName.toUpper() + u".W" + QString::number(column);
}

// The caption with today's date, cleaned of what a file name cannot hold.
QString exportFileName(const QString &caption)
{
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    QString name = caption.trimmed();
    name.replace(QRegularExpression(QStringLiteral(R"([\\/:*?"<>|\x00-\x1f])")),
                 QStringLiteral("_"));
    if (name.isEmpty())
        name = QStringLiteral("导出");
    if (!name.contains(today))
        name += u'_' + today;
    return name + u".xlsx";
}

} // namespace

Grids::Grids(Database &db, Settings &settings, Spreadsheets &spreadsheets, Ui &ui)
    : m_db(db)
    , m_settings(settings)
    , m_spreadsheets(spreadsheets)
    , m_ui(ui)
{}

QString Grids::fieldName(const QAbstractItemModel &model, int column)
{
    if (const auto *query = qobject_cast<const QSqlQueryModel *>(&model)) {
        const QString name = query->record().fieldName(column);
        if (!name.isEmpty())
            return name;
    }
    return model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

int Grids::fieldColumn(const QAbstractItemModel &model, const QString &fieldName)
{
    for (int c = 0; c < model.columnCount(); ++c) {
        if (Grids::fieldName(model, c).compare(fieldName, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

QList<int> Grids::selectedRows(const QItemSelectionModel &selection)
{
    QList<int> rows;
    QSet<int> seen;
    for (const QItemSelectionRange &range : selection.selection()) {
        if (range.parent().isValid())
            continue;
        for (int r = range.top(); r <= range.bottom(); ++r) {
            if (!seen.contains(r)) {
                seen.insert(r);
                rows << r;
            }
        }
    }
    return rows;
}

void Grids::fetchAll(QAbstractItemModel &model)
{
    while (model.canFetchMore({}))
        model.fetchMore({});
}

bool Grids::saveColumnWidths(const QString &section, const QString &gridName,
                             const QList<int> &widths)
{
    if (section.isEmpty()) {
        m_ui.alert(QStringLiteral("保存表格列宽异常！"), kTip);
        return false;
    }
    IniFile &ini = m_settings.userIni();
    ini.reload();
    {
        IniFile::Batch batch(ini);
        for (int c = 0; c < widths.size(); ++c)
            ini.writeInteger(section.toUpper(), widthKey(gridName, c),
                             widths[c] > 0 ? widths[c] : -1);
    }
    return ini.flush();
}

QList<int> Grids::loadColumnWidths(const QString &section, const QString &gridName, int columns)
{
    if (section.isEmpty()) {
        m_ui.alert(QStringLiteral("保存表格列宽异常！"), kTip);
        return {};
    }
    IniFile &ini = m_settings.userIni();
    ini.reload();
    QList<int> widths;
    for (int c = 0; c < columns; ++c)
        widths << ini.readInteger(section.toUpper(), widthKey(gridName, c), kDefaultWidth);
    return widths;
}

std::optional<QVariantList> Grids::selectedValues(const QItemSelectionModel &selection,
                                                  const QString &fieldName)
{
    const QString failed = QStringLiteral("DBGrid记录选取失败~");
    if (fieldName.isEmpty()) {
        m_ui.alert(failed + u"没有指定列名~", kTip);
        return std::nullopt;
    }
    const QAbstractItemModel *model = selection.model();
    if (!model || model->columnCount() == 0)
        return QVariantList();
    const int column = fieldColumn(*model, fieldName);
    if (column < 0) {
        m_ui.alert(failed + u"列表中没有列" + fieldName, kTip);
        return std::nullopt;
    }
    QVariantList values;
    for (int row : selectedRows(selection))
        values << model->index(row, column).data(Qt::EditRole);
    return values;
}

int Grids::GridSelectedFetch(const QItemSelectionModel &selection, const QString &fieldName,
                             QString &output, const QString &mode)
{
    output.clear();
    const std::optional<QVariantList> values = selectedValues(selection, fieldName);
    if (!values)
        return 0;
    const bool quoted = mode.toUpper() == u"STR";
    QStringList parts;
    for (const QVariant &value : *values) {
        QString text = value.toString();
        // Quoted values are SQL text literals; a quote inside one is doubled.
        parts << (quoted ? u'\'' + text.replace(u'\'', QStringLiteral("''")) + u'\'' : text);
    }
    output = parts.join(u',');
    return int(values->size());
}

std::optional<int> Grids::deleteByKeys(const QString &table, const QString &keyField,
                                       const QVariantList &keys, QString &error)
{
    int deleted = 0;
    const QString head = u"delete from " + Database::quoted(table) + u" where " +
                         Database::quoted(keyField) + u" in (";
    const bool done = m_db.inTransaction([&] {
        for (qsizetype first = 0; first < keys.size(); first += kKeysPerStatement) {
            const QVariantList chunk = keys.mid(first, kKeysPerStatement);
            QStringList marks(chunk.size(), QStringLiteral("?"));
            QSqlQuery query = m_db.query();
            if (!query.prepare(head + marks.join(u',') + u')')) {
                error = query.lastError().text();
                return false;
            }
            for (const QVariant &key : chunk)
                query.addBindValue(key);
            if (!query.exec()) {
                error = query.lastError().text();
                return false;
            }
            deleted += query.numRowsAffected();
        }
        return true;
    });
    if (!done) {
        if (error.isEmpty())
            error = m_db.connection().lastError().text();
        return std::nullopt;
    }
    return deleted;
}

int Grids::GridSelectedDelete(const QItemSelectionModel &selection, const QString &table,
                              const QString &keyField, const QString &recordWord,
                              const QString &mode)
{
    const std::optional<QVariantList> keys = selectedValues(selection, keyField);
    if (!keys || keys->isEmpty())
        return 0;
    const QString word = recordWord.isEmpty() ? QStringLiteral("数据记录") : recordWord;
    if (!m_ui.ask(u"确认要删除所选中的" + QString::number(keys->size()) + u"个" + word + u"吗?",
                  QStringLiteral("删除确认")))
        return 0;
    QVariantList bound = *keys;
    if (mode.toUpper() == u"STR") {
        for (QVariant &key : bound)
            key = key.toString();
    }
    QString error;
    const std::optional<int> deleted = deleteByKeys(table, keyField, bound, error);
    if (!deleted) {
        m_ui.error(u"删除失败，错误=" + error);
        return 0;
    }
    m_ui.alert(QString::number(*deleted) + u"个" + word + u"删除成功！", kTip);
    return *deleted;
}

int Grids::GridDeleteCurrentList(QAbstractItemModel &model, const QString &table,
                                 const QString &keyField)
{
    if (m_ui.showMessage(QStringLiteral("此操作将删除当前查询到的所有记录，确定删除吗？"),
                         QStringLiteral("警告"), Ui::Icon::Warning,
                         Ui::Buttons::YesNo) != Ui::Answer::Yes)
        return 0;
    fetchAll(model);
    const int column = fieldColumn(model, keyField);
    QVariantList keys;
    for (int r = 0; column >= 0 && r < model.rowCount(); ++r)
        keys << model.index(r, column).data(Qt::EditRole);
    QString error;
    const std::optional<int> deleted =
        column < 0 ? std::nullopt : deleteByKeys(table, keyField, keys, error);
    if (!deleted) {
        m_ui.error(QStringLiteral("删除出现异常！"));
        return 0;
    }
    if (auto *queryModel = qobject_cast<QSqlQueryModel *>(&model)) {
        QSqlQuery again = queryModel->query();
        again.exec();
        queryModel->setQuery(std::move(again));
    }
    m_ui.alert(QString::number(*deleted) + u"条记录删除成功！", kTip);
    return *deleted;
}

std::unique_ptr<XlsxWriter> Grids::openExcelApplication(const QString &caption)
{
    IniFile &ini = m_settings.userIni();
    const QString folder =
        ini.readString(kExportSection, kExportDir,
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    QString path =
        m_ui.chooseSaveFile(QStringLiteral("导出Excel"), QStringLiteral("Excel 工作簿(*.xlsx)"),
                            folder + u'/' + exportFileName(caption));
    if (path.isEmpty())
        return nullptr;
    if (QFileInfo(path).suffix().compare(u"xlsx", Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".xlsx");
    ini.writeString(kExportSection, kExportDir, QFileInfo(path).absolutePath());
    std::unique_ptr<XlsxWriter> book = m_spreadsheets.create(path);
    if (!book->isOpen()) {
        m_ui.error(u"数据导出Excel出错,错误提示:" + book->error());
        return nullptr;
    }
    return book;
}

void Grids::closeExcelApplication(std::unique_ptr<XlsxWriter> &book)
{
    book.reset();
}

bool Grids::ExportGrid2Excel(QAbstractItemModel &model, const QString &caption, const QString &,
                             int fromColumn)
{
    fetchAll(model);
    if (model.rowCount() == 0) {
        m_ui.alert(QStringLiteral("没有可导出的数据~"), kTip);
        return false;
    }
    std::unique_ptr<XlsxWriter> book = openExcelApplication(caption);
    if (!book)
        return false;
    const int columns = model.columnCount();
    QStringList cells;
    for (int c = fromColumn; c < columns; ++c)
        cells << fieldName(model, c);
    bool ok = book->addTitleRow(cells);
    for (int r = 0; ok && r < model.rowCount(); ++r) {
        cells.clear();
        for (int c = fromColumn; c < columns; ++c) {
            // PostgreSQL's empty number is a null of its type, whose text would be "0".
            const QVariant value = model.index(r, c).data(Qt::DisplayRole);
            cells << (value.isNull() ? QString() : value.toString());
        }
        ok = book->addRow(cells);
    }
    if (!ok || !book->save()) {
        m_ui.error(u"数据导出Excel出错,错误提示:" + book->error());
        closeExcelApplication(book);
        return false;
    }
    m_ui.openUrl(QUrl::fromLocalFile(book->path()));
    return true;
}
