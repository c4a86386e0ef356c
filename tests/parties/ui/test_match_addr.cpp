#include "NextModal.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "bills/ui/TfmCheckKDD.h"
#include "parties/ui/TfrmMatchAddr.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString kBlock = QStringLiteral(
    "收货人：张三，手机：13812345678，地址：广东省深圳市南山区科技园科苑路15号，518057");

// Runs `inside` on the recognition window once it is shown modally by `open`.
void whileOpen(const std::function<void()> &open,
               const std::function<void(TfrmMatchAddr &)> &inside)
{
    NextModal window([&](QWidget *modal) {
        auto *w = qobject_cast<TfrmMatchAddr *>(modal);
        ASSERT_TRUE(w) << modal->metaObject()->className();
        inside(*w);
    });
    open();
}

QPushButton *button(QWidget &w, const char *name)
{
    return w.findChild<QPushButton *>(QString::fromLatin1(name));
}

int receiverRows(TestHome &home)
{
    QSqlQuery q = home.db().query();
    q.exec(QStringLiteral("SELECT COUNT(*) FROM ReceiverList"));
    return q.next() ? q.value(0).toInt() : -1;
}

} // namespace

TEST(MatchAddr, PastesTheClipboardIntoTheSlipAsReceiverAndAsSender)
{
    TestHome home;
    Tfm_Main frame(home.services());
    frame.show();
    frame.menuItem("m_new_kdd")->trigger();
    TfmCheckKDD *form = TfmCheckKDD::instance();
    ASSERT_TRUE(form);
    form->setFieldText(QStringLiteral("zdBz"), QStringLiteral("下午送"));
    QApplication::clipboard()->setText(kBlock);

    whileOpen([&] { form->findChild<QToolButton *>("btPaste")->click(); },
              [&](TfrmMatchAddr &w) {
                  EXPECT_FALSE(button(w, "btPasteNoClose")->isVisible());
                  EXPECT_TRUE(button(w, "btPasteToFJR")->isEnabled());
                  EXPECT_EQ(w.box("edtName")->currentText(), QStringLiteral("张三"));
                  w.findChild<QPlainTextEdit *>("edtRemark")->setPlainText(QStringLiteral("书籍"));
                  // Goods from the remark, the slip's own remark kept (seeded: both off).
                  w.findChild<QCheckBox *>("ckWPNR")->setChecked(true);
                  button(w, "btPasteToSJR")->click();
                  EXPECT_FALSE(w.isVisible());
              });
    const std::pair<const char *, const char *> receiver[] = {
        {"zdSKRLXR", "张三"},     {"skrHandset", "13812345678"},
        {"zdSKRS", "广东省"},     {"zdSKRXS", "深圳市"},
        {"edtSJRTown", "南山区"}, {"zdSkrDZ", "科技园科苑路15号"},
        {"zdSKRYB", "518057"},    {"zdWPNR", "书籍"},
        {"zdBz", "下午送"},
    };
    for (const auto &[field, value] : receiver)
        EXPECT_EQ(form->fieldText(QString::fromLatin1(field)), QString::fromUtf8(value)) << field;

    QApplication::clipboard()->setText(
        QStringLiteral("李丽 13700001111 上海市徐汇区漕溪北路595号 200030"));
    whileOpen([&] { frame.openAddressRecognition(); },
              [&](TfrmMatchAddr &w) { button(w, "btPasteToFJR")->click(); });
    EXPECT_EQ(form->fieldText("zdHKRLXR"), QStringLiteral("李丽"));
    EXPECT_EQ(form->fieldText("zdHKRXS"), QStringLiteral("上海市"));
    EXPECT_EQ(form->fieldText("zdSKRLXR"), QStringLiteral("张三")); // the receiver stays
    EXPECT_TRUE(home.ui.shown.isEmpty());
}

