#include "../print/PdfWords.h"
#include "PackageFile.h"
#include "RefusingTrigger.h"
#include "TemplateRows.h"
#include "base/DataHome.h"
#include "print/PdfPrint.h"
#include "templates/TemplateExport.h"
#include "templates/TemplateImport.h"
#include "templates/TemplateManager.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSqlRecord>

namespace {

QByteArray jpeg(QColor colour = Qt::red)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every row of a statement, each as column name (in lower case, as the server answers it) to
// text.
std::vector<QVariantMap> rows(Database &db, const QString &sql, const QStringList &skip = {})
{
    std::vector<QVariantMap> result;
    QSqlQuery q = db.query();
    EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
    while (q.next()) {
        QVariantMap row;
        const QSqlRecord r = q.record();
        for (int i = 0; i < r.count(); ++i)
            if (!skip.contains(r.fieldName(i), Qt::CaseInsensitive))
                row.insert(r.fieldName(i).toLower(), r.value(i).toString());
        result.push_back(row);
    }
    return result;
}

} // namespace

class TemplatePackages : public TemplateRows
{
protected:
    QString package() const { return home.path() + "包.lyb"; }
    TemplateImport importer()
    {
        return TemplateImport(home.db(), catalogue(), home.services().home());
    }
    QString imageDir() { return home.services().home().imageDir(); }
    int count(const QString &sql)
    {
        QSqlQuery q = home.db().query();
        EXPECT_TRUE(q.exec(sql) && q.next()) << sql.toStdString();
        return q.value(0).toInt();
    }
};

