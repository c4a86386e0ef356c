#pragma once

#include <QHash>
#include <QImage>
#include <QSqlQueryModel>
#include <optional>
#include <vector>

class Database;
class Settings;
class Ui;

namespace PreviewData {

// A printable item of a template and the sample text its kind's dictionary holds for it (its
// caption when it has none).
struct PreviewSample
{
    QString ctlName;
    QString text;
};

// The printable items of a template with their samples, in dictionary order; nullopt and
// *error on a database failure.
std::optional<std::vector<PreviewSample>> loadPreviewItems(Database &db, int checkTypeId,
                                                           const QString &kind, QString *error);

// The samples drawn by the print engine onto a transparent picture of the paper at `ppi`,
// without the whole-slip offset: each where it prints, in its font, broken and spaced as it
// prints. An item the engine cannot print is told through `ui` and left out.
QImage paintSamples(Database &db, Ui &ui, Settings &settings, int checkTypeId,
                    const std::vector<PreviewSample> &samples, QSize paperPixels, int ppi);

} // namespace PreviewData

// The sample texts of a kind's dictionary (ID, CtlName, 项目名, 内容), where 内容 can be edited:
// an edit is written to NameDict at once, so it serves every template of the kind.
class PreviewSampleModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    static constexpr int kIdColumn = 0;
    static constexpr int kNameColumn = 1;
    static constexpr int kLabelColumn = 2;
    static constexpr int kDataColumn = 3;

    explicit PreviewSampleModel(Database &db, QObject *parent = nullptr);

    // Lists the kind's entries; false with *error when the query failed.
    bool load(const QString &kind, QString *error);
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

Q_SIGNALS:
    void editFailed(const QString &error);

private:
    Database &m_db;
    // Stored edits by row, shown without reading the query again, which would reset the view.
    QHash<int, QString> m_edited;
};
