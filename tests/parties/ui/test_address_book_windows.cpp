#include "NextModal.h"
#include "RefusingTrigger.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "bills/ui/PartyFrame.h"
#include "bills/ui/TfmCheckKDD.h"
#include "data/PartyBlocks.h"
#include "parties/ui/Tfm_PersonManage.h"
#include "parties/ui/Tfrm_PersonInfo.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A party by its stored ID alone, to read it.
TPerson withId(int id)
{
    TPerson p;
    p.ID = id;
    return p;
}

QPushButton *buttonOf(QWidget *window, const char *name)
{
    auto *b = window->findChild<QPushButton *>(QString::fromLatin1(name));
    EXPECT_TRUE(b) << name;
    return b;
}

QString boxText(Tfrm_PersonInfo &detail, const char *name)
{
    QWidget *box = detail.box(QString::fromLatin1(name));
    if (auto *edit = qobject_cast<QLineEdit *>(box))
        return edit->text();
    if (auto *combo = qobject_cast<QComboBox *>(box))
        return combo->currentText();
    return {};
}

// Column of the list that shows the parties' names, -1 when none does.
int nameColumn(Tfm_PersonManage &list)
{
    auto *model = list.grid()->model();
    for (int c = 0; c < model->columnCount(); ++c)
        if (model->headerData(c, Qt::Horizontal).toString() == u"全称")
            return c;
    return -1;
}

// The names the list shows, top to bottom.
QStringList listedNames(Tfm_PersonManage &list)
{
    auto *model = list.grid()->model();
    const int column = nameColumn(list);
    QStringList names;
    for (int r = 0; column >= 0 && r < model->rowCount(); ++r)
        names << model->index(r, column).data().toString();
    return names;
}

// Row of the list that shows the party of that name, -1 when none does.
int rowOf(Tfm_PersonManage &list, const QString &name)
{
    return int(listedNames(list).indexOf(name));
}

void clickRow(Tfm_PersonManage &list, int row, Qt::KeyboardModifiers modifiers = {},
              bool twice = false)
{
    QTableView *grid = list.grid();
    const QPoint at = grid->visualRect(grid->model()->index(row, 1)).center();
    if (twice) {
        QTest::mousePress(grid->viewport(), Qt::LeftButton, modifiers, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, modifiers, at);
    } else
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, at);
}

struct BookFixture
{
    TestHome home;
    Tfm_Main frame{home.services()};

    BookFixture()
    {
        frame.show();
        QApplication::setActiveWindow(&frame);
    }

    TPerson store(const QString &name, const QString &type, const QString &contact = {})
    {
        TPerson p;
        p.FullName = name;
        p.AcountType = type;
        p.Contactor = contact;
        EXPECT_TRUE(home.services().parties().Save(p).isEmpty());
        return *home.services().parties().FindByFullName(name);
    }
    int parties() { return home.db().CountTableAllRows("CKPersonalInfoTable", home.ui); }
};

} // namespace

TEST(AddressBookWindows, ReceiverFramePicksACounterpartyIntoTheSlip)
{
    BookFixture f;
    f.store(QStringLiteral("我方总部"), TPerson::kOwnUnit);
    TPerson receiver;
    int field = 0;
    // Ten distinct values, one for each box of the receiver block.
    for (const PartyBlockField &b : partyBlockFields(PartyBlock::SlipReceiver))
        receiver.*b.field = QStringLiteral("收%1值").arg(++field);
    receiver.FullName = QStringLiteral("深圳飞鸿 O'Neil");
    receiver.AcountType = TPerson::kCounterparty;
    ASSERT_TRUE(f.home.services().parties().Save(receiver).isEmpty());
    ASSERT_EQ(field, 10);

    f.frame.menuItem("m_new_kdd")->trigger();
    TfmCheckKDD *form = TfmCheckKDD::instance();
    ASSERT_TRUE(form);
    bool listed = false;
    bool ownUnitListed = true;
    NextModal pickList([&](QWidget *modal) {
        auto *list = qobject_cast<Tfm_PersonManage *>(modal);
        ASSERT_TRUE(list);
        EXPECT_EQ(list->windowTitle(), QStringLiteral("选择收件人资料"));
        EXPECT_EQ(list->findChild<QTabBar *>("TabControl1")->currentIndex(), 1);
        const int row = rowOf(*list, receiver.FullName);
        listed = row >= 0;
        ownUnitListed = rowOf(*list, QStringLiteral("我方总部")) >= 0;
        if (listed)
            clickRow(*list, row, {}, true);
    });
    form->findChild<PartyFrame *>("shpskr")->picked();
    EXPECT_TRUE(listed);
    EXPECT_FALSE(ownUnitListed);
    for (const PartyBlockField &b : partyBlockFields(PartyBlock::SlipReceiver))
        EXPECT_EQ(form->fieldText(QString::fromLatin1(b.control)), receiver.*b.field) << b.control;
    // The select-mode list is gone once it has answered.
    EXPECT_TRUE(f.frame.findChildren<Tfm_PersonManage *>().isEmpty());
}

