#pragma once

#include "RecordingPrintDevice.h"
#include "TestHome.h"
#include "print/PrintEngine.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariantMap>
#include <gtest/gtest.h>

// A data home whose print engine draws on a recording device, and helpers that put a
// template of our own into the database.
class PrintFixture : public ::testing::Test
{
protected:
    static constexpr int kTemplate = 901;

    void SetUp() override
    {
        auto recorder = std::make_unique<RecordingPrintDevice>();
        device = recorder.get();
        engine().setDevice(std::move(recorder));
    }

    PrintEngine &engine() { return home.services().printEngine(); }

    void exec(const QString &sql, const QVariantMap &values)
    {
        QSqlQuery q = home.db().query();
        ASSERT_TRUE(q.prepare(sql)) << q.lastError().text().toStdString();
        for (auto it = values.begin(); it != values.end(); ++it)
            q.bindValue(u':' + it.key(), it.value());
        ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
    }

    void addTemplate(int id, int xMove, int yMove, const QString &hv = "0", int width = 2300,
                     int height = 1270)
    {
        exec("insert into ckTypeTable (CheckTypeID, TypeName, XMove, YMove, HVPrint, PWidth, "
             "PHeight) values (:id, :name, :x, :y, :hv, :w, :h)",
             {{"id", id},
              {"name", "测试模板"},
              {"x", xMove},
              {"y", yMove},
              {"hv", hv},
              {"w", width},
              {"h", height}});
    }

    // An item at (x, y) in 宋体 10 unless `more` says otherwise (CKControl column names).
    void addItem(int id, const QString &name, int x, int y, const QVariantMap &more = {})
    {
        QVariantMap row{
            {"CheckTypeID", id},     {"CtlName", name},   {"CtlX", x},          {"CtlY", y},
            {"CtlFontName", "宋体"}, {"CtlFontSize", 10}, {"BreakFontSize", 8}, {"CtlLH", 40}};
        for (auto it = more.begin(); it != more.end(); ++it)
            row[it.key()] = it.value();
        const QStringList columns = row.keys();
        exec("insert into CKControl (" + columns.join(',') + ") values (:" + columns.join(",:") +
                 ")",
             row);
    }

    void addDictItem(const QString &kind, const QString &name, const QString &type, int order)
    {
        exec("insert into NameDict (CheckTypeName, CtlName, CtlType, PrintItem, ShowOrd) "
             "values (:kind, :name, :type, 1, :ord)",
             {{"kind", kind}, {"name", name}, {"type", type}, {"ord", order}});
    }

    TestHome home;
    RecordingPrintDevice *device = nullptr;
};
