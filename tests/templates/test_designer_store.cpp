#include "RefusingTrigger.h"
#include "TemplateRows.h"
#include "templates/DesignerPieces.h"
#include "templates/DesignerStore.h"

namespace {

const QString kKind = QStringLiteral("快递单");
constexpr int kId = 7;

} // namespace

class DesignerStoreTest : public TemplateRows
{
protected:
    void SetUp() override
    {
        TemplateRows::SetUp();
        addTemplate(kId, kKind, "甲");
        exec("update ckTypeTable set PWidth = 2300, PHeight = 1270");
        int ord = 0;
        for (const char *name : {"ZDA", "ZDB", "ZDC"}) {
            addDictItem(kKind, name, ++ord);
            insert("CKControl", {{"CheckTypeID", kId},
                                 {"CtlName", name},
                                 {"CtlX", 100 * ord},
                                 {"CtlY", 50 * ord},
                                 {"CtlW", 5 * ord},
                                 {"CtlH", 40},
                                 {"NeedPrint", 1},
                                 {"CtlFontSize", 10}});
        }
    }

    int value(const QString &name, const QString &column)
    {
        QSqlQuery q = home.db().query();
        q.exec(u"select " + column + u" from CKControl where CtlName = '" + name + u"'");
        return q.next() ? q.value(0).toInt() : -1;
    }

    DesignerStore store{home.db(), kId, kKind};
};

TEST_F(DesignerStoreTest, ColumnIsWrittenOnlyWhenItChangesAndOnlyForItsItem)
{
    StoreOutcome out = store.storeColumn("zda", "CtlX", 123);
    EXPECT_EQ(out.result, StoreOutcome::Result::Stored);
    EXPECT_EQ(out.message, "zda:CtlX=123属性保存成功~");
    EXPECT_EQ(value("ZDA", "CtlX"), 123);
    EXPECT_EQ(value("ZDB", "CtlX"), 200);
    EXPECT_EQ(store.storeColumn("ZDA", "CtlX", 123).result, StoreOutcome::Result::Unchanged);

    // A column name never reaches the statement unless the designer edits it.
    EXPECT_EQ(store.storeColumn("ZDA", "CtlX = 0; drop table CKControl; --", 1).result,
              StoreOutcome::Result::Refused);
    EXPECT_EQ(value("ZDA", "CtlX"), 123);

    EXPECT_EQ(store.storeColumn("NOSUCH", "CtlX", 1).result, StoreOutcome::Result::NoRow);
    // A database from before item names were unique may still hold two rows of one item.
    ASSERT_TRUE(home.db().query().exec("DROP INDEX CKControl_TypeName"));
    insert("CKControl", {{"CheckTypeID", kId}, {"CtlName", "ZDB"}, {"CtlX", 1}});
    out = store.storeColumn("ZDB", "CtlX", 999);
    EXPECT_EQ(out.result, StoreOutcome::Result::Duplicate);
    EXPECT_EQ(out.message, "保存出错,同一个项目多条记录=！ZDB,7");
    EXPECT_EQ(value("ZDB", "CtlX"), 200);
}

TEST_F(DesignerStoreTest, MoveChangesEveryItemOrNone)
{
    StoreOutcome out = store.moveItems({"ZDA", "ZDB"}, "CtlY", -5);
    EXPECT_TRUE(out.ok());
    EXPECT_EQ(out.changed, 2);
    EXPECT_EQ(value("ZDA", "CtlY"), 45);
    EXPECT_EQ(value("ZDB", "CtlY"), 95);

    // The second item has no row: the first one stays where it was.
    out = store.moveItems({"ZDA", "NOSUCH"}, "CtlX", 10);
    EXPECT_EQ(out.result, StoreOutcome::Result::Failed);
    EXPECT_TRUE(out.message.startsWith("修改错误！update CkControl set CtlX=CtlX+(10)"))
        << out.message.toStdString();
    EXPECT_EQ(value("ZDA", "CtlX"), 100);

    ASSERT_TRUE((RefusingTrigger{"no_move", "UPDATE", "CKControl", "NEW.CtlName = 'ZDB'"}.install(
        home.db())));
    out = store.moveItems({"ZDA", "ZDB"}, "CtlX", 10);
    EXPECT_TRUE(out.message.startsWith("移动项目,修改错误！")) << out.message.toStdString();
    EXPECT_EQ(value("ZDA", "CtlX"), 100);
}

