#include "print/TemplateVersionStore.h"

#include "data/BoundQuery.h"
#include "data/Database.h"

#include <QDateTime>
#include <QSqlError>

TemplateVersionStore::TemplateVersionStore(Database &db)
    : m_db(db)
{}

int TemplateVersionStore::record(const TemplateVersion &version, QString *error) const
{
    const QByteArray json = version.toJson();
    const QString fingerprint = QString::fromLatin1(version.fingerprint());
    QSqlQuery q = m_db.query();
    if (execBound(q,
                  QStringLiteral("INSERT INTO TemplateVersionTable (CheckTypeID, Fingerprint, "
                                 "Content, FirstUsed) VALUES (?, ?, ?, ?) ON CONFLICT "
                                 "(Fingerprint) DO NOTHING"),
                  {version.checkTypeId, fingerprint, QString::fromUtf8(json),
                   QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))}) &&
        execBound(
            q, QStringLiteral("SELECT VersionID FROM TemplateVersionTable WHERE Fingerprint = ?"),
            {fingerprint}) &&
        q.next())
        return q.value(0).toInt();
    *error = q.lastError().text();
    return 0;
}

std::optional<TemplateVersion> TemplateVersionStore::load(int versionId, QString *error) const
{
    QSqlQuery q = m_db.query();
    if (!execBound(q,
                   QStringLiteral("SELECT Content FROM TemplateVersionTable WHERE VersionID = ?"),
                   {versionId})) {
        *error = q.lastError().text();
        return std::nullopt;
    }
    if (!q.next()) {
        *error = QStringLiteral("没有第 %1 号模板版本").arg(versionId);
        return std::nullopt;
    }
    std::optional<TemplateVersion> version =
        TemplateVersion::fromJson(q.value(0).toString().toUtf8());
    if (!version)
        *error = QStringLiteral("第 %1 号模板版本已损坏").arg(versionId);
    return version;
}
