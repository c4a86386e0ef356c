#pragma once

#include "base/ReaderProcess.h"
#include "data/TableSource.h"

#include <QTemporaryDir>
#include <optional>
#include <vector>

// An Access (Jet) database: older installations' databases and the template packages of the
// older release. Read only. mdbtools allocates without bound or crashes on some damaged files,
// so the reader helper copies the whole file out once, under limits, and it is read from there.
class JetTableSource : public TableSource
{
public:
    // "Standard Jet DB" or "Standard ACE DB" after the four magic bytes.
    static bool isJetHeader(const QByteArray &head);
    // `progress` is called while the helper reads the file, and may stop it.
    static std::unique_ptr<JetTableSource> open(const QString &path, QString *error,
                                                const ReaderProcess::Progress &progress = {},
                                                const ReaderProcess::Limits &limits = {});
    // Reads the helper's answers (ReaderProtocol) left in `folder`, which the caller keeps
    // while the source lives; null with *error where they break the format.
    static std::unique_ptr<JetTableSource> fromAnswers(const QString &folder, QString *error);

    QStringList tableNames() const override;
    QStringList columnNames(const QString &table) const override;
    bool forEachRow(const QString &table, const std::optional<Filter> &filter, const Visit &visit,
                    QString *error) const override;

private:
    JetTableSource() = default;
    // False with *error when the helper refused the file or its table list breaks the format.
    bool readTables(QString *error);
    int tableIndex(const QString &table) const;

    struct Table
    {
        QString name;
        QStringList columns;
    };
    std::optional<QTemporaryDir> m_dir; // the helper's answers, removed with the source
    QString m_folder;                   // where the answers are
    std::vector<Table> m_tables;
};