// What an undo step writes back: every designer column as it was, empty ones too, for every
// item or for none.
TEST_F(DesignerStoreTest, SnapshotIsWrittenBackWholeOrNotAtAll)
{
    const auto before = store.snapshot({"ZDA", "ZDB", "NOSUCH"}, nullptr);
    ASSERT_TRUE(before);
    ASSERT_EQ(before->size(), 2); // no row, nothing to keep
    EXPECT_EQ(before->at(1).first, "ZDB");

    ASSERT_TRUE(store.setAll({"ZDA", "ZDB"}, "CtlFontSize", 18).ok());
    ASSERT_TRUE(store.storeColumns("ZDA", {{"BreakNum", "12"}, {"InitValue", "x"}}).ok());
    StoreOutcome out = store.storePositions({{"ZDA", QPoint(1, 2)}, {"ZDB", QPoint(3, 4)}});
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(out.changed, 2);
    EXPECT_EQ(value("ZDB", "CtlY"), 4);
    const auto edited = store.snapshot({"ZDA", "ZDB"}, nullptr);
    ASSERT_TRUE(edited);

    out = store.restore(*before);
    EXPECT_TRUE(out.ok());
    EXPECT_EQ(store.snapshot({"ZDA", "ZDB"}, nullptr), before);
    EXPECT_EQ(value("ZDA", "CtlX"), 100);
    EXPECT_EQ(value("ZDB", "CtlY"), 100);
    EXPECT_EQ(value("ZDB", "CtlFontSize"), 10);
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("select BreakNum is null from CKControl where CtlName = 'ZDA'") && q.next());
    EXPECT_TRUE(q.value(0).toBool());

    // The second item cannot be written: the first stays as it is.
    ASSERT_TRUE((RefusingTrigger{"no_edit", "UPDATE", "CKControl", "NEW.CtlName = 'ZDB'"}.install(
        home.db())));
    EXPECT_EQ(store.restore(*edited).result, StoreOutcome::Result::Failed);
    EXPECT_EQ(value("ZDA", "CtlX"), 100);
    EXPECT_EQ(store.storePositions({{"ZDA", QPoint(7, 7)}, {"ZDB", QPoint(8, 8)}}).result,
              StoreOutcome::Result::Failed);
    EXPECT_EQ(store.storePositions({{"ZDA", QPoint(7, 7)}, {"NOSUCH", QPoint(8, 8)}}).result,
              StoreOutcome::Result::Failed);
    EXPECT_EQ(value("ZDA", "CtlX"), 100);
}

TEST_F(DesignerStoreTest, BatchSizesAlignAndSpread)
{
    QString error;
    EXPECT_EQ(store.extreme({"ZDA", "ZDB", "ZDC"}, "CtlX", true, &error), 300);
    EXPECT_EQ(store.extreme({"ZDA", "ZDB", "ZDC"}, "CtlW", false, &error), 5);
    EXPECT_EQ(store.setAll({"ZDA", "ZDC"}, "CtlX", 300).changed, 2);
    EXPECT_EQ(value("ZDA", "CtlX"), 300);

    // "-宽" with a step of 5: the item 5 wide keeps its width and is named.
    StoreOutcome out = store.stepAll({"ZDA", "ZDB"}, "CtlW", -5);
    EXPECT_EQ(out.changed, 1);
    EXPECT_EQ(out.skipped, QStringList{"ZDA的CtlW更新失败！"});
    EXPECT_EQ(value("ZDA", "CtlW"), 5);
    EXPECT_EQ(value("ZDB", "CtlW"), 5);
    EXPECT_EQ(store.stepAll({"ZDA"}, "CtlH", 5).changed, 1);
    EXPECT_EQ(value("ZDA", "CtlH"), 45);

    out = store.spread({"ZDB", "ZDA", "ZDC"}, "CtlY", 40);
    EXPECT_EQ(out.changed, 2);
    EXPECT_EQ(value("ZDA", "CtlY"), 140);
    EXPECT_EQ(value("ZDC", "CtlY"), 180);
    out = store.spread({"NOSUCH", "ZDA"}, "CtlX", 40);
    EXPECT_EQ(out.message, "没有找到第一个项目的距左参数,中断分布动作！");
    EXPECT_EQ(value("ZDA", "CtlX"), 300);
}