TEST(AddressBookWindows, SavingTheSlipReceiverStoresItOnceAndThenUpdatesIt)
{
    BookFixture f;
    f.frame.menuItem("m_new_kdd")->trigger();
    TfmCheckKDD *form = TfmCheckKDD::instance();
    ASSERT_TRUE(form);
    form->setFieldText("zdSKR", QStringLiteral("杭州岚砚纸业"));
    form->setFieldText("zdSKRLXR", QStringLiteral("钱八"));
    form->setFieldText("skrHandset", QStringLiteral("13900000000"));
    form->setFieldText("zdSkrDZ", QStringLiteral("文三路1号"));

    QString shownName;
    NextModal newReceiver([&](QWidget *modal) {
        auto *detail = qobject_cast<Tfrm_PersonInfo *>(modal);
        ASSERT_TRUE(detail);
        shownName = boxText(*detail, "edtName");
        EXPECT_EQ(boxText(*detail, "cbAcountType"), TPerson::kCounterparty);
        EXPECT_TRUE(detail->idText().isEmpty());
        qobject_cast<QLineEdit *>(detail->box("edtBankAcct"))->setText(QStringLiteral("6222"));
        buttonOf(detail, "btSaveClose")->click();
    });
    form->btSaveSKRenClick();
    EXPECT_EQ(shownName, QStringLiteral("杭州岚砚纸业"));
    EXPECT_EQ(f.home.ui.last().text, QStringLiteral("新增单位资料添加成功！"));
    const std::optional<TPerson> stored =
        f.home.services().parties().FindByFullName(QStringLiteral("杭州岚砚纸业"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Contactor, QStringLiteral("钱八"));
    EXPECT_EQ(stored->Handset, QStringLiteral("13900000000"));
    EXPECT_EQ(stored->AcountType, TPerson::kCounterparty);

    // The same receiver with a new address is found by name and contact and updated.
    form->setFieldText("zdSkrDZ", QStringLiteral("文三路2号"));
    NextModal knownReceiver([&](QWidget *modal) {
        auto *detail = qobject_cast<Tfrm_PersonInfo *>(modal);
        ASSERT_TRUE(detail);
        EXPECT_EQ(detail->idText(), QString::number(stored->ID));
        buttonOf(detail, "btSaveClose")->click();
    });
    form->btSaveSKRenClick();
    EXPECT_EQ(f.home.ui.last().text, QStringLiteral("历史单位资料资料更新成功！"));
    EXPECT_EQ(f.parties(), 1);
    EXPECT_EQ(f.home.services().parties().FindByFullName(QStringLiteral("杭州岚砚纸业"))->Address,
              QStringLiteral("文三路2号"));

    // A receiver not in the book opens with nothing of the party shown before.
    form->setFieldText("zdSKR", QStringLiteral("另一家"));
    QString leftOver = QStringLiteral("?");
    NextModal otherReceiver([&](QWidget *modal) {
        auto *detail = qobject_cast<Tfrm_PersonInfo *>(modal);
        ASSERT_TRUE(detail);
        leftOver = boxText(*detail, "edtBankAcct");
        detail->close();
    });
    form->btSaveSKRenClick();
    EXPECT_TRUE(leftOver.isEmpty());
}

TEST(AddressBookWindows, SetAsDefaultDrawerMakesACounterpartyTheOwnUnitDrawer)
{
    BookFixture f;
    f.home.services().parties().holdDefaultDrawer(true);
    const TPerson old = f.store(QStringLiteral("旧出票人"), TPerson::kOwnUnit);
    f.home.services().parties().setDefaultDrawer(old.ID);
    const TPerson payee = f.store(QStringLiteral("往来甲"), TPerson::kCounterparty);

    bool ownUnitAfterwards = false;
    NextModal manage([&](QWidget *modal) {
        auto *list = qobject_cast<Tfm_PersonManage *>(modal);
        ASSERT_TRUE(list);
        list->findChild<QTabBar *>("TabControl1")->setCurrentIndex(1);
        clickRow(*list, rowOf(*list, payee.FullName));
        EXPECT_EQ(list->windowTitle(), u"单位、客户管理-当前选中:" + payee.FullName);
        buttonOf(list, "btSetDefault")->click();
        list->findChild<QTabBar *>("TabControl1")->setCurrentIndex(0);
        ownUnitAfterwards = rowOf(*list, payee.FullName) >= 0;
        EXPECT_TRUE(buttonOf(list, "btRefresh")->isEnabled());
        list->close();
    });
    f.frame.menuItem("PersonalInfoManage")->trigger();
    EXPECT_TRUE(f.home.ui.texts().contains(QStringLiteral("默认出票人设置成功！")));
    EXPECT_TRUE(ownUnitAfterwards);
    const std::optional<TPerson> drawer = f.home.services().parties().LoadDefaultDrawer();
    ASSERT_TRUE(drawer);
    EXPECT_EQ(drawer->ID, payee.ID);
    EXPECT_EQ(drawer->AcountType, TPerson::kOwnUnit);
    EXPECT_EQ(f.home.services().parties().DefaultDrawer()->ID, payee.ID);
    EXPECT_TRUE(f.home.services().parties().FindByFullName(old.FullName)->Group.isEmpty());
}

TEST(AddressBookWindows, DeleteAsksThenRemovesExactlyTheSelectedRows)
{
    BookFixture f;
    for (const char *name : {"甲", "乙", "丙", "丁"})
        f.store(QString::fromUtf8(name), TPerson::kCounterparty);
    QSqlQuery q = f.home.db().query();
    ASSERT_TRUE(q.exec("INSERT INTO DataKDDTable (收件单位) VALUES ('乙')"));

    NextModal manage([&](QWidget *modal) {
        auto *list = qobject_cast<Tfm_PersonManage *>(modal);
        ASSERT_TRUE(list);
        list->findChild<QTabBar *>("TabControl1")->setCurrentIndex(2);
        ASSERT_EQ(list->grid()->model()->rowCount(), 4);
        // Shift before any plain click selects from the first row down to the clicked one.
        clickRow(*list, 1, Qt::ShiftModifier);
        EXPECT_EQ(list->grid()->selectionModel()->selectedRows().size(), 2);
        clickRow(*list, 3, Qt::ControlModifier);
        const QString kept = list->grid()->model()->index(2, 1).data().toString();

        buttonOf(list, "btDelete")->click(); // answered No: nothing goes
        EXPECT_EQ(list->grid()->model()->rowCount(), 4);
        f.home.ui.answer(Ui::Answer::Yes);
        buttonOf(list, "btDelete")->click();
        EXPECT_EQ(list->grid()->model()->rowCount(), 1);
        EXPECT_EQ(list->grid()->model()->index(0, 1).data().toString(), kept);
        list->close();
    });
    f.frame.menuItem("PersonalInfoManage")->trigger();
    EXPECT_EQ(f.home.ui.texts().count(QStringLiteral("真的要删除选中的单位信息吗?")), 2);
    EXPECT_EQ(f.parties(), 1);
    EXPECT_EQ(f.home.db().CountTableAllRows("DataKDDTable", f.home.ui), 1);
}

TEST(AddressBookWindows, ListSearchSortAndClearAll)
{
    BookFixture f;
    f.store(QStringLiteral("O'Hara 商行"), TPerson::kCounterparty);
    f.store(QStringLiteral("北方公司"), TPerson::kCounterparty);
    f.store(QStringLiteral("本部"), TPerson::kOwnUnit);
    f.store(QStringLiteral("A座贸易"), TPerson::kCounterparty);

    NextModal manage([&](QWidget *modal) {
        auto *list = qobject_cast<Tfm_PersonManage *>(modal);
        ASSERT_TRUE(list);
        auto *tabs = list->findChild<QTabBar *>("TabControl1");
        EXPECT_EQ(tabs->currentIndex(), 0);
        EXPECT_EQ(list->grid()->model()->rowCount(), 1);
        tabs->setCurrentIndex(1);
        auto *key = list->findChild<QLineEdit *>("KeyEdit");
        key->setText(QStringLiteral("O'Hara"));
        QTest::keyClick(key, Qt::Key_Return);
        EXPECT_EQ(list->grid()->model()->rowCount(), 1);
        EXPECT_EQ(listedNames(*list), QStringList{"O'Hara 商行"});
        EXPECT_EQ(list->findChild<QLabel *>("lbTitle")->text(),
                  QStringLiteral("单位及客户资料管理(1)"));

        // Title clicks alternate, the first one ascending.
        key->clear();
        const QStringList ascending{"A座贸易", "O'Hara 商行", "北方公司"};
        auto *header = list->grid()->horizontalHeader();
        const int names = nameColumn(*list);
        ASSERT_GE(names, 0);
        header->sectionClicked(names);
        EXPECT_EQ(list->sortDirection(), QStringLiteral("ASC"));
        EXPECT_EQ(listedNames(*list), ascending);
        header->sectionClicked(names);
        EXPECT_EQ(list->sortDirection(), QStringLiteral("DESC"));
        EXPECT_EQ(listedNames(*list), QStringList(ascending.rbegin(), ascending.rend()));

        // "删除所有" on the tab of every unit empties the whole book.
        tabs->setCurrentIndex(2);
        EXPECT_TRUE(list->unitTypeFilter().isEmpty());
        f.home.ui.answer(Ui::Answer::Yes);
        list->btClearAllClick();
        EXPECT_EQ(list->grid()->model()->rowCount(), 0);
        list->close();
    });
    f.frame.menuItem("PersonalInfoManage")->trigger();
    EXPECT_EQ(f.parties(), 0);
}

TEST(AddressBookWindows, DetailWindowBoxesPickersAndSaveErrors)
{
    BookFixture f;
    // The database refuses this one name, as it would refuse a full disk.
    ASSERT_TRUE(
        (RefusingTrigger{"refuse", "INSERT", "CKPersonalInfoTable", "NEW.全称 = '坏'"}.install(
            f.home.db())));
    NextModal manage([&](QWidget *modal) {
        auto *list = qobject_cast<Tfm_PersonManage *>(modal);
        ASSERT_TRUE(list);
        NextModal detailWindow([&](QWidget *inner) {
            auto *detail = qobject_cast<Tfrm_PersonInfo *>(inner);
            ASSERT_TRUE(detail);
            // Adding on the own-unit tab starts as an own unit.
            EXPECT_EQ(boxText(*detail, "cbAcountType"), TPerson::kOwnUnit);
            auto *province = qobject_cast<QComboBox *>(detail->box("edtProvince"));
            ASSERT_GT(province->count(), 0);
            province->setCurrentIndex(0);
            auto *city = qobject_cast<QComboBox *>(detail->box("edtCity"));
            EXPECT_GT(city->count(), 0);
            qobject_cast<QLineEdit *>(detail->box("edtName"))->setText(QStringLiteral("新单位"));
            qobject_cast<QLineEdit *>(detail->box("edtBank"))->setText(QStringLiteral("工行"));
            qobject_cast<QComboBox *>(detail->box("cbAcountType"))
                ->setEditText(QStringLiteral("收件单位"));
            buttonOf(detail, "btSave")->click();
            buttonOf(detail, "btSave")->click(); // a second click changes the same party
            EXPECT_FALSE(detail->idText().isEmpty());

            // "重 填" keeps the bank; a failing save keeps every box and says why.
            buttonOf(detail, "btClear")->click();
            EXPECT_TRUE(boxText(*detail, "edtName").isEmpty());
            EXPECT_EQ(boxText(*detail, "edtBank"), QStringLiteral("工行"));
            qobject_cast<QLineEdit *>(detail->box("edtName"))->setText(QStringLiteral("坏"));
            buttonOf(detail, "btSave")->click();
            EXPECT_EQ(boxText(*detail, "edtName"), QStringLiteral("坏"));
            detail->close();
        });
        buttonOf(list, "btInsert")->click();
        EXPECT_EQ(list->grid()->model()->rowCount(), 0); // a counterparty, not on this tab
        list->close();
    });
    f.frame.menuItem("PersonalInfoManage")->trigger();
    const QStringList texts = f.home.ui.texts();
    EXPECT_EQ(texts.count(QStringLiteral("新增单位资料添加成功！")), 1);
    EXPECT_EQ(texts.count(QStringLiteral("历史单位资料资料更新成功！")), 1);
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_TRUE(texts.last().startsWith(QStringLiteral("添加更新失败，Error=")));
    EXPECT_EQ(f.parties(), 1);
    const std::optional<TPerson> stored =
        f.home.services().parties().FindByFullName(QStringLiteral("新单位"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->AcountType, TPerson::kCounterparty);
    EXPECT_FALSE(stored->Province.isEmpty());
}

TEST(AddressBookWindows, APartyChangedOnAnotherWorkstationIsNotOverwrittenAndCanBeReloaded)
{
    TestHome home;
    TPerson added;
    added.FullName = QStringLiteral("甲公司");
    added.Contactor = QStringLiteral("张三");
    added.AcountType = TPerson::kCounterparty;
    TPerson stored = withId(home.services().parties().store(added).id);
    ASSERT_EQ(home.services().parties().LoadByID(stored), 1);
    Tfrm_PersonInfo detail(home.services());
    detail.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&detail));
    detail.showParty(stored, stored.ID);

    // Meanwhile the other workstation gives the party another contact.
    Database other("other workstation");
    ASSERT_EQ(home.openAnother(other), Database::Status::Opened);
    TPerson theirs = withId(stored.ID);
    Parties there(other, home.ui);
    ASSERT_EQ(there.LoadByID(theirs), 1);
    theirs.Contactor = QStringLiteral("李四");
    ASSERT_TRUE(there.Save(theirs).isEmpty());

    auto *contact = qobject_cast<QLineEdit *>(detail.box("edtContactor"));
    contact->setText(QStringLiteral("王五"));
    home.ui.answer(Ui::Answer::Yes); // read it again
    QTest::mouseClick(buttonOf(&detail, "btSave"), Qt::LeftButton);
    EXPECT_TRUE(home.ui.texts().last().contains("已被其他工作站修改"))
        << home.ui.texts().join('\n').toStdString();
    EXPECT_EQ(contact->text(), QStringLiteral("李四"));

    // Over what is stored now, the clerk's save goes through, and a second click as well.
    contact->setText(QStringLiteral("王五"));
    QTest::mouseClick(buttonOf(&detail, "btSave"), Qt::LeftButton);
    QTest::mouseClick(buttonOf(&detail, "btSave"), Qt::LeftButton);
    EXPECT_EQ(home.ui.texts().count(QStringLiteral("历史单位资料资料更新成功！")), 2);
    TPerson now = withId(stored.ID);
    ASSERT_EQ(there.LoadByID(now), 1);
    EXPECT_EQ(now.Contactor, QStringLiteral("王五"));
    EXPECT_EQ(home.db().CountTableAllRows("CKPersonalInfoTable", home.ui), 1);
}
