#pragma once

#include "TestHome.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariantMap>
#include <gtest/gtest.h>

// Small fixtures for the template tables: a home whose catalogue holds only what a test puts in.
class TemplateRows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *table : {"ckTypeTable", "CKControl", "NameDict", "DMTable"})
            exec(u"delete from " + QString::fromLatin1(table));
    }

    void exec(const QString &sql) { ASSERT_TRUE(home.db().query().exec(sql)) << sql.toStdString(); }

    // Inserts one row; values are bound, so quotes in them are plain characters.
    void insert(const QString &table, const QVariantMap &row)
    {
        QStringList marks;
        for (qsizetype i = 0; i < row.size(); ++i)
            marks << QStringLiteral("?");
        QSqlQuery q = home.db().query();
        q.prepare(u"insert into " + table + u" (" + row.keys().join(u", ") + u") values (" +
                  marks.join(u", ") + u")");
        for (const QVariant &v : row)
            q.addBindValue(v);
        ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
    }

    void addTemplate(int id, const QString &kind, const QString &describe,
                     const QString &visiable = QStringLiteral("启用"),
                     const QString &isDefault = QStringLiteral("0"),
                     const QString &isCommon = QStringLiteral("是"))
    {
        insert("ckTypeTable", {{"CheckTypeID", id},
                               {"TypeFirstName", kind},
                               {"TypeDescribe", describe},
                               {"TypeName", Catalogue::fullTypeName(kind, describe)},
                               {"Visiable", visiable},
                               {"IsDefault", isDefault},
                               {"IsCommon", isCommon}});
    }

    void addDictItem(const QString &kind, const QString &name, int showOrd)
    {
        insert("NameDict", {{"CheckTypeName", kind},
                            {"CtlName", name},
                            {"CtlType", "TEXT"},
                            {"PrintItem", 1},
                            {"ShowOrd", showOrd}});
    }

    void addItem(int id, const QString &name, int x, int y, int w, int h, int show,
                 const QVariant &initValue = {})
    {
        insert("CKControl", {{"CheckTypeID", id},
                             {"CtlName", name},
                             {"SrcX", x},
                             {"SrcY", y},
                             {"SrcW", w},
                             {"SrcH", h},
                             {"NeedShow", show},
                             {"InitValue", initValue}});
    }

    TestHome home;
    Catalogue &catalogue() { return home.services().catalogue(); }
};
