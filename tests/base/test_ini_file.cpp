#include "base/Gbk.h"
#include "base/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
