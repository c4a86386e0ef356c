#include "base/FileHelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(FileHelpers, CopyCreatesOrOverwritesTheWholeTarget)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("a.jpg");
    const QString target = dir.filePath("b.jpg");
    QByteArray picture(200000, '\0');
    picture[0] = '\xff';
    picture[199999] = '\xd9';
    write(source, picture);

    ASSERT_TRUE(FileHelpers::copyFile(source, target));
    EXPECT_EQ(read(target), picture);

    // A longer old target is replaced, not just written over at its start.
    write(target, QByteArray(300000, 'x'));
    write(source, "short");
    ASSERT_TRUE(FileHelpers::copyFile(source, target));
    EXPECT_EQ(read(target), "short");
}

TEST(FileHelpers, FailedCopyIsReportedAndLeavesTheTargetAlone)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("b.jpg");
    write(target, "kept");
    QString error;
    EXPECT_FALSE(FileHelpers::copyFile(dir.filePath("missing.jpg"), target, &error));
    EXPECT_TRUE(error.contains("missing.jpg")) << error.toStdString();
    EXPECT_EQ(read(target), "kept");

    write(dir.filePath("a.jpg"), "data");
    EXPECT_FALSE(FileHelpers::copyFile(dir.filePath("a.jpg"), dir.filePath("no/such/b.jpg")));
}

TEST(FileHelpers, ListingNamesThePlainFilesMatchingThePattern)
{
    QTemporaryDir dir;
    for (const char *name : {"b.jpg", "A.JPG", "c.txt", ".hidden.jpg", "sys_bg.jpg"})
        write(dir.filePath(name), "x");
    QDir(dir.path()).mkdir("folder.jpg");

    EXPECT_EQ(FileHelpers::listFiles(dir.path(), "*.jpg"),
              QStringList({"A.JPG", "b.jpg", "sys_bg.jpg"}));
    EXPECT_EQ(FileHelpers::listFiles(dir.path(), "*"),
              QStringList({"A.JPG", "b.jpg", "c.txt", "sys_bg.jpg"}));
    EXPECT_TRUE(FileHelpers::listFiles(dir.path(), "*.ini").isEmpty());
    EXPECT_TRUE(FileHelpers::listFiles({}, "*.jpg").isEmpty());
    EXPECT_TRUE(FileHelpers::listFiles(dir.filePath("missing"), "*.jpg").isEmpty());
}
