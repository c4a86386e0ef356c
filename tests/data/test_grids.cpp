#include "RefusingTrigger.h"
#include "TestHome.h"
#include "data/Grids.h"
#include "data/spreadsheet/XlsxReader.h"

#include <QFile>
#include <QItemSelectionModel>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QStandardItemModel>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

// A list over rows of a small table with a text key.
struct List
{
    explicit List(TestHome &home, const QStringList &keys)
    {
        QSqlQuery q = home.db().query();
        EXPECT_TRUE(q.exec("create table Keys (k text, v integer)"));
        q.prepare("insert into Keys values (?, ?)");
        for (int i = 0; i < keys.size(); ++i) {
            q.addBindValue(keys[i]);
            q.addBindValue(i);
            EXPECT_TRUE(q.exec());
        }
        model.setQuery("select k, v from Keys order by v", home.db().connection());
    }
    void select(std::initializer_list<int> rows)
    {
        for (int r : rows)
            selection.select(model.index(r, 0),
                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QSqlQueryModel model;
    QItemSelectionModel selection{&model};
};

int rowsOf(TestHome &home, const QString &table)
{
    QSqlQuery q = home.db().query();
    q.exec("select count(*) from " + table);
    q.next();
    return q.value(0).toInt();
}

QByteArray part(const QString &xlsx, const QString &name)
{
    QuaZip zip(xlsx);
    zip.open(QuaZip::mdUnzip);
    zip.setCurrentFile(name);
    QuaZipFile file(&zip);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Bold flag and size of the font of each cell format in the workbook's styles.
struct CellFont
{
    bool bold = false;
    QString size;
    QString numFmtId;
};
QList<CellFont> cellFonts(const QString &xlsx)
{
    QList<CellFont> fonts, formats;
    QXmlStreamReader xml(part(xlsx, "xl/styles.xml"));
    bool inXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.name() == u"cellXfs")
            inXfs = xml.isStartElement();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"font")
            fonts.append(CellFont{});
        else if (xml.name() == u"b" && !fonts.isEmpty())
            fonts.last().bold = true;
        else if (xml.name() == u"sz" && !fonts.isEmpty())
            fonts.last().size = xml.attributes().value("val").toString();
        else if (xml.name() == u"xf" && inXfs) {
            CellFont f = fonts.value(xml.attributes().value("fontId").toInt());
            f.numFmtId = xml.attributes().value("numFmtId").toString();
            formats << f;
        }
    }
    return formats;
}

// The cell format index of a cell, as in <c r="A1" s="1">.
int styleOf(const QString &xlsx, const QString &ref)
{
    QXmlStreamReader xml(part(xlsx, "xl/worksheets/sheet1.xml"));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"c" &&
            xml.attributes().value("r") == ref)
            return xml.attributes().value("s").toInt();
    }
    return -1;
}

} // namespace

TEST(Grids, SelectedFetchQuotesInStrModeOnlyInSelectionOrder)
{
    TestHome home;
    List list(home, {"a", "O'Brien", "c"});
    list.select({2, 0, 1});
    const struct
    {
        const char *mode;
        QString output;
    } cases[] = {
        {"STR", "'c','a','O''Brien'"},
        {"str", "'c','a','O''Brien'"},
        {"", "c,a,O'Brien"},
        {"Numeric", "c,a,O'Brien"},
    };
    for (const auto &c : cases) {
        QString output = "stale";
        EXPECT_EQ(home.services().grids().GridSelectedFetch(list.selection, "K", output, c.mode),
                  3);
        EXPECT_EQ(output, c.output) << c.mode;
    }
    EXPECT_TRUE(home.ui.shown.isEmpty());
}

TEST(Grids, SelectedFetchWithoutOrWithAnUnknownFieldSaysSo)
{
    TestHome home;
    List list(home, {"a"});
    list.select({0});
    for (const QString &field : {QString(), QStringLiteral("nope")}) {
        QString output = "stale";
        EXPECT_EQ(home.services().grids().GridSelectedFetch(list.selection, field, output, ""), 0);
        EXPECT_TRUE(output.isEmpty());
        ASSERT_FALSE(home.ui.shown.isEmpty());
        EXPECT_TRUE(home.ui.last().text.startsWith("DBGrid记录选取失败~"));
    }
    EXPECT_EQ(home.ui.shown[0].text, "DBGrid记录选取失败~没有指定列名~");
}

TEST(Grids, SelectedDeleteWithNothingSelectedDoesNothingAndSaysNothing)
{
    TestHome home;
    List list(home, {"a", "b"});
    EXPECT_EQ(home.services().grids().GridSelectedDelete(list.selection, "Keys", "k"), 0);
    EXPECT_TRUE(home.ui.shown.isEmpty());
    EXPECT_EQ(rowsOf(home, "Keys"), 2);
}

