#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariantMap>
#include <gtest/gtest.h>

// A template package written by hand, with the tables a test asks for.
class PackageFile
{
public:
    explicit PackageFile(const QString &path)
        : m_name(QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", m_name);
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
    }
    ~PackageFile()
    {
        QSqlDatabase::database(m_name).close();
        QSqlDatabase::removeDatabase(m_name);
    }

    void exec(const QString &sql)
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        EXPECT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
    }

    // The tables as the older release wrote them; without the kind column when asked.
    void createTables(bool withConfig = true, bool withKind = true)
    {
        exec(QStringLiteral("create table _ckTypeTable (CheckTypeID INTEGER, typename TEXT, %1 "
                            "TypeDescribe TEXT, xmove INTEGER, ymove INTEGER, theight INTEGER, "
                            "twidth INTEGER, hvPrint TEXT, ImgFile TEXT, visiable TEXT, "
                            "CheckBoxs TEXT, IsCommon TEXT, ShowOrd TEXT, IsDefault TEXT, "
                            "Img_Bytes BLOB, Ini_Text TEXT)")
                 .arg(withKind ? "TypeFirstName TEXT," : ""));
        exec("create table _ckControl (CheckTypeID INTEGER, CtlName TEXT, CtlCName TEXT, CtlType "
             "TEXT, CtlX, CtlY, CtlH, CtlW, CtlLH, SrcX, SrcY, SrcH, SrcW, NeedPrint, NeedShow, "
             "CtlFontName TEXT, CtlFontSize, BreakFontSize, Bold, Italic, UnderLine, fitParam "
             "TEXT, BreakNum TEXT, ShowOrd)");
        if (withConfig)
            exec("create table _config (Id INTEGER PRIMARY KEY, DMName TEXT, DMValue TEXT, "
                 "CheckTypeId INTEGER)");
    }

    void insert(const QString &table, const QVariantMap &row)
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        QStringList marks(row.size(), "?");
        ASSERT_TRUE(q.prepare("insert into " + table + " (" + row.keys().join(',') + ") values (" +
                              marks.join(',') + ")"))
            << q.lastError().text().toStdString();
        for (const QVariant &v : row)
            q.addBindValue(v);
        ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
    }

    void addTemplate(int id, const QString &name, const QByteArray &picture,
                     const QVariantMap &more = {})
    {
        QVariantMap row{{"CheckTypeID", id},   {"typename", name},    {"xmove", 12},
                        {"ymove", -3},         {"theight", 400},      {"twidth", 800},
                        {"hvPrint", "0"},      {"ImgFile", "x.jpg"},  {"CheckBoxs", "文件,物品"},
                        {"IsDefault", "默认"}, {"Img_Bytes", picture}};
        for (auto it = more.begin(); it != more.end(); ++it)
            row[it.key()] = it.value();
        insert("_ckTypeTable", row);
    }

    void addItem(int id, const QString &name, const QVariantMap &more = {})
    {
        QVariantMap row{{"CheckTypeID", id},     {"CtlName", name},  {"CtlX", 100},
                        {"CtlY", 200},           {"CtlH", 50},       {"CtlW", 300},
                        {"CtlFontName", "宋体"}, {"CtlFontSize", 10}};
        for (auto it = more.begin(); it != more.end(); ++it)
            row[it.key()] = it.value();
        insert("_ckControl", row);
    }

    void addSetting(int id, const QString &name, const QString &value)
    {
        insert("_config", {{"CheckTypeId", id}, {"DMName", name}, {"DMValue", value}});
    }

private:
    QString m_name;
};
