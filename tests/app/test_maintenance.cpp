#include "../templates/TemplateRows.h"
#include "base/IniFile.h"
#include "services/Maintenance.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QTemporaryDir>

class MaintenanceTools : public TemplateRows
{
protected:
    const DataHome &dataHome() { return home.services().home(); }
    void touch(const QString &name)
    {
        QFile f(dataHome().imageDir() + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    int count(const QString &sql)
    {
        QSqlQuery q = home.db().query();
        EXPECT_TRUE(q.exec(sql) && q.next()) << sql.toStdString();
        return q.value(0).toInt();
    }
};

TEST_F(MaintenanceTools, PicturesNoTemplateUsesGoExceptSystemAndShippedOnes)
{
    addTemplate(1, "快递单", "甲");
    exec("update ckTypeTable set ImgFile = 'xabc.jpg.bak' where CheckTypeID = 1");
    addTemplate(2, "快递单", "乙");
    exec("update ckTypeTable set ImgFile = 'kdd2.jpg' where CheckTypeID = 2");
    for (const char *name :
         {"abc.jpg", "kdd2.jpg", "orphan.jpg", "my_SyS_logo.jpg", "SYS_x.jpg", "notes.txt"})
        touch(name);
    const QStringList removed = Maintenance::clearUnusedPictures(home.db(), dataHome());
    EXPECT_EQ(removed, QStringList{"orphan.jpg"});
    const QStringList left = QDir(dataHome().imageDir()).entryList(QDir::Files);
    for (const char *kept : {"abc.jpg", "kdd2.jpg", "my_SyS_logo.jpg", "SYS_x.jpg", "notes.txt",
                             "dhd_default.jpg", "exHX.jpg", "kdd_feiyan.jpg"})
        EXPECT_TRUE(left.contains(kept)) << kept;
}

TEST_F(MaintenanceTools, ClearingCachesDropsOrphansAndCachesAreRebuilt)
{
    addDictItem("快递单", "ZDSKR", 1);
    addTemplate(1, "快递单", "甲");
    addItem(1, "zdSkr", 10, 20, 30, 40, 1);
    addItem(1, "ZDGONE", 1, 1, 1, 1, 1);
    addTemplate(2, "旧种类", "丙");
    addItem(9, "ZDSKR", 1, 1, 1, 1, 1);
    insert("DMTable", {{"DMName", "cfgX"}, {"DMValue", "1"}, {"CheckTypeID", 9}});
    insert("DMTable", {{"DMName", "全局"}, {"DMValue", "1"}, {"CheckTypeID", 0}});

    ASSERT_TRUE(catalogue().OpenCheckInif(1));
    {
        IniFile stale(catalogue().layoutCachePath(1));
        stale.writeString("viewx", "ZDSKR.x", "999");
        stale.flush();
    }
    QString error;
    ASSERT_TRUE(Maintenance::clearTemplateCaches(home.db(), &error)) << error.toStdString();
    EXPECT_EQ(count("select count(*) from ckTypeTable"), 1);
    EXPECT_EQ(count("select count(*) from CKControl"), 1);
    EXPECT_EQ(count("select count(*) from DMTable where CheckTypeID = 9"), 0);
    EXPECT_EQ(count("select count(*) from DMTable where CheckTypeID = 0"), 1);
    EXPECT_EQ(count("select count(*) from ckTypeTable where IniFile <> ''"), 0);

    const auto cache = catalogue().OpenCheckInif(1);
    ASSERT_TRUE(cache);
    EXPECT_EQ(cache->readString("viewx", "ZDSKR.x"), "10");
}

TEST_F(MaintenanceTools, RepairKeepsACopyChecksAndCompacts)
{
    addTemplate(1, "快递单", "甲");
    const Maintenance::RepairResult r = Maintenance::repairDatabase(home.db(), dataHome());
    if (TestHome::onServer()) {
        // The server keeps its own backups: nothing is copied, and the clerk is told why.
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.error.contains("共享数据库由其服务器维护")) << r.error.toStdString();
        EXPECT_TRUE(r.backupPath.isEmpty());
        EXPECT_EQ(count("select count(*) from ckTypeTable"), 1);
        return;
    }
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.integrity, "ok");
    {
        QSqlDatabase copy = QSqlDatabase::addDatabase("QSQLITE", "repair-copy");
        copy.setDatabaseName(r.backupPath);
        ASSERT_TRUE(copy.open());
        QSqlQuery q(copy);
        ASSERT_TRUE(q.exec("select TypeName from ckTypeTable") && q.next());
        EXPECT_EQ(q.value(0).toString(), "快递单（甲）");
    }
    QSqlDatabase::removeDatabase("repair-copy");
    EXPECT_EQ(count("select count(*) from ckTypeTable"), 1);
}

TEST(DesktopTools, NoCalculatorOnAnEmptyPath)
{
    QTemporaryDir empty;
    EXPECT_TRUE(Maintenance::findCalculator({empty.path()}).isEmpty());
    EXPECT_FALSE(Maintenance::lockScreenCommands().isEmpty());
}