TEST(MatchAddr, BatchPastesStoreRowsAndNeverAnEmptyOne)
{
    TestHome home;
    Tfm_Main frame(home.services());
    int refreshed = 0;
    QApplication::clipboard()->setText(kBlock);
    whileOpen([&] { frame.openBatchAddressRecognition([&] { ++refreshed; }); },
              [&](TfrmMatchAddr &w) {
                  EXPECT_FALSE(button(w, "btPasteToFJR")->isEnabled());
                  button(w, "btPasteNoClose")->click();
                  EXPECT_TRUE(w.isVisible());
                  EXPECT_EQ(receiverRows(home), 1);

                  // No contact: refused with a message, nothing stored, the window stays.
                  w.box("edtName")->setCurrentText(QStringLiteral("  "));
                  w.box("edtCompany")->setCurrentText({});
                  EXPECT_FALSE(w.paste(TfrmMatchAddr::PasteButton::NoClose));
                  EXPECT_EQ(
                      home.ui.last().text,
                      QStringLiteral(":),联系人不能为空，但未能识别出来，请手工调整或输入！"));
                  EXPECT_EQ(receiverRows(home), 1);

                  w.box("edtName")->setCurrentText(QStringLiteral("李四"));
                  button(w, "btPasteToSJR")->click();
                  EXPECT_FALSE(w.isVisible());
              });
    EXPECT_EQ(receiverRows(home), 2);
    EXPECT_EQ(refreshed, 2);
    QSqlQuery q = home.db().query();
    q.exec(QStringLiteral("SELECT 联系人, 地址, 目的站 FROM ReceiverList ORDER BY ID"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("张三"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("科技园科苑路15号"));
    EXPECT_EQ(q.value(2).toString(), QStringLiteral("深圳市"));
}

// A shop's one-line block with a "+86" mobile and the postcode glued to the floor: the batch
// row gets the detail only, never the label or the numbers.
TEST(MatchAddr, BatchPasteKeepsNoLabelInTheAddress)
{
    TestHome home;
    Tfm_Main frame(home.services());
    QApplication::clipboard()->setText(QStringLiteral(
        "+86 138 2222 3333 刘芸 上海市浦东新区张杨路500号华润时代广场20楼邮编200122"));
    whileOpen([&] { frame.openBatchAddressRecognition([] {}); },
              [&](TfrmMatchAddr &w) {
                  QTest::mouseClick(button(w, "btPasteClipboord"), Qt::LeftButton);
                  QTest::mouseClick(button(w, "btPasteNoClose"), Qt::LeftButton);
              });
    QSqlQuery q = home.db().query();
    q.exec(QStringLiteral("SELECT 联系人, 手机, 电话, 省, 市, 镇区, 地址, 邮编 FROM ReceiverList"));
    ASSERT_TRUE(q.next());
    const char *expected[] = {
        "刘芸",  "13822223333", "", "上海市", "上海市", "浦东新区", "张杨路500号华润时代广场20楼",
        "200122"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(q.value(i).toString().toStdString(), expected[i]) << i;
    EXPECT_FALSE(q.next());
}

TEST(MatchAddr, ClipboardAndMemoLimits)
{
    TestHome home;
    TfrmMatchAddr w(home.services());
    w.setSlipMode({});
    QApplication::clipboard()->setText(kBlock);
    w.pasteClipboard();
    ASSERT_EQ(w.box("edtName")->currentText(), QStringLiteral("张三"));

    // Refused clipboard texts are said in the memo and leave no stale result behind.
    for (const QString &text : {QStringLiteral("张三"), QString(1100, u'路')}) {
        QApplication::clipboard()->setText(text);
        w.pasteClipboard();
        EXPECT_EQ(w.memoText(), text.size() < 5 ? QStringLiteral("剪切板中没有复制地址内容~")
                                                : QStringLiteral("剪切板数据过长，岚砚处理不了！"));
        EXPECT_TRUE(w.box("edtName")->currentText().isEmpty());
        EXPECT_EQ(w.box("edtAddress")->count(), 0);
    }

    // 2,000 ASCII characters pass the byte check but not the memo's 1,024 characters.
    QApplication::clipboard()->setText(QString(2000, u'a'));
    w.pasteClipboard();
    EXPECT_EQ(w.memoText().size(), 1024);
    EXPECT_TRUE(home.ui.last().text.contains(u"1024"));
}

TEST(MatchAddr, ContainProvinceCityAndClearCompanyActOnTheBoxes)
{
    TestHome home;
    TfrmMatchAddr w(home.services());
    w.setSlipMode({});
    w.setMemoText(
        QStringLiteral("岚砚商贸有限公司 王小明，13912345678，浙江省 杭州市 西湖区 文三路388号"));
    w.matchText();
    QComboBox *address = w.box("edtAddress");
    EXPECT_EQ(address->currentText(), QStringLiteral("文三路388号"));
    auto *contain = w.findChild<QCheckBox *>("ckContainProviceCity");
    contain->setChecked(true);
    EXPECT_EQ(address->currentText(), QStringLiteral("浙江省杭州市西湖区文三路388号"));
    contain->setChecked(false);
    EXPECT_EQ(address->currentText(), QStringLiteral("文三路388号"));

    EXPECT_FALSE(w.box("edtCompany")->currentText().isEmpty());
    w.findChild<QCheckBox *>("CheckBox1")->setChecked(true);
    EXPECT_TRUE(w.box("edtCompany")->currentText().isEmpty());
    w.matchText();
    EXPECT_TRUE(w.box("edtCompany")->currentText().isEmpty());
}

TEST(MatchAddr, RemarksAreSavedListedAndTheOptionsRemembered)
{
    TestHome home;
    {
        TfrmMatchAddr w(home.services());
        auto *remark = w.findChild<QPlainTextEdit *>("edtRemark");
        button(w, "btShowOrHideRemarkList")->click();
        EXPECT_EQ(home.ui.last().text, QStringLiteral("未输入附注内容~"));

        remark->setPlainText(QStringLiteral("易碎 '轻放'"));
        button(w, "btShowOrHideRemarkList")->click();
        EXPECT_EQ(home.ui.last().text, QStringLiteral("添加基础资料\"附注内容\"成功！"));
        auto *list = w.findChild<QListWidget *>("lstWuPingOrRemark");
        ASSERT_FALSE(list->findItems(QStringLiteral("易碎 '轻放'"), Qt::MatchExactly).isEmpty());
        button(w, "btShowOrHideRemarkList")->click();
        EXPECT_EQ(home.ui.last().text, QStringLiteral("\"易碎 '轻放'\" 已经存在！"));

        remark->setPlainText(QString(80, u'字'));
        EXPECT_EQ(remark->toPlainText().size(), 60);

        w.findChild<QTabBar *>("TabControl1")->setCurrentIndex(1);
        EXPECT_EQ(list->count(), 0); // no saved slips yet
        w.findChild<QTabBar *>("TabControl1")->setCurrentIndex(0);
        Q_EMIT list->itemDoubleClicked(list->item(0));
        EXPECT_EQ(remark->toPlainText(), list->item(0)->text());

        auto *goods = w.findChild<QCheckBox *>("ckWPNR");
        EXPECT_FALSE(goods->isChecked());
        goods->click();
    }
    EXPECT_EQ(home.settings().getConfigByname("ckWPNR"), QStringLiteral("checked"));
    TfrmMatchAddr again(home.services());
    EXPECT_TRUE(again.findChild<QCheckBox *>("ckWPNR")->isChecked());
    EXPECT_FALSE(again.findChild<QCheckBox *>("ckRemark")->isChecked());
}
