#pragma once

#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QString>
#include <QTcpServer>

// For windows that start the program itself as a local service.
namespace LocalService {

// The program (`lanyan`), built beside its reader helper.
inline QString programPath()
{
    return QFileInfo(QStringLiteral(LANYAN_READER_PATH)).dir().filePath(QStringLiteral("lanyan"));
}

// A loopback port nothing listens on just now.
inline quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace LocalService
