#include "../PrintFixture.h"
#include "NextModal.h"
#include "RefusingTrigger.h"
#include "app/ui/Tfm_Main.h"
#include "bills/ui/TfmCheckKDD.h"
#include "print/PdfPrint.h"
#include "print/PrintOffset.h"
#include "print/ui/Tfm_PrintPreview.h"
#include "print/ui/TfrmImageShow.h"
#include "print/ui/TfrmPrintOffset.h"
#include "print/ui/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <optional>

namespace {

const QString kFeiyan = QStringLiteral("快递单（飞燕速递）");

template<class W>
W *child(QWidget &parent, const char *name)
{
    auto *w = parent.findChild<W *>(QString::fromLatin1(name));
    EXPECT_TRUE(w) << name;
    return w;
}

} // namespace

class OffsetWindow : public PrintFixture
{
protected:
    OffsetSettings stored(const QString &name = kFeiyan)
    {
        return PrintOffset(home.db()).loadByName(name)->settings;
    }

    void open(int id)
    {
        window.setCheckTypeId(id);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QString text(const char *label) { return child<QLabel>(window, label)->text(); }

    void click(const char *upDown, bool forward)
    {
        auto *arrows = child<UpDown>(window, upDown);
        QTest::mouseClick(forward ? arrows->forwardButton() : arrows->backwardButton(),
                          Qt::LeftButton);
    }

    // Types into a field and leaves it, as a clerk does with Tab.
    void type(const char *field, const QString &keys)
    {
        auto *spin = child<QSpinBox>(window, field);
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, keys);
        QTest::keyClick(spin, Qt::Key_Tab);
    }

    TfrmPrintOffset window{home.services()};
};

TEST_F(OffsetWindow, ArrowsMoveTheWholeSlipOneMillimetreAndSaveAtOnce)
{
    open(1);
    EXPECT_EQ(text("lbTypeName"), u"当前调整：" + kFeiyan);
    EXPECT_EQ(window.windowTitle(), kFeiyan + "-1");
    EXPECT_EQ(text("lbWidth"), "=23厘米");
    EXPECT_EQ(text("lbHeight"), "=12.7厘米");

    for (int i = 0; i < 3; ++i)
        click("UpDown1", true);
    EXPECT_EQ(stored().xMove, 30);
    EXPECT_EQ(text("lbMoveX"), "=0.3厘米");
    EXPECT_EQ(window.windowTitle(), "票据整体属性修改成功！");

    click("UpDown2", true); // up
    click("UpDown2", true);
    click("UpDown2", false);
    EXPECT_EQ(stored().yMove, -10);
    type("YMove", "-25");
    EXPECT_EQ(stored().yMove, -25);
    EXPECT_EQ(text("lbMoveY"), "=0.25厘米");

    child<QRadioButton>(window, "rdHX")->click();
    EXPECT_TRUE(stored().landscape);
    EXPECT_TRUE(home.ui.shown.isEmpty()) << home.ui.texts().join('|').toStdString();
}

TEST_F(OffsetWindow, ArrowKeysInTheListLoadTheTemplateTheArrowsThenMove)
{
    open(1);
    auto *list = child<QListWidget>(window, "listCheckTypeName");
    ASSERT_EQ(list->currentItem()->text().trimmed(), kFeiyan);
    const bool last = list->currentRow() + 1 == list->count();
    ASSERT_GE(list->count(), 2);
    const QString second = list->item(list->currentRow() + (last ? -1 : 1))->text().trimmed();
    list->setFocus();
    QTest::keyClick(list, last ? Qt::Key_Up : Qt::Key_Down);
    EXPECT_EQ(text("lbTypeName"), QString(u"当前调整：" + second));
    click("UpDown1", true);
    EXPECT_EQ(stored(second).xMove, 10);
    EXPECT_EQ(stored().xMove, 0);

    // A value typed but not yet left goes to the template it was typed for.
    auto *x = child<QSpinBox>(window, "XMove");
    x->setValue(40);
    QTest::keyClick(list, last ? Qt::Key_Down : Qt::Key_Up);
    EXPECT_EQ(stored(second).xMove, 40);
    EXPECT_EQ(stored().xMove, 0);
    EXPECT_EQ(x->value(), 0);
}

