#include "PrintFixture.h"
#include "print/PrintText.h"

using PrintText::deviceCoordinate;

namespace {

// Device x of an item at x in a font of `size` points on the recorder (600 dpi, half-size
// average width).
int deviceX(int x, int size = 10)
{
    return deviceCoordinate(x, 600) + 2 * (size * 600 / 72 / 2);
}

} // namespace

class PrintCheckItem : public PrintFixture
{
protected:
    bool print(const QString &name, const QString &value, const QString &separator = "##")
    {
        return engine().printCheckItem(kTemplate, 15, -20, name, value, separator);
    }
};

TEST_F(PrintCheckItem, LandsAtItsPositionPlusTheOffset)
{
    addItem(kTemplate, "ZDSKR", 300, 200);
    // The printable area starts 30 pixels in from both edges: both are taken off alike.
    device->topOffset = 30;
    device->leftOffset = 30;
    ASSERT_TRUE(print("zdSKR", "  张三  "));
    ASSERT_EQ(device->texts.size(), 1);
    EXPECT_EQ(device->texts[0].text, QStringLiteral("张三"));
    EXPECT_EQ(device->texts[0].x, 744 + 82 - 30);
    EXPECT_EQ(device->texts[0].y, 425 - 30);
    EXPECT_EQ(device->texts[0].font.face, QStringLiteral("宋体"));
    EXPECT_EQ(device->texts[0].font.pointSize, 10);

    // Above the printable area a plain text stops 3 pixels short.
    device->topOffset = 1000;
    ASSERT_TRUE(print("zdSKR", "李四"));
    EXPECT_EQ(device->texts[1].y, -3);
    EXPECT_EQ(device->texts[1].x, 744 + 82 - 30);
}

TEST_F(PrintCheckItem, NothingToPrintIsDoneWithoutTouchingDatabaseOrPrinter)
{
    addItem(kTemplate, "ZDJE", 100, 100);
    EXPECT_TRUE(print("zdUnknown", "没有位置的项目"));
    home.db().close();
    EXPECT_TRUE(print("zdJE", " \t "));
    EXPECT_TRUE(device->texts.isEmpty());
    EXPECT_TRUE(home.ui.shown.isEmpty());

    // A value that needs the database, which is gone.
    EXPECT_FALSE(print("zdJE", "100"));
    EXPECT_EQ(home.ui.last().text, QStringLiteral("打印zdJE出现错误！"));
    EXPECT_EQ(home.ui.last().caption, QStringLiteral("错误"));
}

TEST_F(PrintCheckItem, XDependsOnlyOnTheItemsOwnFont)
{
    addItem(kTemplate, "A", 300, 100);
    addItem(kTemplate, "BIG", 300, 200, {{"CtlFontSize", 20}, {"CtlFontName", "黑体"}});
    addItem(kTemplate, "C", 300, 300);
    ASSERT_TRUE(print("A", "a") && print("BIG", "b") && print("C", "c"));
    ASSERT_EQ(device->texts.size(), 3);
    EXPECT_EQ(device->texts[0].x, deviceX(315));
    EXPECT_EQ(device->texts[1].x, deviceX(315, 20));
    EXPECT_EQ(device->texts[2].x, device->texts[0].x);
}

TEST_F(PrintCheckItem, LinesFromSeparatorsAndWidthBreaking)
{
    addItem(kTemplate, "MEMO", 300, 200, {{"CtlLH", 0}, {"BreakFontSize", 4}});
    addItem(kTemplate, "ADDR", 300, 200, {{"BreakNum", "3"}, {"CtlLH", 45}});
    const struct
    {
        QString name;
        QString value;
        QString separator;
        QStringList lines;
        int size;
        int pitch;
    } cases[] = {
        // Line pitch 0 means 50, a break size under 6 means 6.
        {"MEMO", "第一行##第二行", "##", {"第一行", "第二行"}, 6, 50},
        {"MEMO", "##word", "##", {"word"}, 10, 0},
        {"MEMO", "a##b", "", {"a##b"}, 10, 0},
        {"ADDR", "abcdefgh", "##", {"abcdef", "gh"}, 8, 45},
    };
    for (const auto &c : cases) {
        device->texts.clear();
        ASSERT_TRUE(print(c.name, c.value, c.separator));
        ASSERT_EQ(device->texts.size(), c.lines.size()) << c.value.toStdString();
        for (int i = 0; i < c.lines.size(); ++i) {
            const auto &t = device->texts[i];
            EXPECT_EQ(t.text, c.lines[i]);
            EXPECT_EQ(t.font.pointSize, c.size);
            EXPECT_EQ(t.x, deviceX(315, c.size));
            EXPECT_EQ(t.y, deviceCoordinate(180 + i * c.pitch, 600));
        }
    }
}