// Export, delete, import: the three shipped templates come back as they were and the express
// slip prints at the same places.
TEST(TemplatePackageRoundTrip, ShippedTemplatesComeBackWholeAndPrintAlike)
{
    TestHome home;
    Database &db = home.db();
    const DataHome &dataHome = home.services().home();
    const QStringList names = TemplateExport::localTemplateNames(db);
    ASSERT_EQ(names.size(), 3);

    const QStringList changedByImport{"CheckTypeID", "ImgFile", "IniFile", "IsDefault", "ShowOrd"};
    auto templateRow = [&](const QString &name) {
        return rows(db, "select * from ckTypeTable where TypeName = '" + name + "'",
                    changedByImport)
            .at(0);
    };
    auto idOf = [&](const QString &name) {
        return home.services().catalogue().loadCheckTypeIDByTypeFullName(name);
    };
    auto itemsOf = [&](const QString &name) {
        return rows(db,
                    "select * from CKControl where CheckTypeID = " + idOf(name) + " order by ID",
                    {"ID", "CheckTypeID"});
    };
    auto settingsOf = [&](const QString &name) {
        return rows(db, "select DMName, DMValue from DMTable where CheckTypeID = " + idOf(name) +
                            " order by ID");
    };
    auto pictureOf = [&](const QString &name) {
        return fileBytes(
            dataHome.imageDir() +
            rows(db, "select ImgFile from ckTypeTable where CheckTypeID = " + idOf(name))
                .at(0)
                .value("imgfile")
                .toString());
    };
    const QString express = QStringLiteral("快递单（飞燕速递）");
    auto printExpress = [&](const QString &pdf) {
        BillValues bill;
        for (const DictItem &d : home.services().catalogue().loadDictItems("快递单", true))
            bill.set(d.ctlName, d.ctlName.left(6));
        EXPECT_TRUE(printBillsToPdf(db, home.ui, home.settings(), BillKind::ExpressSlip,
                                    idOf(express).toInt(), {bill}, pdf));
        return readPdfWords(pdf);
    };

    std::map<QString, std::tuple<QVariantMap, std::vector<QVariantMap>, std::vector<QVariantMap>,
                                 QByteArray>>
        before;
    for (const QString &name : names) {
        before[name] = {templateRow(name), itemsOf(name), settingsOf(name), pictureOf(name)};
        ASSERT_FALSE(std::get<1>(before[name]).empty());
        ASSERT_FALSE(std::get<3>(before[name]).isEmpty());
    }
    const auto printedBefore = printExpress(home.path() + "before.pdf");
    ASSERT_EQ(printedBefore.size(), 1u);
    ASSERT_GT(printedBefore[0].words.size(), 10u);

    const QString path = home.path() + "shipped.lyb";
    {
        TemplateExport exporter(db, dataHome);
        QString error;
        ASSERT_TRUE(exporter.begin(path, "10.3", &error)) << error.toStdString();
        for (const QString &name : names) {
            const TemplateExport::Result r = exporter.exportOne(name);
            EXPECT_TRUE(r.exported && r.pictureError.isEmpty()) << r.error.toStdString();
        }
        EXPECT_FALSE(QFile::exists(path)) << "the package takes its name only when complete";
        ASSERT_TRUE(exporter.finish(&error)) << error.toStdString();
    }
    EXPECT_EQ(QDir(home.path()).entryList({"shipped.lyb*"}, QDir::Files),
              QStringList{"shipped.lyb"});

    TemplateManager manager(db, home.services().catalogue(), dataHome);
    for (const QString &name : names) {
        QString error;
        ASSERT_EQ(manager.deleteTemplate(idOf(name).toInt(), &error),
                  TemplateManager::Deleted::Yes);
    }
    ASSERT_TRUE(TemplateExport::localTemplateNames(db).isEmpty());

    TemplateImport importer(db, home.services().catalogue(), dataHome);
    QString error;
    ASSERT_TRUE(importer.open(path, &error)) << error.toStdString();
    EXPECT_EQ(importer.version(), "V928");
    QStringList inPackage;
    ASSERT_TRUE(importer.templateNames(&inPackage, &error));
    EXPECT_EQ(inPackage, names);
    for (const QString &name : names) {
        const TemplateImport::Result r = importer.importOne(name);
        EXPECT_TRUE(r.imported && r.settingsError.isEmpty()) << r.error.toStdString();
    }
    for (const QString &name : names) {
        const auto &[row, items, settings, picture] = before[name];
        EXPECT_EQ(templateRow(name), row) << name.toStdString();
        EXPECT_EQ(itemsOf(name), items) << name.toStdString();
        EXPECT_EQ(settingsOf(name), settings) << name.toStdString();
        EXPECT_EQ(pictureOf(name), picture) << name.toStdString();
    }

    const auto printedAfter = printExpress(home.path() + "after.pdf");
    ASSERT_EQ(printedAfter.size(), 1u);
    EXPECT_EQ(printedAfter[0].sizeMm, printedBefore[0].sizeMm);
    ASSERT_EQ(printedAfter[0].words.size(), printedBefore[0].words.size());
    for (size_t i = 0; i < printedAfter[0].words.size(); ++i) {
        const PdfWord &a = printedAfter[0].words[i];
        const PdfWord &b = printedBefore[0].words[i];
        EXPECT_EQ(a.text, b.text);
        EXPECT_DOUBLE_EQ(a.x, b.x) << b.text.toStdString();
        EXPECT_DOUBLE_EQ(a.y, b.y) << b.text.toStdString();
    }
}