TEST_F(OffsetWindow, PaperSizeCaptionSaysItReachesThePrinter)
{
    open(1);
    QStringList titles;
    for (const QGroupBox *box : window.findChildren<QGroupBox *>())
        titles << box->title();
    const QString paper = titles.filter("票据实际大小").value(0);
    EXPECT_TRUE(paper.contains("打印") && !paper.contains("不影响打印")) << paper.toStdString();
}

TEST_F(OffsetWindow, DecimalPointAndOutOfRangeValuesAreRefused)
{
    open(1);
    const struct
    {
        const char *field;
        const char *keys;
        int expected;
    } cases[] = {
        {"XMove", "1.5", 15},   // the point is discarded
        {"XMove", "5000", 500}, // the last digit would leave the range
        {"YMove", "-3001", -300},   {"edtPWidth", "2410.5", 2410},
        {"edtTHeight", "100", 445}, // below the minimum: the last valid value comes back
    };
    for (const auto &c : cases) {
        type(c.field, QString::fromLatin1(c.keys));
        EXPECT_EQ(child<QSpinBox>(window, c.field)->value(), c.expected) << c.field << c.keys;
    }
    const OffsetSettings s = stored();
    EXPECT_EQ(s.xMove, 500);
    EXPECT_EQ(s.yMove, -300);
    EXPECT_EQ(s.pWidth, 2410);
    EXPECT_EQ(s.tHeight, 445);
}

TEST_F(OffsetWindow, SaveOutcomesAreToldAsThePartSays)
{
    open(1);
    child<QPushButton>(window, "btSaveMove")->click();
    EXPECT_EQ(home.ui.last().text, "票据整体属性修改成功！");
    EXPECT_EQ(window.windowTitle(), u"当前调整：" + kFeiyan);

    // The row vanished meanwhile: the automatic save finds nothing to change.
    exec("delete from ckTypeTable where CheckTypeID = 1", {});
    click("UpDown1", true);
    EXPECT_EQ(window.windowTitle(), "票据整体属性没有变动！");
}

TEST_F(OffsetWindow, FailedSaveKeepsTheStoredOffsetAndTellsTheUser)
{
    open(1);
    ASSERT_TRUE((RefusingTrigger{"no_update",
                                 "UPDATE",
                                 "ckTypeTable",
                                 {},
                                 RefusingTrigger::Drops::Statement,
                                 "database is locked"}
                     .install(home.db())));
    click("UpDown1", true);
    ASSERT_FALSE(home.ui.shown.isEmpty());
    EXPECT_TRUE(home.ui.last().text.startsWith("票据整体属性量修改出错！"));
    EXPECT_TRUE(home.ui.last().text.contains("database is locked"));
    EXPECT_EQ(stored().xMove, 0);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(OffsetWindow, UnknownTemplateSelectsTheFirstAndNoTemplateRefusesChanges)
{
    open(77);
    EXPECT_EQ(home.ui.last().text, "没有找到编号为77的票据，请查看是否存在或被隐藏。");
    EXPECT_EQ(child<QListWidget>(window, "listCheckTypeName")->currentRow(), 0);

    exec("update ckTypeTable set Visiable = '停用隐藏'", {});
    TfrmPrintOffset empty(home.services());
    empty.show();
    QTest::mouseClick(child<UpDown>(empty, "UpDown1")->forwardButton(), Qt::LeftButton);
    EXPECT_EQ(home.ui.last().text, "请在左侧选择要设置的快递单据！");
    child<QPushButton>(empty, "btSaveMove")->click();
    EXPECT_EQ(home.ui.last().text, "请选择要设置的票据类型！");
}

TEST_F(OffsetWindow, ValueTypedAndClosedWithoutLeavingIsKept)
{
    open(1);
    auto *x = child<QSpinBox>(window, "XMove");
    x->setFocus();
    x->selectAll();
    QTest::keyClicks(x, "12");
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_EQ(stored().xMove, 12);
}

TEST_F(OffsetWindow, DoubleClickLocksAndUnlocksTheScreenSize)
{
    open(1);
    auto *width = child<QSpinBox>(window, "edtTWidth");
    QTest::mouseDClick(width, Qt::LeftButton);
    EXPECT_FALSE(width->isEnabled());
    QTest::mouseDClick(width, Qt::LeftButton);
    EXPECT_TRUE(width->isEnabled());
}

TEST_F(OffsetWindow, FeedPictureOpensInTheViewer)
{
    open(1);
    QTest::mouseClick(child<QLabel>(window, "lbHaveALook2"), Qt::LeftButton);
    auto *viewer = window.findChild<TfrmImageShow *>();
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->hasPicture());
    EXPECT_EQ(viewer->size(), QSize(400, 400));
    EXPECT_TRUE(home.ui.shown.isEmpty()) << home.ui.texts().join('|').toStdString();
}

