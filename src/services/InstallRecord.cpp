#include "services/InstallRecord.h"

#include <QSettings>

namespace InstallRecord {

bool update(QSettings &store, const QString &runDir, const QString &version,
            const QString &fullPath)
{
    // A missing value reads as "空", as the record has always been read.
    const QString missing = QStringLiteral("空");
    store.beginGroup(QString::fromLatin1(kProductGroup));
    if (store.value(QStringLiteral("RunPath"), missing).toString() != runDir)
        store.setValue(QStringLiteral("RunPath"), runDir);
    if (store.value(QStringLiteral("Version"), missing).toString() != version)
        store.setValue(QStringLiteral("Version"), version);
    store.setValue(QStringLiteral("FullPath"), fullPath);
    store.endGroup();
    store.sync();
    return store.status() == QSettings::NoError && store.isWritable();
}

} // namespace InstallRecord