TEST_F(TemplatePackages, ImportReplacesSameNameAndNumbersNewOnesAfterTheLargest)
{
    addTemplate(57, "承兑汇票", "旧");
    addTemplate(12, "快递单", "甲", "启用", "默认");
    addItem(12, "ZDOLD", 1, 1, 1, 1, 1);
    insert("DMTable", {{"DMName", "cfgOld"}, {"DMValue", "1"}, {"CheckTypeID", 12}});
    {
        PackageFile p(package());
        p.createTables();
        p.addTemplate(3, "快递单（甲）", jpeg(Qt::red), {{"TypeFirstName", "快递单"}});
        p.addItem(3, "ZDSKR", {{"CtlLH", 0}, {"SrcX", ""}});
        p.addSetting(3, "cfgWantPrintRQ", "1");
        p.addTemplate(4, "快递单（乙）", jpeg(Qt::blue), {{"TypeFirstName", "快递单"}});
        p.addItem(4, "ZDHKR");
    }
    TemplateImport import = importer();
    QString error;
    ASSERT_TRUE(import.open(package(), &error)) << error.toStdString();
    QStringList names;
    ASSERT_TRUE(import.templateNames(&names, &error));
    EXPECT_EQ(names, QStringList({"快递单（乙）", "快递单（甲）"}));

    const TemplateImport::Result same = import.importOne("快递单（甲）");
    ASSERT_TRUE(same.imported) << same.error.toStdString();
    EXPECT_EQ(same.checkTypeId, 12);
    const std::optional<Template> t = catalogue().loadTemplate(12);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->isDefault, "默认"); // the kind keeps its default
    EXPECT_EQ(t->imgFile, "kdd12.jpg");
    EXPECT_EQ(t->xMove, 12);
    EXPECT_EQ(t->yMove, -3);
    EXPECT_EQ(t->checkBoxs, "文件,物品");
    const auto items = catalogue().loadTemplateItems(12);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].ctlName, "ZDSKR");
    // The package's defaults for missing values.
    EXPECT_EQ(items[0].ctlLH, 50);
    EXPECT_EQ(items[0].srcX, 10);
    EXPECT_EQ(items[0].srcW, 50);
    EXPECT_EQ(items[0].breakFontSize, 7);
    EXPECT_TRUE(items[0].needPrint && items[0].needShow);
    EXPECT_EQ(items[0].ctlType, "Text");
    EXPECT_EQ(count("select count(*) from DMTable where CheckTypeID = 12 and DMName = "
                    "'cfgWantPrintRQ'"),
              1);
    EXPECT_EQ(count("select count(*) from DMTable where DMName = 'cfgOld'"), 0);

    const TemplateImport::Result fresh = import.importOne("快递单（乙）");
    ASSERT_TRUE(fresh.imported) << fresh.error.toStdString();
    EXPECT_EQ(fresh.checkTypeId, 58);
    EXPECT_EQ(catalogue().loadTemplate(58)->imgFile, "kdd58.jpg");
    EXPECT_EQ(fileBytes(imageDir() + "kdd58.jpg"), import.picture("快递单（乙）"));
    EXPECT_EQ(catalogue().loadTemplate(58)->typeDescribe, "乙");
}

TEST_F(TemplatePackages, OlderPackageWithoutSettingsOrKindColumn)
{
    addTemplate(5, "快递单", "本地");
    {
        PackageFile p(package());
        p.createTables(/*withConfig=*/false, /*withKind=*/false);
        p.addTemplate(1, "支票(工行)", jpeg());
        p.addItem(1, "ZDJE");
    }
    TemplateImport import = importer();
    QString error;
    ASSERT_TRUE(import.open(package(), &error));
    EXPECT_EQ(import.version(), "V927");
    const TemplateImport::Result r = import.importOne("支票(工行)");
    ASSERT_TRUE(r.imported) << r.error.toStdString();
    EXPECT_FALSE(r.settingsError.isEmpty());
    EXPECT_EQ(r.checkTypeId, 6);
    const std::optional<Template> t = catalogue().loadTemplate(6);
    EXPECT_EQ(t->typeFirstName, "支票");
    EXPECT_EQ(t->typeDescribe, "工行");
    EXPECT_EQ(t->imgFile, "zp6.jpg");
    EXPECT_TRUE(QFile::exists(imageDir() + "zp6.jpg"));
    EXPECT_TRUE(catalogue().loadTemplateItems(6).empty());
}