TEST_F(PrintCheckItem, SpacedModeDrawsOneCharacterPerPitch)
{
    addItem(kTemplate, "CELLS", 300, 200, {{"FitParam", "36"}});
    addItem(kTemplate, "SAME", 300, 200, {{"FitParam", "0"}});
    addItem(kTemplate, "BAD", 300, 200, {{"FitParam", "abc"}});
    device->topOffset = 1000; // no -3 limit in spaced mode
    device->leftOffset = 20;

    ASSERT_TRUE(print("CELLS", QStringLiteral("壹2")));
    ASSERT_EQ(device->texts.size(), 2);
    EXPECT_EQ(device->texts[0].text, QStringLiteral("壹"));
    EXPECT_EQ(device->texts[1].x, deviceX(315 + 36) - 20);
    EXPECT_EQ(device->texts[1].y, deviceCoordinate(180, 600) - 1000);

    device->texts.clear();
    ASSERT_TRUE(print("SAME", "123"));
    ASSERT_EQ(device->texts.size(), 3);
    EXPECT_EQ(device->texts[2].x, device->texts[0].x);

    device->texts.clear();
    EXPECT_FALSE(print("BAD", "123"));
    EXPECT_TRUE(device->texts.isEmpty());
    EXPECT_EQ(home.ui.last().text, QStringLiteral("打印BAD出现错误！"));
}

TEST_F(PrintCheckItem, MoneyCodeMovesTheCurrencySignLeft)
{
    addItem(kTemplate, "ZDBZ", 300, 200);
    const struct
    {
        QString code;
        int cellWidth;
        QString value;
        int shift;
    } cases[] = {
        {QStringLiteral("￥"), 36, QStringLiteral("￥"), 10},
        {"USD", 36, "USD", 32},
        {"USD", 0, "USD", 0},
        {"USD", 36, "USD 100", 0},
    };
    for (const auto &c : cases) {
        device->texts.clear();
        engine().context().moneyCode = c.code;
        engine().context().cellWidth = c.cellWidth;
        ASSERT_TRUE(print("ZDBZ", c.value));
        EXPECT_EQ(device->texts.at(0).x, deviceX(315 - c.shift)) << c.value.toStdString();
    }
}

TEST_F(PrintCheckItem, FontColourAndStyleComeFromTheItem)
{
    addItem(kTemplate, "RED", 300, 200,
            {{"CtlFontColor", "255"}, {"Bold", 1}, {"Italic", 0}, {"UnderLine", 2}});
    addItem(kTemplate, "ODD", 300, 200, {{"CtlFontColor", "红色"}, {"CtlFontName", ""}});
    ASSERT_TRUE(print("RED", "x") && print("ODD", "y"));
    EXPECT_EQ(device->texts[0].font, (PrintFont{"宋体", 10, true, false, true, QColor(255, 0, 0)}));
    EXPECT_EQ(device->texts[1].font.colour, QColor(Qt::black));
    EXPECT_EQ(device->texts[1].font.face, QStringLiteral("宋体"));
}

TEST_F(PrintCheckItem, TemplateLookUps)
{
    addTemplate(kTemplate, 0, 0, "1");
    addItem(kTemplate, "ZDQY", 1500, 200);
    addItem(kTemplate, "ZDBY", 1464, 200);
    EXPECT_EQ(engine().getHXPaperIn(kTemplate), QStringLiteral("1"));
    EXPECT_EQ(engine().getHXPaperIn(999), QString());
    EXPECT_EQ(engine().getCellsWidth(kTemplate, "zdQY", 36, "zdBY"), 36);
    EXPECT_EQ(engine().getCellsWidth(kTemplate, "zdQY", 40, "zdNone"), 40);
    home.db().close();
    EXPECT_EQ(engine().getCellsWidth(kTemplate, "zdQY", 40, "zdBY"), 0);
}
