#include "SkipReasons.h"

#include <QGuiApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    // Test programs live apart from the program, so they name the reader helper they use.
    if (qEnvironmentVariableIsEmpty("LANYAN_READER"))
        qputenv("LANYAN_READER", LANYAN_READER_PATH);
    // The install record is written by the frame; keep it out of the real user's settings.
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return runAllTests();
}