// A template that cannot come in whole leaves no trace: not its row, not its items, not its
// picture, and a local template of the same name stays as it was.
TEST_F(TemplatePackages, FailedTemplateLeavesNothingBehind)
{
    addTemplate(7, "快递单", "甲");
    addItem(7, "ZDKEEP", 1, 1, 1, 1, 1);
    QFile old(imageDir() + "kdd7.jpg");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(jpeg(Qt::green));
    old.close();
    {
        PackageFile p(package());
        p.createTables();
        p.addTemplate(1, "快递单（甲）", jpeg(), {{"TypeFirstName", "快递单"}});
        p.addItem(1, "ZDSKR");
        p.addItem(1, "ZDBAD", {{"CtlX", "十二"}});
        p.addTemplate(2, "快递单（乙）", "GIF89a not a jpeg", {{"TypeFirstName", "快递单"}});
        p.addTemplate(-1, "快递单（丙）", jpeg(), {{"TypeFirstName", "快递单"}});
        p.addTemplate(3, "无名", jpeg());
        p.addTemplate(4, "快递单（O'Brien）", jpeg(), {{"TypeFirstName", "快递单"}});
        p.addItem(4, "ZDSKR");
    }
    TemplateImport import = importer();
    QString error;
    ASSERT_TRUE(import.open(package(), &error));
    const struct
    {
        const char *name;
        bool silent;
    } failing[] = {
        {"快递单（甲）", false}, {"快递单（乙）", false}, {"快递单（丙）", false}, {"无名", true}};
    for (const auto &f : failing) {
        const TemplateImport::Result r = import.importOne(f.name);
        EXPECT_FALSE(r.imported) << f.name;
        EXPECT_EQ(r.error.isEmpty(), f.silent) << f.name << r.error.toStdString();
    }
    EXPECT_EQ(count("select count(*) from ckTypeTable"), 1);
    EXPECT_EQ(catalogue().loadTemplateItems(7).at(0).ctlName, "ZDKEEP");
    EXPECT_EQ(fileBytes(imageDir() + "kdd7.jpg"), jpeg(Qt::green));
    EXPECT_EQ(QDir(imageDir()).entryList({"kdd8*", "*.new", "*.old"}), QStringList());

    // A database failure half-way through replacing a template: the picture written for it
    // goes, the one it replaced comes back, and so do the old rows. A quote in a name is just
    // a character.
    exec("update ckTypeTable set TypeName = '快递单（O''Brien）' where CheckTypeID = 7");
    const RefusingTrigger refuse{"refuse", "INSERT", "CKControl", "NEW.CtlName = 'ZDSKR'"};
    ASSERT_TRUE(refuse.install(home.db()));
    const TemplateImport::Result refused = import.importOne("快递单（O'Brien）");
    EXPECT_FALSE(refused.imported);
    EXPECT_TRUE(refused.error.contains("refused")) << refused.error.toStdString();
    EXPECT_EQ(count("select count(*) from ckTypeTable"), 1);
    EXPECT_EQ(catalogue().loadTemplateItems(7).at(0).ctlName, "ZDKEEP");
    EXPECT_EQ(fileBytes(imageDir() + "kdd7.jpg"), jpeg(Qt::green));
    EXPECT_EQ(QDir(imageDir()).entryList({"*.new", "*.old"}), QStringList());

    ASSERT_TRUE(refuse.remove(home.db()));
    const TemplateImport::Result quoted = import.importOne("快递单（O'Brien）");
    EXPECT_TRUE(quoted.imported) << quoted.error.toStdString();
    EXPECT_EQ(quoted.checkTypeId, 7);
    EXPECT_EQ(catalogue().loadTemplateItems(7).at(0).ctlName, "ZDSKR");
    EXPECT_EQ(fileBytes(imageDir() + "kdd7.jpg"), import.picture("快递单（O'Brien）"));
}

TEST_F(TemplatePackages, FilesThatAreNoPackageAreRefused)
{
    const QByteArray sqliteHead("SQLite format 3\0", 16);
    {
        PackageFile p(package());
        p.createTables();
        for (int i = 0; i < 40; ++i)
            p.addTemplate(i, QStringLiteral("快递单（%1）").arg(i), jpeg());
    }
    QByteArray whole = fileBytes(package());
    const struct
    {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"text.lyb", "just some text, long enough to be read as a header"},
        {"empty.lyb", ""},
        {"truncated.lyb", whole.left(whole.size() / 3)},
        {"garbage.lyb", sqliteHead + QByteArray(8192, '\x5a')},
        {"jet-header-only.lyb", QByteArray("\x00\x01\x00\x00Standard Jet DB\0", 20)},
    };
    for (const auto &c : cases) {
        const QString path = home.path() + c.name;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        TemplateImport import = importer();
        QString error;
        QStringList names;
        const bool opened = import.open(path, &error);
        const bool listed = opened && import.templateNames(&names, &error);
        EXPECT_FALSE(listed) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
    }
}

