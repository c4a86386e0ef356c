#include "data/DatabaseChoice.h"

#include "base/DataHome.h"
#include "base/IniFile.h"

#include <QFile>
#include <QSysInfo>

namespace {

const QString kSection = QStringLiteral("Database");
const QString kLocal = QStringLiteral("本机数据库");
const QString kShared = QStringLiteral("共享数据库");

} // namespace

QString DatabaseChoice::passwordPath(const DataHome &home)
{
    return home.dataDir() + u"SharedDatabase.pass";
}

QString DatabaseChoice::workstation(const IniFile &config)
{
    const QString name = config.readString(kSection, QStringLiteral("Workstation"), {}).trimmed();
    return name.isEmpty() ? QSysInfo::machineHostName() : name;
}

DatabaseChoice DatabaseChoice::read(const IniFile &config, const DataHome &home)
{
    DatabaseChoice c;
    // The server stays on record after a switch back to the local file, for the way over again.
    if (config.readString(kSection, QStringLiteral("Kind"), kLocal).trimmed() == kShared)
        c.kind = Kind::Shared;
    c.server.host = config.readString(kSection, QStringLiteral("Host"), {}).trimmed();
    c.server.port = config.readInteger(kSection, QStringLiteral("Port"), 5432);
    c.server.database = config.readString(kSection, QStringLiteral("Name"), {}).trimmed();
    c.server.user = config.readString(kSection, QStringLiteral("User"), {}).trimmed();
    c.server.schema = config.readString(kSection, QStringLiteral("Schema"), {}).trimmed();
    QFile pass(passwordPath(home));
    if (pass.open(QIODevice::ReadOnly))
        c.server.password = QString::fromUtf8(pass.readAll()).trimmed();
    return c;
}

QString DatabaseChoice::write(IniFile &config, const DataHome &home) const
{
    const bool shared = kind == Kind::Shared;
    QFile pass(passwordPath(home));
    if (shared && !server.password.isEmpty()) {
        // Made for the owner only before a byte of the password is in it.
        const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
        if (!pass.open(QIODevice::WriteOnly | QIODevice::Truncate, ownerOnly) ||
            !pass.setPermissions(ownerOnly) || pass.write(server.password.toUtf8()) < 0 ||
            !pass.flush())
            return u"密码文件无法写入：" + pass.fileName() + u"（" + pass.errorString() + u"）";
        pass.close();
    } else if (pass.exists() && !pass.remove()) {
        return u"旧的密码文件无法删除：" + pass.fileName();
    }
    {
        IniFile::Batch batch(config);
        config.writeString(kSection, QStringLiteral("Kind"), shared ? kShared : kLocal);
        if (shared) {
            config.writeString(kSection, QStringLiteral("Host"), server.host);
            config.writeInteger(kSection, QStringLiteral("Port"), server.port);
            config.writeString(kSection, QStringLiteral("Name"), server.database);
            config.writeString(kSection, QStringLiteral("User"), server.user);
            config.writeString(kSection, QStringLiteral("Schema"), server.schema);
        }
    }
    if (!config.flush())
        return u"工作站设置无法保存：" + config.path();
    return {};
}
