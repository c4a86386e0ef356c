#include "../PackageFile.h"
#include "../TemplateRows.h"
#include "NextModal.h"
#include "StubReader.h"
#include "templates/ui/TfrmBillImportExport.h"
#include "templates/ui/TfrmCheckTypeMng.h"

#include <QBuffer>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQueryModel>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace {

QByteArray jpeg()
{
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

} // namespace

class TemplateManagement : public TemplateRows
{
protected:
    void SetUp() override
    {
        TemplateRows::SetUp();
        addDictItem("快递单", "ZDSKR", 1);
        addDictItem("承兑汇票", "ZDJE", 1);
        addTemplate(1, "快递单", "甲", "启用", "默认");
        addTemplate(2, "快递单", "乙", "启用", "0", "否");
        addTemplate(3, "快递单", "Abc", "停用隐藏", "默认");
        addTemplate(4, "承兑汇票", "银行", "启用", "默认");
        addItem(2, "ZDSKR", 1, 2, 3, 4, 1);
    }

    void open(int start = 0)
    {
        window = std::make_unique<TfrmCheckTypeMng>(home.services(), start);
    }
    template<class T = QPushButton>
    T *child(const char *name)
    {
        return window->findChild<T *>(name);
    }
    void click(const char *name) { child(name)->click(); }
    void tab(int index) { child<QTabBar>("TabControl1")->setCurrentIndex(index); }
    QTableView *grid() { return child<QTableView>("DBGrid1"); }
    QStringList listed()
    {
        QStringList ids;
        for (int r = 0; r < grid()->model()->rowCount(); ++r)
            ids << grid()->model()->index(r, 0).data().toString();
        return ids;
    }
    // Selects the rows of these identifiers, the first one current.
    void select(const QList<int> &ids)
    {
        grid()->clearSelection();
        for (int r = 0; r < grid()->model()->rowCount(); ++r)
            if (ids.contains(grid()->model()->index(r, 0).data().toInt())) {
                const QModelIndex index = grid()->model()->index(r, 1);
                if (grid()->selectionModel()->selectedRows().isEmpty())
                    grid()->setCurrentIndex(index);
                grid()->selectionModel()->select(index, QItemSelectionModel::Select |
                                                            QItemSelectionModel::Rows);
            }
    }
    Template row(int id) { return *catalogue().loadTemplate(id); }

    std::unique_ptr<TfrmCheckTypeMng> window;
};

TEST_F(TemplateManagement, ListsByTabKindAndKey)
{
    open(4);
    EXPECT_EQ(child<QComboBox>("cbCheckTypeName")->currentText(), "承兑汇票");
    EXPECT_EQ(listed(), QStringList{"4"});
    EXPECT_EQ(window->windowTitle(), "承兑汇票模板管理(查询1个)");
    EXPECT_EQ(child("btSetToDefault")->text(), "设置为【默认】承兑汇票");

    click("btALL");
    EXPECT_EQ(child("btSetToDefault")->text(), "设置为【默认】模板");
    EXPECT_EQ(listed(), QStringList({"2", "1", "4"})); // by full name
    const struct
    {
        int tab;
        QStringList ids;
        bool enabled[6]; // default, common, remove common, hide, enable, delete
    } tabs[] = {
        {0, {"2", "1", "4"}, {true, true, false, true, false, true}},
        {1, {"1", "4"}, {true, false, true, true, false, true}},
        {2, {"1", "4"}, {false, false, false, false, false, false}},
        {3, {"3"}, {true, true, false, false, true, true}},
    };
    const char *buttons[] = {"btSetToDefault", "btSet2Common", "btNoCommon",
                             "btHide",         "btShow",       "btDelete"};
    for (const auto &t : tabs) {
        tab(t.tab);
        EXPECT_EQ(listed(), t.ids) << t.tab;
        for (int b = 0; b < 6; ++b)
            EXPECT_EQ(child(buttons[b])->isEnabled(), t.enabled[b]) << t.tab << buttons[b];
    }

    // The key matches the upper-cased key anywhere in the full name; a wildcard is a character.
    tab(3);
    child<QLineEdit>("edtKey")->setText(" abc ");
    click("btSearch");
    EXPECT_EQ(listed(), QStringList{"3"});
    EXPECT_TRUE(child<QLineEdit>("edtKey")->text().isEmpty());
    child<QLineEdit>("edtKey")->setText("%");
    click("btSearch");
    EXPECT_TRUE(listed().isEmpty());
}

