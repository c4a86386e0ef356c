#include "AsNobody.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

// This test program, copied into a folder that user may read, with that folder as its home and
// temporary folder.
QString failureAsNobody(const QString &testName)
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("tests"));
    if (!QFile::copy(QCoreApplication::applicationFilePath(), program))
        return QStringLiteral("cannot copy the test program");
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                          QFileDevice::WriteOther | QFileDevice::ExeOther);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir.path());
    env.insert(QStringLiteral("TMPDIR"), dir.path());
    QProcess run;
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QStringLiteral("setpriv"),
              {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
               QStringLiteral("--clear-groups"), program, u"--gtest_filter=" + testName});
    // A guard only: the case takes a moment.
    if (!run.waitForFinished(60000))
        return u"did not end: " + run.errorString();
    const QString output = QString::fromLocal8Bit(run.readAll());
    if (run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0 ||
        !output.contains(QStringLiteral("[  PASSED  ] 1 test")))
        return output.isEmpty() ? run.errorString() : output;
    return {};
}