TEST_F(OffsetWindow, MainFrameOpensItForTheBillsTemplateAndHandsOverToDesign)
{
    Tfm_Main frame(home.services());
    frame.CurrentCheckTypeId = 2;
    QString title;
    QString designTitle;
    std::optional<NextModal> designWindow;
    NextModal offsetWindow([&](QWidget *window) {
        auto *offset = qobject_cast<TfrmPrintOffset *>(window);
        ASSERT_TRUE(offset);
        title = offset->windowTitle();
        // The design window opens once the calibration window is gone.
        designWindow.emplace([&](QWidget *design) {
            auto *kind = design->findChild<QComboBox *>("cbTypeLastName");
            ASSERT_TRUE(kind);
            designTitle = kind->currentText();
        });
        offset->findChild<QPushButton *>("btPrintItemSet")->click();
    });
    frame.menuItem("mTemplateProperty")->trigger();
    EXPECT_EQ(title, "快递单（远航快运）-2");
    EXPECT_EQ(frame.CurrentCheckTypeId, 2);
    EXPECT_EQ(designTitle, "远航快运");
}

TEST_F(OffsetWindow, ExpressSlipButtonOpensItForTheSlipsTemplate)
{
    Tfm_Main frame(home.services());
    frame.show();
    frame.menuItem("m_new_kdd")->trigger();
    ASSERT_TRUE(TfmCheckKDD::instance());
    QString title;
    NextModal offsetWindow([&](QWidget *window) {
        auto *offset = qobject_cast<TfrmPrintOffset *>(window);
        ASSERT_TRUE(offset);
        title = offset->windowTitle();
        offset->close();
    });
    TfmCheckKDD::instance()->findChild<QToolButton *>("btMoveXY")->click();
    EXPECT_EQ(title, kFeiyan + "-1");
}

class PreviewWindow : public PrintFixture
{
protected:
    void SetUp() override
    {
        PrintFixture::SetUp();
        exec("delete from NameDict", {});
        addTemplate(kTemplate, 0, 0);
        exec("update ckTypeTable set TypeFirstName = '快递单', TypeName = '快递单（测试）' "
             "where CheckTypeID = :id",
             {{"id", kTemplate}});
    }

    void sample(const QString &name, const QString &data, int order, const QVariantMap &item)
    {
        addDictItem("快递单", name, "TEXT", order);
        exec("update NameDict set CtlData = :d where CtlName = :n", {{"d", data}, {"n", name}});
        QVariantMap row{{"NeedPrint", 1}, {"SrcW", 120}, {"SrcH", 18}};
        for (auto it = item.begin(); it != item.end(); ++it)
            row[it.key()] = it.value();
        addItem(kTemplate, name, row.take("CtlX").toInt(), row.take("CtlY").toInt(), row);
    }

    bool load()
    {
        preview.setPixelsPerInch(96);
        preview.setCheckTypeId(kTemplate);
        return preview.loadPreview();
    }

    Tfm_PrintPreview preview{home.services()};
};