TEST_F(TemplateManagement, DefaultEnablesMarksCommonAndClearsTheKindsOtherDefaults)
{
    open();
    select({2});
    QSignalSpy changed(&catalogue(), &Catalogue::templatesChanged);
    click("btSetToDefault");
    EXPECT_EQ(home.ui.last().text, "默认【快递单票据】模板设置成功！");
    EXPECT_EQ(row(2).isDefault, "默认");
    EXPECT_EQ(row(2).isCommon, "是");
    EXPECT_EQ(row(1).isDefault, "0");
    EXPECT_EQ(row(3).isDefault, "0") << "hidden templates of the kind too";
    EXPECT_EQ(row(4).isDefault, "默认") << "other kinds keep theirs";
    EXPECT_EQ(child<QTabBar>("TabControl1")->currentIndex(), 2);
    EXPECT_EQ(changed.count(), 1);

    // Hiding the default keeps it default; the default tab lists enabled templates only.
    tab(0);
    select({2});
    click("btHide");
    EXPECT_EQ(home.ui.last().text, "隐藏的模板，可在【隐藏的模板】中重新启用。");
    EXPECT_EQ(row(2).visiable, "停用隐藏");
    EXPECT_EQ(row(2).isDefault, "默认");
    tab(2);
    EXPECT_EQ(listed(), QStringList{"4"});
    tab(3);
    select({2, 3});
    click("btShow");
    EXPECT_EQ(row(3).visiable, "启用");

    // From the hidden tab, default enables.
    exec("update ckTypeTable set Visiable = '停用隐藏' where CheckTypeID = 1");
    tab(3);
    click("btRefresh");
    select({1});
    click("btSetToDefault");
    EXPECT_TRUE(row(1).isEnabled());
    EXPECT_EQ(row(1).isDefault, "默认");
}

TEST_F(TemplateManagement, RemovingCommonRefusesEachDefaultAndChangesTheRest)
{
    exec("update ckTypeTable set IsCommon = '是'");
    open();
    tab(1);
    select({1, 2, 4});
    home.ui.shown.clear();
    click("btNoCommon");
    EXPECT_EQ(home.ui.texts(),
              QStringList({"默认模板不能从常用模板移出！", "默认模板不能从常用模板移出！",
                           "共从常用模板移出 1 个模板为普通模板！"}));
    EXPECT_EQ(row(2).isCommon, "否");
    EXPECT_EQ(row(1).isCommon, "是");
    EXPECT_EQ(row(4).isCommon, "是");

    tab(0);
    select({2});
    click("btSet2Common");
    EXPECT_TRUE(home.ui.last().text.startsWith("共添加 1 个模板为常用模板！\n\r\n\r"));
}

TEST_F(TemplateManagement, DeleteAsksTwiceAndCounts)
{
    QFile picture(home.services().home().imageDir() + "kdd2.jpg");
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.write(jpeg());
    picture.close();
    exec("update ckTypeTable set ImgFile = 'kdd2.jpg' where CheckTypeID = 2");
    insert("DMTable", {{"DMName", "cfgX"}, {"DMValue", "1"}, {"CheckTypeID", 2}});
    open();
    select({1, 2});
    click("btDelete"); // the first question answered No
    EXPECT_EQ(home.ui.last().text, "共删除 0 个模板！");
    EXPECT_EQ(listed().size(), 3);

    home.ui.answer(Ui::Answer::Yes); // delete the selection
    home.ui.answer(Ui::Answer::No);  // but not 甲
    home.ui.answer(Ui::Answer::Yes); // 乙
    select({1, 2});
    click("btDelete");
    EXPECT_EQ(home.ui.texts().mid(home.ui.texts().size() - 3),
              QStringList({"确认删除票据模板【快递单（甲）】吗？",
                           "确认删除票据模板【快递单（乙）】吗？", "共删除 1 个模板！"}));
    EXPECT_FALSE(catalogue().loadTemplate(2));
    EXPECT_TRUE(catalogue().loadTemplateItems(2).empty());
    EXPECT_TRUE(catalogue().loadTemplate(1));
    EXPECT_FALSE(QFile::exists(picture.fileName()));
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("select count(*) from DMTable where CheckTypeID = 2") && q.next());
    EXPECT_EQ(q.value(0).toInt(), 0);
}

