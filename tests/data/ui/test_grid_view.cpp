#include "TestHome.h"
#include "data/ui/GridView.h"
#include "data/ui/TfrmGridConfig.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

struct Grid
{
    Grid()
    {
        model.setHorizontalHeaderLabels({"流水号", "寄件人", "收件人", "备注"});
        view.setObjectName("dbgList");
        view.setModel(&model);
    }
    QHeaderView &header() { return *view.horizontalHeader(); }
    QStandardItemModel model{1, 4};
    QTableView view;
};

QStringList entries(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

TEST(GridView, LoadHidesZeroAndMinusOneAndFitsWhereNothingIsStored)
{
    TestHome home;
    IniFile &ini = home.settings().userIni();
    ini.writeString("FMSEARCH_KDD", "DBGLIST.W0", "0");
    ini.writeString("FMSEARCH_KDD", "DBGLIST.W1", "-1");
    ini.writeString("FMSEARCH_KDD", "DBGLIST.W2", "120");
    Grid grid;
    grid.header().hideSection(2);

    GridView::GridColsWidthLoad(home.services().grids(), grid.view, "fmSearch_KDD");
    EXPECT_TRUE(grid.header().isSectionHidden(0));
    EXPECT_TRUE(grid.header().isSectionHidden(1));
    EXPECT_FALSE(grid.header().isSectionHidden(2));
    EXPECT_EQ(grid.header().sectionSize(2), 120);
    EXPECT_FALSE(grid.header().isSectionHidden(3));
    // The title is never cut, and a long text does not push the rest out of view.
    grid.model.setData(grid.model.index(0, 3), QString(200, u'长'));
    GridView::GridColsWidthLoad(home.services().grids(), grid.view, "fmSearch_KDD");
    EXPECT_GE(grid.header().sectionSize(3), grid.header().sectionSizeHint(3));
    EXPECT_LE(grid.header().sectionSize(3), 240);
    EXPECT_TRUE(home.ui.shown.isEmpty());
}

TEST(GridView, SaveStoresWidthsAndMinusOneForHiddenColumns)
{
    TestHome home;
    Grid grid;
    grid.header().resizeSection(0, 77);
    grid.header().hideSection(1);
    GridView::GridColsWidthSave(home.services().grids(), grid.view, "fmSearch_KDD");
    home.restart();
    Grid again;
    GridView::GridColsWidthLoad(home.services().grids(), again.view, "FMSEARCH_KDD");
    EXPECT_EQ(again.header().sectionSize(0), 77);
    EXPECT_TRUE(again.header().isSectionHidden(1));
    EXPECT_FALSE(again.header().isSectionHidden(2));
}

TEST(GridView, ColumnDialogMovesInReverseAndAppliesAndSaves)
{
    TestHome home;
    Grid grid;
    grid.header().hideSection(3);
    TfrmGridConfig dialog(home.services(), grid.view, "fmSearch_KDD");
    EXPECT_EQ(dialog.windowTitle(), "表格栏目配置");
    auto *show = dialog.findChild<QListWidget *>("lstShow");
    auto *hide = dialog.findChild<QListWidget *>("lstHide");
    ASSERT_TRUE(show && hide);
    EXPECT_EQ(entries(show), (QStringList{"流水号", "寄件人", "收件人"}));
    EXPECT_EQ(entries(hide), QStringList{"备注"});

    show->item(0)->setSelected(true);
    show->item(2)->setSelected(true);
    dialog.findChild<QPushButton *>("goHidden")->click();
    EXPECT_EQ(entries(show), QStringList{"寄件人"});
    EXPECT_EQ(entries(hide), (QStringList{"备注", "收件人", "流水号"}));
    hide->item(0)->setSelected(true);
    dialog.findChild<QPushButton *>("goShowing")->click();

    dialog.findChild<QPushButton *>("btSaveSet")->click();
    EXPECT_EQ(home.ui.texts(), QStringList{"栏目显示设置成功~"});
    EXPECT_TRUE(grid.header().isSectionHidden(0));
    EXPECT_FALSE(grid.header().isSectionHidden(1));
    EXPECT_TRUE(grid.header().isSectionHidden(2));
    EXPECT_FALSE(grid.header().isSectionHidden(3));
    EXPECT_GE(grid.header().sectionSize(3), 1);
    IniFile &ini = home.settings().userIni();
    EXPECT_EQ(ini.readString("FMSEARCH_KDD", "DBGLIST.W0"), "-1");
    EXPECT_EQ(ini.readString("FMSEARCH_KDD", "DBGLIST.W2"), "-1");
    EXPECT_NE(ini.readString("FMSEARCH_KDD", "DBGLIST.W3"), "-1");
}

TEST(GridView, ColumnDialogSaysSoWhenConfigIniCannotBeWritten)
{
    TestHome home;
    Grid grid;
    TfrmGridConfig dialog(home.services(), grid.view, "fmSearch_KDD");
    // A folder where the file should be: no write can succeed, not even as root.
    const QString path = home.settings().userIni().path();
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkpath(path));
    dialog.findChild<QPushButton *>("btSaveSet")->click();
    EXPECT_FALSE(home.ui.texts().contains("栏目显示设置成功~"));
    EXPECT_TRUE(home.ui.last().text.startsWith("栏目显示设置保存失败！"));
}