// Packages built to cost the program: each is refused with a message that names the table
// and, for a value, the limit it broke; nothing is imported.
TEST_F(TemplatePackages, HostilePackagesAreRefusedByTableAndLimit)
{
    const struct
    {
        const char *name;
        const char *sql;   // run after the usual tables are made
        QVariantMap value; // a template row's values
        QStringList said;  // words of the message
    } cases[] = {
        {"generated",
         "alter table _ckTypeTable add column Huge BLOB "
         "generated always as (zeroblob(900000000)) virtual",
         {},
         {"_ckTypeTable", "Huge"}},
        {"unknown", "alter table _ckControl add column Extra TEXT", {}, {"_ckControl", "Extra"}},
        {"view",
         "drop table _ckTypeTable; create view _ckTypeTable as with recursive n(i) as "
         "(select 1 union all select i + 1 from n) select i as TypeName from n",
         {},
         {"票据模板表"}},
        {"long text", "", {{"TypeDescribe", QString(70'000, u'长')}}, {"_ckTypeTable", "64 KB"}},
        {"big picture",
         "",
         {{"Img_Bytes", QByteArray(21 << 20, '\xff')}},
         {"_ckTypeTable", "20 MB"}},
    };
    for (const auto &c : cases) {
        QFile::remove(package());
        {
            PackageFile p(package());
            p.createTables();
            p.addTemplate(1, "快递单（外来）", jpeg(), c.value);
            for (const QString &sql : QString(c.sql).split(';', Qt::SkipEmptyParts))
                p.exec(sql);
        }
        TemplateImport import = importer();
        QString error;
        QStringList names;
        const bool listed = import.open(package(), &error) && import.templateNames(&names, &error);
        EXPECT_FALSE(listed) << c.name;
        for (const QString &word : c.said)
            EXPECT_TRUE(error.contains(word)) << c.name << ": " << error.toStdString();
        EXPECT_TRUE(error.at(0).unicode() > 0x2E80) << c.name << ": " << error.toStdString();
    }
    EXPECT_EQ(count("select count(*) from ckTypeTable where TypeName = '快递单（外来）'"), 0);
}

// A sound JPEG that is only too large is said to be so, with the limit, not to be no JPEG.
TEST_F(TemplatePackages, AJpegTooLargeToShowIsCalledTooLarge)
{
    QByteArray huge = jpeg();
    const qsizetype frame = huge.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    for (int at : {5, 7}) { // height, then width: 40,000 pixels each
        huge[frame + at] = char(40'000 >> 8);
        huge[frame + at + 1] = char(40'000 & 0xff);
    }
    {
        PackageFile p(package());
        p.createTables();
        p.addTemplate(1, "快递单（巨幅）", huge);
        p.addTemplate(2, "快递单（非图）", "GIF89a not a jpeg at all");
    }
    TemplateImport import = importer();
    QString error;
    ASSERT_TRUE(import.open(package(), &error)) << error.toStdString();
    const TemplateImport::Result big = import.importOne("快递单（巨幅）");
    EXPECT_FALSE(big.imported);
    EXPECT_TRUE(big.error.contains("太大") && big.error.contains("40000×40000") &&
                big.error.contains("万像素"))
        << big.error.toStdString();
    EXPECT_EQ(import.importOne("快递单（非图）").error, "模板图片不是JPEG图片");
}

TEST_F(TemplatePackages, ExportOfAFailingTemplateLeavesThePackageWithoutIt)
{
    addTemplate(1, "快递单", "甲");
    addItem(1, "ZDSKR", 1, 2, 3, 4, 1);
    const QString path = home.path() + "out.lyb";
    QFile previous(path);
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("an older package");
    previous.close();
    {
        TemplateExport exporter(home.db(), home.services().home());
        QString error;
        ASSERT_TRUE(exporter.begin(path, "10.3", &error));
        const TemplateExport::Result r = exporter.exportOne("快递单（甲）");
        EXPECT_TRUE(r.exported);
        EXPECT_FALSE(r.pictureError.isEmpty()); // the template has no picture file
        EXPECT_FALSE(exporter.exportOne("快递单（无）").exported);
        // Abandoned: the file that was there stays as it was.
    }
    EXPECT_EQ(fileBytes(path), "an older package");
    EXPECT_EQ(QDir(home.path()).entryList({"out.lyb*"}), QStringList{"out.lyb"});
}