TEST(Grids, SelectedDeleteAsksThenDeletesExactlyTheSelectedKeys)
{
    TestHome home;
    // A quote or SQL in a key is just a character of the key.
    List list(home, {"a", "O'Brien", "x') or ('1'='1", "d"});
    list.select({1, 2});
    Grids &grids = home.services().grids();

    EXPECT_EQ(grids.GridSelectedDelete(list.selection, "Keys", "k", "收件条目", "STR"), 0);
    EXPECT_EQ(home.ui.last().text, "确认要删除所选中的2个收件条目吗?");
    EXPECT_EQ(home.ui.last().caption, "删除确认");
    EXPECT_EQ(rowsOf(home, "Keys"), 4) << "No keeps every row";

    home.ui.answer(Ui::Answer::Yes);
    EXPECT_EQ(grids.GridSelectedDelete(list.selection, "Keys", "k", "收件条目", "STR"), 2);
    EXPECT_EQ(home.ui.last().text, "2个收件条目删除成功！");
    EXPECT_EQ(home.ui.last().caption, "提示");
    QSqlQuery q = home.db().query();
    q.exec("select k from Keys order by v");
    QStringList left;
    while (q.next())
        left << q.value(0).toString();
    EXPECT_EQ(left, QStringList({"a", "d"}));
}

TEST(Grids, SelectedDeleteOfNumericKeysInOneTransaction)
{
    TestHome home;
    QSqlQuery q = home.db().query();
    home.db().inTransaction([&] {
        for (int i = 0; i < 1200; ++i)
            q.exec("insert into DataKDDTable (寄件单位) values ('u')");
        return true;
    });
    QSqlQueryModel model;
    model.setQuery("select 流水号, 寄件单位 from DataKDDTable", home.db().connection());
    Grids::fetchAll(model);
    QItemSelectionModel selection(&model);
    selection.select(QItemSelection(model.index(0, 0), model.index(1099, 1)),
                     QItemSelectionModel::Select);
    // More keys than one statement takes: all go, or none. The last chunk is refused here,
    // after the earlier ones have run.
    const int lastKey = model.index(1099, 0).data().toInt();
    const RefusingTrigger hold{"hold", "DELETE", "DataKDDTable",
                               QStringLiteral("OLD.流水号 = %1").arg(lastKey)};
    ASSERT_TRUE(hold.install(home.db()));
    home.ui.answer(Ui::Answer::Yes);
    EXPECT_EQ(home.services().grids().GridSelectedDelete(selection, "DataKDDTable", "流水号"), 0);
    EXPECT_TRUE(home.ui.last().text.startsWith("删除失败，错误="))
        << home.ui.last().text.toStdString();
    EXPECT_EQ(rowsOf(home, "DataKDDTable"), 1200);
    ASSERT_TRUE(hold.remove(home.db()));

    home.ui.answer(Ui::Answer::Yes);
    EXPECT_EQ(home.services().grids().GridSelectedDelete(selection, "DataKDDTable", "流水号",
                                                         "快递单", "Numeric"),
              1100);
    EXPECT_EQ(home.ui.last().text, "1100个快递单删除成功！");
    EXPECT_EQ(rowsOf(home, "DataKDDTable"), 100);

    selection.select(model.index(1150, 0), QItemSelectionModel::ClearAndSelect);
    home.ui.answer(Ui::Answer::Yes);
    EXPECT_EQ(home.services().grids().GridSelectedDelete(selection, "NoSuchTable", "流水号"), 0);
    EXPECT_TRUE(home.ui.last().text.startsWith("删除失败，错误="));
    EXPECT_EQ(rowsOf(home, "DataKDDTable"), 100);
}

