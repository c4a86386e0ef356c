#pragma once

#include <QList>
#include <QString>
#include <QVariantList>
#include <memory>
#include <optional>

class Database;
class QAbstractItemModel;
class QItemSelectionModel;
class Settings;
class Spreadsheets;
class Ui;
class XlsxWriter;

// The list operations every window with a multi-select list of database rows shares: column
// state in Config.ini, the key values of the selected rows, deleting the selected rows or the
// whole result, and the export to a spreadsheet. They work on the list's model and selection;
// the parts that need the view itself are in GridView.
class Grids
{
public:
    Grids(Database &db, Settings &settings, Spreadsheets &spreadsheets, Ui &ui);

    static constexpr int kDefaultWidth = 40;

    // The field a column shows: the query's field name, or the header text for other models.
    static QString fieldName(const QAbstractItemModel &model, int column);
    // Column of a field, matched without regard to case; -1 when the list has none.
    static int fieldColumn(const QAbstractItemModel &model, const QString &fieldName);
    // Rows of the selection, each once, in the order they were selected.
    static QList<int> selectedRows(const QItemSelectionModel &selection);
    // Lazily filled query models hold only their first rows until asked for more.
    static void fetchAll(QAbstractItemModel &model);

    // Column widths in pixels, -1 for a hidden column, stored in section `section` under
    // "<GRIDNAME>.W<index>". An empty section tells the user and stores nothing. Answers whether
    // the widths are on disk.
    bool saveColumnWidths(const QString &section, const QString &gridName,
                          const QList<int> &widths);
    // The stored width of every column, kDefaultWidth where none is stored; 0 or less means
    // hidden. Empty when the section name is empty (the user has been told).
    QList<int> loadColumnWidths(const QString &section, const QString &gridName, int columns);

    // The values of `fieldName` in the selected rows, in selection order, joined by commas;
    // with mode "STR" (any case) each is quoted as an SQL text literal. Answers how many rows
    // were visited; on failure tells the user and answers 0 with `output` empty.
    int GridSelectedFetch(const QItemSelectionModel &selection, const QString &fieldName,
                          QString &output, const QString &mode);
    // The same values, for binding as parameters; nullopt after telling the user of a failure.
    std::optional<QVariantList> selectedValues(const QItemSelectionModel &selection,
                                               const QString &fieldName);

    // Asks, then deletes the selected rows of `table` by their key in one transaction and
    // tells how many went. With nothing selected it does nothing and says nothing. Answers
    // the rows deleted; the caller refreshes its list.
    int GridSelectedDelete(const QItemSelectionModel &selection, const QString &table,
                           const QString &keyField,
                           const QString &recordWord = QStringLiteral("数据记录"),
                           const QString &mode = {});
    // Asks, then deletes every row the list holds (all of its query's result) from `table`
    // by key, in one transaction, and requeries a query model. Answers the rows deleted.
    int GridDeleteCurrentList(QAbstractItemModel &model, const QString &table,
                              const QString &keyField);

    // Where an export goes: asks for the file (suggesting the caption and today's date as its
    // name) and makes a workbook for it. Null when the user cancelled or the file cannot be
    // made (the user has been told).
    std::unique_ptr<XlsxWriter> openExcelApplication(const QString &caption);
    // Drops a workbook that will not be handed to the user; nothing is left on disk.
    void closeExcelApplication(std::unique_ptr<XlsxWriter> &book);
    // Writes the list, every column of the model from `fromColumn` on, as a workbook the user
    // chooses and opens it with the desktop's spreadsheet program. Answers true when the file
    // was written.
    bool ExportGrid2Excel(QAbstractItemModel &model, const QString &caption,
                          const QString &format = {}, int fromColumn = 0);

private:
    // Deletes the rows whose key is one of `keys`; the rows affected, or nullopt with `error`.
    std::optional<int> deleteByKeys(const QString &table, const QString &keyField,
                                    const QVariantList &keys, QString &error);

    Database &m_db;
    Settings &m_settings;
    Spreadsheets &m_spreadsheets;
    Ui &m_ui;
};
