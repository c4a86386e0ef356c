#include "AsNobody.h"
#include "base/Gbk.h"
#include "base/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

} // namespace

TEST(IniFile, WritesGbkAtOnceAndMatchesNamesWithoutCase)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Config.ini");
    IniFile ini(path);
    ASSERT_TRUE(ini.writeString("FM_Main", "ToolBarMain", QStringLiteral("快递单")));

    EXPECT_TRUE(readAll(path).contains(Gbk::encode(QStringLiteral("快递单"))));
    IniFile other(path);
    EXPECT_EQ(other.readString("fm_main", "TOOLBARMAIN"), QStringLiteral("快递单"));

    other.writeString("FM_MAIN", "toolbarmain", "0");
    EXPECT_EQ(other.keys("fm_main").size(), 1);
    EXPECT_EQ(other.sections().size(), 1);
}

TEST(IniFile, IntegersFallBackToTheDefault)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    writeAll(path, "[s]\r\ngood= 42 \r\nbad=12abc\r\nempty=\r\nneg=-1\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("s", "good", 7), 42);
    EXPECT_EQ(ini.readInteger("s", "bad", 7), 7);
    EXPECT_EQ(ini.readInteger("s", "empty", 7), 7);
    EXPECT_EQ(ini.readInteger("s", "missing", 7), 7);
    EXPECT_EQ(ini.readInteger("nosuch", "good", 7), 7);
    EXPECT_EQ(ini.readInteger("s", "neg", 7), -1);
}

TEST(IniFile, HandEditedOrBinaryFilesReadWithoutCrashing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("broken.ini");
    QByteArray junk("key-before-any-section=1\n[unclosed\n=novalue\n[ok]\nk=v\n\xff\xfe\x00\x81");
    writeAll(path, junk);
    IniFile ini(path);
    EXPECT_EQ(ini.readString("ok", "k"), QStringLiteral("v"));
    EXPECT_TRUE(ini.readString("unclosed", "x").isEmpty());

    IniFile missing(dir.filePath("nothing/here.ini"));
    EXPECT_EQ(missing.readInteger("a", "b", 5), 5);
    EXPECT_FALSE(missing.writeString("a", "b", "c")); // folder does not exist: reported, no crash
}

TEST(IniFile, BatchWritesOnceWhenItEnds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cache.ini");
    IniFile ini(path);
    {
        IniFile::Batch batch(ini);
        ini.writeInteger("items", "a", 1);
        ini.writeString("items", "b", "line one\nline two");
        EXPECT_FALSE(QFile::exists(path));
    }
    IniFile reread(path);
    EXPECT_EQ(reread.readInteger("items", "a", 0), 1);
    EXPECT_EQ(reread.readString("items", "b"), QStringLiteral("line one line two"));
}

TEST(IniFile, ManyKeysAndSectionsKeepTheirLookUpsThroughChanges)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Config.ini");
    QByteArray text = "[Big]\r\n";
    for (int i = 0; i < 100'000; ++i)
        text += "Key" + QByteArray::number(i) + '=' + QByteArray::number(i) + "\r\n";
    text += "KEY5=second of two\r\n"; // the first of two equal keys holds
    for (int i = 0; i < 2'000; ++i)
        text += "[S" + QByteArray::number(i) + "]\r\nk=" + QByteArray::number(i) + "\r\n";
    writeAll(path, text);

    IniFile ini(path);
    EXPECT_EQ(ini.keys("big").size(), 100'000);
    EXPECT_EQ(ini.readInteger("BIG", "key99999", -1), 99'999);
    EXPECT_EQ(ini.readString("big", "Key5"), "5");
    EXPECT_EQ(ini.readInteger("s1999", "K", -1), 1'999);

    // Removing shifts what follows; every later key and section must still be found.
    ASSERT_TRUE(ini.deleteKey("Big", "Key10"));
    ASSERT_TRUE(ini.eraseSection("S10"));
    EXPECT_FALSE(ini.valueExists("Big", "Key10"));
    EXPECT_EQ(ini.readInteger("Big", "Key11", -1), 11);
    EXPECT_EQ(ini.readInteger("Big", "Key99999", -1), 99'999);
    EXPECT_FALSE(ini.sectionExists("S10"));
    EXPECT_EQ(ini.readInteger("S11", "k", -1), 11);
    EXPECT_EQ(ini.readInteger("S1999", "k", -1), 1'999);
    ASSERT_TRUE(ini.writeString("s1999", "k", "changed"));
    ASSERT_TRUE(ini.writeString("Big", "New", "added"));

    IniFile reread(path);
    EXPECT_EQ(reread.keys("Big").size(), 100'000);
    EXPECT_EQ(reread.sections().size(), 2'000);
    EXPECT_EQ(reread.readString("S1999", "k"), "changed");
    EXPECT_EQ(reread.readString("big", "new"), "added");
    EXPECT_EQ(reread.keys("Big").last(), "New");
}

TEST(IniFile, AFileThatCannotBeReadIsReportedAndNeverWrittenOver)
{
    if (geteuid() == 0) {
        const QString failure = failureAsNobody(
            QStringLiteral("IniFile.AFileThatCannotBeReadIsReportedAndNeverWrittenOver"));
        EXPECT_TRUE(failure.isEmpty()) << failure.toStdString();
        return;
    }
    QTemporaryDir dir;
    // A folder where the file should be: it exists, but is no file to read.
    const QString folder = dir.filePath("Config.ini");
    ASSERT_TRUE(QDir().mkdir(folder));
    IniFile inFolder(folder);
    EXPECT_FALSE(inFolder.isReadable());
    EXPECT_FALSE(inFolder.readError().isEmpty());

    const QString path = dir.filePath("locked.ini");
    const QByteArray kept = "[Online]\r\nHost=bills.example\r\n";
    writeAll(path, kept);
    QFile::setPermissions(path, QFile::WriteOwner);
    ASSERT_FALSE(QFile(path).open(QIODevice::ReadOnly)) << "this user reads unreadable files";
    IniFile ini(path);
    EXPECT_FALSE(ini.isReadable());
    EXPECT_TRUE(ini.readString("Online", "Host").isEmpty());
    EXPECT_FALSE(ini.writeString("Online", "Other", "1"));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(readAll(path), kept);
    ini.reload();
    EXPECT_TRUE(ini.isReadable());
    EXPECT_EQ(ini.readString("Online", "Host"), "bills.example");
}
