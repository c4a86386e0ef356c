#include "NextModal.h"
#include "ScriptedUi.h"
#include "base/ui/QtUi.h"
#include "base/ui/TfrmInputValue.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A shown prompt of one value type, driven through its own controls.
struct Prompt
{
    explicit Prompt(const QString &type, const QString &defaultValue = {})
    {
        dialog.setValueType(type);
        dialog.setDefaultValue(defaultValue);
        dialog.show();
    }

    QString hint() const { return dialog.findChild<QLabel *>("lbMessage")->text(); }
    void click(const char *button) { dialog.findChild<QPushButton *>(button)->click(); }

    ScriptedUi ui;
    TfrmInputValue dialog{ui};
    QComboBox *value = dialog.findChild<QComboBox *>("edtValue");
};

const QString kIntegerHint = QStringLiteral("岚砚提示：只能输入数字,谢谢！");

} // namespace

TEST(InputValue, ValueTypeNames)
{
    using T = TfrmInputValue::ValueType;
    const std::pair<const char *, T> cases[] = {
        {"int", T::Integer},  {" INTEGER ", T::Integer}, {"Float", T::Decimal},
        {"real", T::Decimal}, {"double", T::Decimal},    {"string", T::Text},
        {"", T::Text},        {"number", T::Text},
    };
    for (const auto &[name, type] : cases)
        EXPECT_EQ(TfrmInputValue::valueTypeOf(name), type) << name;
}

TEST(InputValue, IntegerOffersPresetsTakesSevenDigitsAndRefusesLetters)
{
    Prompt p("integer");
    QStringList items;
    for (int i = 0; i < p.value->count(); ++i)
        items << p.value->itemText(i);
    EXPECT_EQ(items,
              QStringList({"2", "5", "10", "20", "25", "30", "50", "100", "200", "500", "1000"}));
    EXPECT_EQ(p.dialog.windowTitle(), QStringLiteral("用户输入"));

    QTest::keyClicks(p.value, "12a");
    EXPECT_EQ(p.value->currentText(), "12");
    EXPECT_EQ(p.hint(), kIntegerHint);
    QTest::keyClicks(p.value, "3.");
    EXPECT_EQ(p.value->currentText(), "123");
    EXPECT_EQ(p.hint(), kIntegerHint);
    QTest::keyClick(p.value, Qt::Key_Backspace);
    EXPECT_TRUE(p.hint().isEmpty());
    // While the preset list is dropped down it receives the keys: the same filter holds there.
    QAbstractItemView *list = p.value->completer()->popup();
    QTest::keyClick(list, 'b');
    EXPECT_EQ(p.hint(), kIntegerHint);
    QTest::keyClick(list, '4');
    EXPECT_EQ(p.value->currentText(), "124");
    EXPECT_TRUE(p.hint().isEmpty());
    QTest::keyClick(p.value, Qt::Key_Backspace);
    QTest::keyClicks(p.value, "456789");
    EXPECT_EQ(p.value->currentText(), "1245678");

    // Pasted text cannot smuggle letters past the key filter.
    p.value->lineEdit()->clear();
    p.value->lineEdit()->insert("7x");
    EXPECT_EQ(p.value->currentText(), "");
}

TEST(InputValue, DecimalTakesPointsAndTextTakesAnything)
{
    Prompt decimal("float");
    QTest::keyClicks(decimal.value, "12.5x");
    EXPECT_EQ(decimal.value->currentText(), "12.5");
    EXPECT_EQ(decimal.hint(), QStringLiteral("岚砚提示:只能输入数字及点(如: 12.5 )！"));
    EXPECT_EQ(decimal.value->count(), 0);

    Prompt text("string");
    QTest::keyClicks(text.value, "Ab, 1.5-x!");
    EXPECT_EQ(text.value->currentText(), "Ab, 1.5-x!");
    EXPECT_TRUE(text.hint().isEmpty());
    EXPECT_EQ(text.value->count(), 0);
}

TEST(InputValue, ConfirmedValueIsTrimmedAndEnterActsAsOk)
{
    Prompt p("string");
    QTest::keyClicks(p.value, "  two words ");
    p.click("btOK");
    EXPECT_EQ(p.dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(p.dialog.isVisible());
    EXPECT_EQ(p.dialog.value(), "two words");

    Prompt enter("int");
    QTest::keyClicks(enter.value, "25");
    QTest::keyClick(enter.value, Qt::Key_Return);
    EXPECT_EQ(enter.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(enter.dialog.value(), "25");
    EXPECT_TRUE(enter.ui.shown.isEmpty());
}

TEST(InputValue, BlankValueIsRefusedAndTheDialogStays)
{
    Prompt p("string");
    QTest::keyClicks(p.value, "   ");
    p.click("btOK");
    ASSERT_EQ(p.ui.shown.size(), 1);
    EXPECT_EQ(p.ui.last().text, QStringLiteral("请输入正确的值，不能为空"));
    EXPECT_TRUE(p.dialog.isVisible());
    EXPECT_TRUE(p.dialog.value().isEmpty());
}

TEST(InputValue, CancelOrCloseAnswersEmptyEvenWithADefault)
{
    Prompt cancelled("int", "1");
    ASSERT_EQ(cancelled.value->currentText(), "1");
    cancelled.click("btCancel");
    EXPECT_FALSE(cancelled.dialog.isVisible());
    EXPECT_TRUE(cancelled.dialog.value().isEmpty());
    EXPECT_TRUE(cancelled.value->currentText().isEmpty());

    Prompt escaped("string", "abc");
    QTest::keyClick(escaped.value, Qt::Key_Escape);
    EXPECT_FALSE(escaped.dialog.isVisible());
    EXPECT_TRUE(escaped.dialog.value().isEmpty());

    Prompt closed("string", "abc");
    closed.dialog.close();
    EXPECT_TRUE(closed.dialog.value().isEmpty());
}

TEST(InputValue, QtUiShowsThePromptModallyWithItsDefault)
{
    QtUi ui;
    QString shownPrompt;
    QString shownDefault;
    NextModal prompt([&](QWidget *window) {
        auto *dialog = qobject_cast<TfrmInputValue *>(window);
        ASSERT_TRUE(dialog);
        shownPrompt = dialog->findChild<QLabel *>("Label1")->text();
        auto *value = dialog->findChild<QComboBox *>("edtValue");
        shownDefault = value->currentText();
        QTest::keyClicks(value, "3");
        dialog->btOKClick();
    });
    const QString answer =
        ui.giveMeAnValue(QStringLiteral("输入重复打印的张数"), QStringLiteral("1"), "integer");
    EXPECT_EQ(shownPrompt, QStringLiteral("输入重复打印的张数"));
    EXPECT_EQ(shownDefault, "1");
    EXPECT_EQ(answer, "3");
}