TEST(Grids, DeleteCurrentListDeletesEveryListedRowAndRequeries)
{
    TestHome home;
    QSqlQuery q = home.db().query();
    home.db().inTransaction([&] {
        for (int i = 0; i < 300; ++i)
            q.exec(QStringLiteral("insert into DataKDDTable (寄件单位) values ('%1')")
                       .arg(i % 2 ? "listed" : "other"));
        return true;
    });
    QSqlQueryModel model;
    // More rows than a query model fetches at first.
    model.setQuery("select 流水号 from DataKDDTable where 寄件单位='listed'",
                   home.db().connection());
    Grids &grids = home.services().grids();

    EXPECT_EQ(grids.GridDeleteCurrentList(model, "DataKDDTable", "流水号"), 0);
    EXPECT_EQ(home.ui.last().text, "此操作将删除当前查询到的所有记录，确定删除吗？");
    EXPECT_EQ(home.ui.last().caption, "警告");
    EXPECT_EQ(rowsOf(home, "DataKDDTable"), 300);

    home.ui.answer(Ui::Answer::Yes);
    EXPECT_EQ(grids.GridDeleteCurrentList(model, "DataKDDTable", "流水号"), 150);
    EXPECT_EQ(home.ui.last().text, "150条记录删除成功！");
    EXPECT_EQ(rowsOf(home, "DataKDDTable"), 150);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(Grids, ColumnWidthsLiveInConfigIniPerSection)
{
    TestHome home;
    Grids &grids = home.services().grids();
    grids.saveColumnWidths("fmSearch_KDD", "dbgList", {80, -1, 0});
    IniFile &ini = home.settings().userIni();
    EXPECT_EQ(ini.readString("FMSEARCH_KDD", "DBGLIST.W0"), "80");
    EXPECT_EQ(ini.readString("FMSEARCH_KDD", "DBGLIST.W1"), "-1");
    EXPECT_EQ(ini.readString("FMSEARCH_KDD", "DBGLIST.W2"), "-1");

    home.restart();
    EXPECT_EQ(home.services().grids().loadColumnWidths("fmsearch_kdd", "DBGLIST", 4),
              (QList<int>{80, -1, -1, Grids::kDefaultWidth}));
    EXPECT_TRUE(home.ui.shown.isEmpty());

    EXPECT_TRUE(home.services().grids().loadColumnWidths("", "dbgList", 2).isEmpty());
    home.services().grids().saveColumnWidths("", "dbgList", {1});
    EXPECT_EQ(home.ui.texts(), QStringList(2, "保存表格列宽异常！"));
}

TEST(Grids, ExportWritesTextCellsUnderABoldTitleRowAndOpensTheFile)
{
    TestHome home;
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("create table Accounts (户名 text, 账号 text, 金额 real, 编号 bigint)"));
    ASSERT_TRUE(q.exec("insert into Accounts values ('张三', '622202123456789012', 1234.5, "
                       "123456789012345678)"));
    ASSERT_TRUE(q.exec("insert into Accounts values ('李四', '000123456789012345', null, 7)"));
    QSqlQueryModel model;
    model.setQuery("select * from Accounts", home.db().connection());
    const QString path = home.path() + "导出.xlsx";
    home.ui.answerFile(path);

    ASSERT_TRUE(home.services().grids().ExportGrid2Excel(model, "账户导出2024-05-01", ""));
    EXPECT_TRUE(home.ui.shown.isEmpty());
    ASSERT_EQ(home.ui.opened.size(), 1);
    EXPECT_EQ(home.ui.opened[0], QUrl::fromLocalFile(path));

    XlsxReader reader(path);
    ASSERT_TRUE(reader.load()) << reader.error().toStdString();
    const QList<QStringList> expected = {
        {"户名", "账号", "金额", "编号"},
        {"张三", "622202123456789012", "1234.5", "123456789012345678"},
        {"李四", "000123456789012345", "", "7"}};
    ASSERT_EQ(reader.usedRows(), 3);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(reader.cellText(r + 1, c + 1), expected[r][c]);
    }
    const QList<CellFont> formats = cellFonts(path);
    const CellFont title = formats.value(styleOf(path, "A1"));
    const CellFont body = formats.value(styleOf(path, "B2"));
    EXPECT_TRUE(title.bold);
    EXPECT_FALSE(body.bold);
    for (const CellFont &f : {title, body}) {
        EXPECT_EQ(f.size, "9");
        EXPECT_EQ(f.numFmtId, "49") << "text cells";
    }
    EXPECT_EQ(formats.value(styleOf(path, "C3")).numFmtId, "49") << "empty cells are text too";
    EXPECT_TRUE(part(path, "xl/worksheets/sheet1.xml").contains("<cols>")) << "fitted widths";
}

TEST(Grids, ExportOfNothingOrToNowhereWritesNothing)
{
    TestHome home;
    Grids &grids = home.services().grids();
    QStandardItemModel empty(0, 2);
    EXPECT_FALSE(grids.ExportGrid2Excel(empty, "x", ""));
    EXPECT_EQ(home.ui.texts(), QStringList{"没有可导出的数据~"});

    QStandardItemModel model(1, 1);
    model.setItem(0, 0, new QStandardItem("a"));
    EXPECT_FALSE(grids.ExportGrid2Excel(model, "x", "")) << "cancelled file dialog";
    EXPECT_EQ(home.ui.shown.size(), 1);

    home.ui.answerFile(home.path() + "no/such/folder/x.xlsx");
    EXPECT_FALSE(grids.ExportGrid2Excel(model, "x", ""));
    EXPECT_TRUE(home.ui.last().text.startsWith("数据导出Excel出错,错误提示:"));
    EXPECT_TRUE(home.ui.opened.isEmpty());
}