TEST_F(DesignerStoreTest, PaperSizeLimits)
{
    const struct
    {
        const char *width;
        const char *height;
        bool stored;
        const char *message;
    } cases[] = {
        {"30.00", "32.00", true, "底图实际长和宽保存成功！"},
        {"10", "32.01", false, "失败，票据最高不能大于32厘米。"},
        {"30.01", "10", false, "失败，票据最宽不能大于30厘米。"},
        {"2l.5", "10", false, "票据的宽度和高度必须是大于0的数字（厘米）！"},
        {"21.5", "", false, "票据的宽度和高度必须是大于0的数字（厘米）！"},
    };
    for (const auto &c : cases) {
        const StoreOutcome out = store.savePaperSize(c.width, c.height);
        EXPECT_EQ(out.result == StoreOutcome::Result::Stored, c.stored) << c.width << c.height;
        EXPECT_EQ(out.message, QString::fromUtf8(c.message)) << c.width << c.height;
    }
    const auto t = catalogue().loadTemplate(kId);
    EXPECT_EQ(t->pWidth, 3000);
    EXPECT_EQ(t->pHeight, 3200);
}

TEST_F(DesignerStoreTest, SampleTextBelongsToTheKind)
{
    QString error;
    EXPECT_EQ(store.updateSample("zdb", "  样例  ").message, "更新成功！");
    EXPECT_EQ(store.loadItems(&error, "ZDB")->front().sample, "样例");
    EXPECT_EQ(store.updateSample("NOSUCH", "x").message, "测试值更新失败.没有有效的行！");
}

TEST(DesignerPiecesTest, LinesAndCellsAsTheyPrint)
{
    DesignerItem item;
    item.ctlName = "ZDA";
    item.sample = QStringLiteral("一二三四五六七八九十甲乙"); // 12 characters
    item.print.x = 100;
    item.print.y = 200;
    item.print.fontSize = 10;
    item.print.breakFontSize = 8;
    item.print.lineHeight = 50;
    item.ctlW = 600;
    item.ctlH = 40;
    const DesignerPieces::Scale scale{0.5}; // 2 pixels per millimetre

    auto pieces = DesignerPieces::piecesOf(item, scale);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].name, "ZDA");
    EXPECT_EQ(pieces[0].rect, QRect(20, 40, 120, 8));
    EXPECT_EQ(pieces[0].pointSize, 10);

    item.print.breakNum = 10;
    pieces = DesignerPieces::piecesOf(item, scale);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[1].name, "ZDAL1");
    EXPECT_EQ(pieces[1].text, QStringLiteral("甲乙"));
    EXPECT_EQ(pieces[1].rect.top(), 40 + 10); // one line height (5 mm) lower
    EXPECT_EQ(pieces[1].pointSize, 8);

    item.print.breakNum = -1;
    item.sample = "12345";
    item.print.fitParam = "25"; // 2.5 mm and less: one piece
    EXPECT_EQ(DesignerPieces::piecesOf(item, scale).size(), 1u);
    item.print.fitParam = "26";
    pieces = DesignerPieces::piecesOf(item, scale);
    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_EQ(pieces[1].name, "ZDAR2");
    EXPECT_EQ(pieces[1].rect.left() - pieces[0].rect.left(), 5); // 2.6 mm
    EXPECT_EQ(pieces[4].group, "ZDA");

    item.sample.clear();
    EXPECT_TRUE(DesignerPieces::piecesOf(item, scale).empty());
}