TEST_F(TemplateManagement, CloneAndRenameCleanTheNameAndRefuseDuplicates)
{
    QFile picture(home.services().home().imageDir() + "kdd_b.jpg");
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.write(jpeg());
    picture.close();
    exec("update ckTypeTable set ImgFile = 'kdd_b.jpg', XMove = 7 where CheckTypeID = 2");
    open();
    const struct
    {
        const char *typed;
        const char *message; // empty: nothing shown
    } refused[] = {
        {"", ""},
        {"乙", ""},
        {" ()（）'%*? ", "输入了无效的字符(引号\\?\\*\\(\\)\\%)!"},
        {"甲", "模板名字已经存在,请确认是否输入了重复的名字或者改模版正被隐藏。"},
    };
    for (const auto &r : refused) {
        home.ui.shown.clear();
        select({2});
        home.ui.answerValue(r.typed);
        window->cloneCurrent();
        EXPECT_EQ(home.ui.prompted.last().prompt, "输入新模板名(15个汉字以内)：");
        EXPECT_EQ(home.ui.prompted.last().defaultValue, "乙");
        EXPECT_EQ(home.ui.texts().join(""), QString::fromUtf8(r.message)) << r.typed;
    }
    EXPECT_EQ(listed().size(), 3);

    select({2});
    home.ui.answerValue("丙 丁");
    window->cloneCurrent();
    EXPECT_EQ(home.ui.last().text, "克隆模板成功，已新增一个同类模板~");
    const Template clone = row(5);
    EXPECT_EQ(clone.typeDescribe, "丙丁");
    EXPECT_EQ(clone.typeName, "快递单（丙丁）");
    EXPECT_EQ(clone.isDefault, "0");
    EXPECT_EQ(clone.xMove, 7);
    EXPECT_EQ(clone.imgFile, "kdd5.jpg");
    EXPECT_TRUE(QFile::exists(home.services().home().imageDir() + "kdd5.jpg"));
    ASSERT_EQ(catalogue().loadTemplateItems(5).size(), 1u);
    EXPECT_EQ(catalogue().loadTemplateItems(5)[0].srcH, 4);

    // A template without items cannot be cloned; nothing of it stays.
    select({1});
    home.ui.answerValue("戊");
    window->cloneCurrent();
    EXPECT_EQ(home.ui.last().text, "修改失败，错误=找不到源模板细节数据，ID=1");
    EXPECT_FALSE(catalogue().loadTemplate(6));

    select({5});
    home.ui.answerValue("O'Brien");
    window->renameCurrent();
    EXPECT_EQ(home.ui.prompted.last().defaultValue, "丙丁");
    EXPECT_EQ(home.ui.last().text, "重名名成功~");
    EXPECT_EQ(row(5).typeName, "快递单（OBrien）");
}

class PackageWindow : public TemplateRows
{
protected:
    template<class T = QPushButton>
    T *child(const char *name)
    {
        return window.findChild<T *>(name);
    }
    void click(const char *name) { child(name)->click(); }
    QStringList items(const char *list)
    {
        QStringList all;
        for (int i = 0; i < child<QListWidget>(list)->count(); ++i)
            all << child<QListWidget>(list)->item(i)->text();
        return all;
    }
    TfrmBillImportExport window{home.services()};
};