// The preview is painted by the print engine: each item's ink on screen lies where the PDF of
// the same bill puts it, to one screen pixel, lines broken and digits spaced alike.
TEST_F(PreviewWindow, EveryItemShowsWhereThePdfPrintsIt)
{
    exec("update ckTypeTable set ImgFile = 'no-picture.jpg' where CheckTypeID = :id",
         {{"id", kTemplate}});
    const struct
    {
        const char *name;
        const char *sample;
        QVariantMap item;
        double bandMm; // the item's ink lies between this and the next band
    } items[] = {
        {"ZDA", "张三", {{"CtlX", 254}, {"CtlY", 20}, {"CtlFontSize", 14}}, 0},
        {"ZDB",
         "一二三四五六七八九十甲乙",
         {{"CtlX", 120}, {"CtlY", 254}, {"BreakNum", "5"}, {"CtlLH", 100}, {"BreakFontSize", 12}},
         22},
        {"ZDC", "789", {{"CtlX", 700}, {"CtlY", 700}, {"FitParam", "40"}}, 65},
    };
    BillValues bill;
    int order = 0;
    for (const auto &i : items) {
        sample(i.name, QString::fromUtf8(i.sample), ++order, i.item);
        bill.set(i.name, QString::fromUtf8(i.sample));
    }
    ASSERT_TRUE(load());
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    auto *paper = child<QLabel>(preview, "paperArea");
    ASSERT_TRUE(paper->isVisible());
    EXPECT_EQ(paper->pos(), preview.itemOrigin());
    const QImage screen = paper->grab().toImage().convertToFormat(QImage::Format_Grayscale8);

    const QString pdf = home.path() + u"preview.pdf";
    ASSERT_TRUE(printBillsToPdf(home.db(), home.ui, home.settings(), BillKind::ExpressSlip,
                                kTemplate, {bill}, pdf));
    QProcess render;
    render.start("pdftoppm", {"-r", "96", "-gray", "-singlefile", pdf, home.path() + u"preview"});
    ASSERT_TRUE(render.waitForFinished(30000) && render.exitCode() == 0);
    const QImage printed(home.path() + u"preview.pgm");
    ASSERT_FALSE(printed.isNull());

    const auto ink = [](const QImage &page, double fromMm, double toMm) {
        QRect box;
        for (int y = qRound(fromMm * 96 / 25.4);
             y < std::min(page.height(), qRound(toMm * 96 / 25.4)); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 128)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    for (size_t i = 0; i < std::size(items); ++i) {
        const double to = i + 1 < std::size(items) ? items[i + 1].bandMm : 127;
        const QRect shown = ink(screen, items[i].bandMm, to);
        const QRect onPaper = ink(printed, items[i].bandMm, to);
        SCOPED_TRACE(items[i].name);
        ASSERT_FALSE(onPaper.isEmpty());
        // Where an item starts is the engine's; how far its ink reaches also depends on how
        // Qt and poppler rasterize a glyph's edge at 96 dpi, a pixel more either way.
        EXPECT_NEAR(shown.left(), onPaper.left(), 1);
        EXPECT_NEAR(shown.top(), onPaper.top(), 1);
        EXPECT_NEAR(shown.right(), onPaper.right(), 2);
        EXPECT_NEAR(shown.bottom(), onPaper.bottom(), 2);
    }
    EXPECT_TRUE(home.ui.shown.isEmpty()) << home.ui.texts().join('|').toStdString();
}

TEST_F(PreviewWindow, OffsetMovesItemsAndInnerRulersButNotTheOuterOnes)
{
    sample("ZDA", "张三", 1, {{"CtlX", 254}, {"CtlY", 0}});
    exec("update ckTypeTable set XMove = 30, YMove = -25 where CheckTypeID = :id",
         {{"id", kTemplate}});
    ASSERT_TRUE(load());
    QWidget *panel = preview.itemPanel();
    auto *outer = child<QWidget>(preview, "tractbarTop1");
    const QPoint outerAt = outer->pos();
    EXPECT_EQ(child<QLineEdit>(preview, "edtMoveX")->text(), "0.3");
    EXPECT_EQ(child<QLineEdit>(preview, "edtMoveY")->text(), "-0.25");
    EXPECT_EQ(panel->pos(), QPoint(11, -9));

    child<QSpinBox>(preview, "XMove")->setValue(100);
    EXPECT_EQ(panel->pos(), QPoint(38, -9));
    EXPECT_EQ(outer->pos(), outerAt);
    EXPECT_EQ(child<QWidget>(preview, "tractbarTop2")->parentWidget(), panel);

    auto *ignore = child<QCheckBox>(preview, "ckNoMoveXY");
    ignore->setChecked(true);
    EXPECT_EQ(panel->pos(), QPoint(0, 0));
    ignore->setChecked(false);
    EXPECT_EQ(panel->pos(), QPoint(38, -9));
    // Only tried out here: the template keeps its offset.
    EXPECT_EQ(home.services().catalogue().loadTemplate(kTemplate)->xMove, 30);
}

TEST_F(PreviewWindow, EditedSampleShowsAtOnceAndIsStoredForTheKind)
{
    sample("ZDA", "张三", 1, {{"CtlX", 0}, {"CtlY", 0}});
    ASSERT_TRUE(load());
    child<QPushButton>(preview, "btEditPreviewData")->click();
    auto *grid = child<QTableView>(preview, "DBGrid1");
    EXPECT_TRUE(grid->isColumnHidden(0));
    EXPECT_TRUE(grid->isColumnHidden(1));
    QAbstractItemModel *model = grid->model();
    ASSERT_EQ(model->rowCount(), 1);
    const QImage before = preview.paintedItems();
    EXPECT_TRUE(model->setData(model->index(0, 3), "李四"));
    EXPECT_NE(preview.paintedItems(), before);
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("select CtlData from NameDict where CtlName = 'ZDA'") && q.next());
    EXPECT_EQ(q.value(0).toString(), "李四");
}

