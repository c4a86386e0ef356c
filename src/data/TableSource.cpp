#include "data/TableSource.h"

#include "data/JetTableSource.h"
#include "data/SqliteTableSource.h"

#include <QFile>

TableSource::Format TableSource::detect(const QByteArray &head)
{
    if (head.startsWith(QByteArray("SQLite format 3\0", 16)))
        return Format::Sqlite;
    if (JetTableSource::isJetHeader(head))
        return Format::Jet;
    return Format::Unknown;
}

TableSource::Format TableSource::detectFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Format::Unknown;
    return detect(file.read(32));
}

std::unique_ptr<TableSource> TableSource::open(const QString &path, QString *error,
                                               const ReaderProcess::Progress &progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = u"无法打开文件：" + file.errorString();
        return nullptr;
    }
    if (file.size() > kMaxFileBytes) {
        *error = QStringLiteral("文件超过 %1 MB").arg(kMaxFileBytes >> 20);
        return nullptr;
    }
    const Format format = detect(file.read(32));
    file.close();
    std::unique_ptr<TableSource> source;
    if (format == Format::Sqlite)
        source = SqliteTableSource::open(path, error);
    else if (format == Format::Jet)
        source = JetTableSource::open(path, error, progress);
    else
        *error = QStringLiteral("不是可识别的数据库文件");
    return source;
}

bool TableSource::hasTable(const QString &table) const
{
    return tableNames().contains(table, Qt::CaseInsensitive);
}