TEST_F(PackageWindow, ChoosesListsAndImportsAPackage)
{
    addDictItem("快递单", "ZDSKR", 1);
    home.ui.answerFile(home.path() + "notes.txt");
    click("btBrowseImport");
    EXPECT_EQ(home.ui.last().text, "请选择标准的岚砚票据包，例如：中国银行进账单.lyb");
    EXPECT_TRUE(child<QLineEdit>("edtImportBillsFile")->text().isEmpty());
    EXPECT_FALSE(child("btImport")->isEnabled());

    const QString path = home.path() + "中国银行.lyb";
    {
        PackageFile p(path);
        p.createTables();
        p.addTemplate(1, "快递单（甲）", jpeg(), {{"TypeFirstName", "快递单"}});
        p.addItem(1, "ZDSKR");
        p.addTemplate(2, "快递单（乙）", jpeg(), {{"TypeFirstName", "快递单"}});
        p.addTemplate(3, "快递单（丙）", "not a picture", {{"TypeFirstName", "快递单"}});
    }
    home.ui.answerFile(path);
    click("btBrowseImport");
    EXPECT_EQ(items("lstImpFrom"), QStringList({"快递单（乙）", "快递单（甲）"}));
    EXPECT_EQ(items("lstImpSel"), QStringList{"快递单（丙）"});
    EXPECT_TRUE(child("btImport")->isEnabled());
    click("btImpSelAll");
    EXPECT_TRUE(items("lstImpFrom").isEmpty());

    QSignalSpy changed(&catalogue(), &Catalogue::templatesChanged);
    click("btImport");
    EXPECT_TRUE(home.ui.last().text.startsWith("导入结束，成功导入单据2个，失败1个!"));
    EXPECT_TRUE(home.ui.last().text.contains("导入失败，单据：快递单（丙）"));
    EXPECT_EQ(child<QLabel>("lbProcessIn")->text(), "3/3");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(catalogue().loadCheckTypeLastNameList("快递单"), QStringList({"乙", "甲"}));
    EXPECT_FALSE(home.settings().userIni().readString("ERROR", "LASTERROR").isEmpty());

    click("btImpClear");
    EXPECT_TRUE(items("lstImpSel").isEmpty());
    EXPECT_EQ(items("lstImpFrom").size(), 3);
    EXPECT_FALSE(child("btImport")->isEnabled());
}

// A package of the older release is an Access file, read by the reader helper while the
// window waits; "中止" stops the helper and the package is neither listed nor imported.
TEST_F(PackageWindow, AbortWhileAnOlderPackageIsReadListsNothing)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QString path = home.path() + "旧版票据.lyb";
    ASSERT_TRUE(QFile::copy(LANYAN_SOURCE_DIR "/tests/data/fixtures/access/nwind.mdb", path));
    const QStringList before = catalogue().loadCheckTypeLastNameList("快递单");
    StubReader reader("echo 'progress 1 5'\nexec sleep 600");
    bool closedByButton = false;
    NextModal abort([&](QWidget *dialog) {
        auto *button = dialog->findChild<QPushButton *>("btAbortRead");
        ASSERT_TRUE(button);
        EXPECT_EQ(button->text(), "中止");
        QTest::mouseClick(button, Qt::LeftButton);
        closedByButton = !dialog->isVisible();
    });
    home.ui.answerFile(path);
    QTest::mouseClick(child("btBrowseImport"), Qt::LeftButton);
    EXPECT_TRUE(abort.answered());
    EXPECT_TRUE(closedByButton);
    EXPECT_TRUE(reader.ranAndEnded());
    EXPECT_TRUE(home.ui.shown.isEmpty()) << home.ui.last().text.toStdString();
    EXPECT_EQ(child<QLabel>("lbProcessIn")->text(), "已中止读取票据包");
    EXPECT_TRUE(child<QLineEdit>("edtImportBillsFile")->text().isEmpty());
    EXPECT_TRUE(items("lstImpFrom").isEmpty());
    EXPECT_FALSE(child("btImport")->isEnabled());
    EXPECT_EQ(catalogue().loadCheckTypeLastNameList("快递单"), before);
}