TEST_F(PreviewWindow, UnknownKindRefusesAndBadPitchKeepsEarlierItems)
{
    preview.setCheckTypeId(4242);
    EXPECT_FALSE(preview.loadPreview());
    EXPECT_EQ(home.ui.last().text, "没有找到对应的单据信息~");

    sample("ZDA", "张三", 1, {{"CtlX", 0}, {"CtlY", 0}});
    sample("ZDB", "李四", 2, {{"CtlX", 0}, {"CtlY", 0}, {"FitParam", "abc"}});
    ASSERT_TRUE(load());
    // The good item is painted; the bad one is told and left out.
    QImage alone(preview.paintedItems().size(), QImage::Format_ARGB32_Premultiplied);
    alone.fill(Qt::transparent);
    EXPECT_NE(preview.paintedItems(), alone);
    EXPECT_EQ(home.ui.last().text, "打印ZDB出现错误！");
    EXPECT_EQ(home.ui.last().caption, "错误");
}

TEST_F(PreviewWindow, TemplatePictureViewer)
{
    TfrmImageShow viewer(home.services());
    viewer.loadPictureByFullName(kFeiyan);
    EXPECT_TRUE(viewer.hasPicture());
    EXPECT_EQ(viewer.windowTitle(), u"岚砚软件-模板图片查看【" + kFeiyan + u"】");

    exec("update ckTypeTable set ImgFile = '' where CheckTypeID = 1", {});
    viewer.loadPictureByFullName(kFeiyan);
    EXPECT_FALSE(viewer.hasPicture());
    EXPECT_EQ(home.ui.last().text, "没有有效的图片文件~");

    // A damaged picture is named in Chinese, not in the reader's English.
    exec("update ckTypeTable set ImgFile = 'broken.jpg' where CheckTypeID = 1", {});
    QFile broken(home.services().home().imageDir() + "broken.jpg");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\xFF\xD8\xFF\xE0 not the rest of a picture");
    broken.close();
    viewer.loadPictureByFullName(kFeiyan);
    EXPECT_FALSE(viewer.hasPicture());
    EXPECT_TRUE(home.ui.last().text.startsWith(u"图片文件“broken.jpg”无法显示："))
        << home.ui.last().text.toStdString();
    EXPECT_FALSE(home.ui.last().text.contains("Unable")) << home.ui.last().text.toStdString();
}