TEST_F(PackageWindow, ExportPanelShowsAfterClicksOnTheMaximizedNoticeAndWritesAPackage)
{
    addTemplate(1, "快递单", "甲");
    addTemplate(2, "快递单", "乙", "停用隐藏");
    addItem(1, "ZDSKR", 1, 2, 3, 4, 1);
    child<QTabWidget>("")->setCurrentIndex(1);
    auto *notice = child<QLabel>("lbConstraction");
    auto clickNotice = [&] {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(notice, &release);
    };
    for (int i = 0; i < TfrmBillImportExport::kClicksToExport; ++i)
        clickNotice();
    EXPECT_TRUE(child<QWidget>("panelExport")->isHidden()) << "only while maximized";
    window.setWindowState(Qt::WindowMaximized);
    for (int i = 0; i < TfrmBillImportExport::kClicksToExport; ++i)
        clickNotice();
    EXPECT_FALSE(child<QWidget>("panelExport")->isHidden());
    EXPECT_EQ(items("listExpExists"), QStringList({"快递单（乙）", "快递单（甲）"}));

    click("btExport");
    EXPECT_FALSE(child("btExport")->isEnabled());
    home.ui.answerFile(home.path() + "out.zip");
    click("btBrowseExport");
    EXPECT_EQ(home.ui.last().text, "请选择或输入标准的票据包，例如：顺风快递07.lyb、天地达.lyb");
    const QString path = home.path() + "out.lyb";
    home.ui.answerFile(path);
    click("btBrowseExport");
    click("btExport");
    EXPECT_EQ(home.ui.last().text, "还没有选择要导出的票据格式！");
    click("btESelAll");
    click("btExport");
    EXPECT_TRUE(home.ui.last().text.startsWith("导出完成,成功导出2个单据！"));
    EXPECT_EQ(child<QLabel>("lbProcessOut")->text(), "2/2");

    TemplateImport import(home.db(), catalogue(), home.services().home());
    QString error;
    QStringList names;
    ASSERT_TRUE(import.open(path, &error) && import.templateNames(&names, &error));
    EXPECT_EQ(names, QStringList({"快递单（乙）", "快递单（甲）"}));
}

// After an import every kind it touched has a default template: the replaced default stays
// one, and a kind without any gets its first enabled template, said in the summary.
TEST_F(PackageWindow, ImportLeavesEveryKindItTouchedWithADefault)
{
    addDictItem("快递单", "ZDSKR", 1);
    addDictItem("承兑汇票", "ZDJE", 1);
    addTemplate(12, "快递单", "甲", "启用", "默认");
    addTemplate(13, "快递单", "乙");
    const QString path = home.path() + "包.lyb";
    {
        PackageFile p(path);
        p.createTables();
        p.addTemplate(1, "快递单（甲）", jpeg(), {{"TypeFirstName", "快递单"}});
        p.addTemplate(2, "承兑汇票（新）", jpeg(), {{"TypeFirstName", "承兑汇票"}});
    }
    home.ui.answerFile(path);
    click("btBrowseImport");
    click("btImpSelAll");
    click("btImport");
    const QString summary = home.ui.last().text;
    EXPECT_TRUE(summary.startsWith("导入结束，成功导入单据2个!")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("承兑汇票（新） 已设为默认模板")) << summary.toStdString();
    EXPECT_FALSE(summary.contains("快递单（甲） 已设为默认模板")) << summary.toStdString();

    const qsizetype messages = home.ui.shown.size();
    EXPECT_EQ(catalogue().loadDefaultCheckTypeId("快递单"), 12);
    const int draft = catalogue().loadDefaultCheckTypeId("承兑汇票");
    EXPECT_EQ(catalogue().loadTemplate(draft)->typeName, "承兑汇票（新）");
    EXPECT_EQ(home.ui.shown.size(), messages); // no "没有设定默认的…" on the next bill
}
