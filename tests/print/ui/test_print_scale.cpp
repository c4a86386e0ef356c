#include "../PrintFixture.h"
#include "NextModal.h"
#include "app/ui/Tfm_Main.h"
#include "print/PrintCalibration.h"
#include "print/ui/TfrmPrintOffset.h"
#include "print/ui/TfrmPrintScale.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// Where the crosses of the fixture's 230 × 127 mm form print with its whole-slip offset of
// 1.5 mm right and 2 mm up: 15 mm in from each corner.
const QPointF kCrosses[] = {{16.5, 13}, {216.5, 13}, {16.5, 110}, {216.5, 110}};

} // namespace

class ScaleWindow : public PrintFixture
{
protected:
    void SetUp() override
    {
        PrintFixture::SetUp();
        addTemplate(kTemplate, 15, -20);
        exec("update ckTypeTable set Visiable = '启用' where CheckTypeID = :id",
             {{"id", kTemplate}});
        engine().setDefaultPrinter(QStringLiteral("Bill Printer"));
    }

    // Types what a ruler shows on a printer that prints at offset + scale × intended.
    static void measure(QWidget *window, double offset, double scaleX, double scaleY)
    {
        for (int i = 0; i < 4; ++i) {
            const QString n = QString::number(i + 1);
            for (const auto &[axis, value] :
                 {std::pair{QStringLiteral("edtX"), offset + scaleX * kCrosses[i].x()},
                  std::pair{QStringLiteral("edtY"), offset + scaleY * kCrosses[i].y()}}) {
                auto *edit = window->findChild<QLineEdit *>(axis + n);
                ASSERT_TRUE(edit) << QString(axis + n).toStdString();
                edit->clear();
                QTest::keyClicks(edit, QString::number(value, 'f', 2));
            }
        }
    }

    static void click(QWidget *window, const char *button)
    {
        auto *b = window->findChild<QPushButton *>(QString::fromLatin1(button));
        ASSERT_TRUE(b) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }

    std::optional<PrintCalibration> stored(int checkTypeId = 0)
    {
        return PrintCalibrationStore(home.db()).stored(QStringLiteral("Bill Printer"), checkTypeId);
    }
};

TEST_F(ScaleWindow, FromThePrintMenuTheSheetPrintsAndTheMeasuredFitIsStored)
{
    Tfm_Main frame(home.services());
    frame.CurrentCheckTypeId = kTemplate;
    QString wanted;
    NextModal answer([&](QWidget *window) {
        ASSERT_EQ(window->objectName(), "frmPrintScale");
        ASSERT_TRUE(window->isVisible());
        EXPECT_EQ(window->findChild<QComboBox *>("cbPrinter")->currentText(), "Bill Printer");
        wanted = window->findChild<QLabel *>("lbWant4")->text();
        click(window, "btPrintSheet");
        measure(window, 0.4, 1.01, 0.99);
        click(window, "btSaveScale");
        EXPECT_TRUE(window->findChild<QLabel *>("lbResult")->text().contains("残差"));
    });
    frame.menuItem("mPrintScale")->trigger();

    EXPECT_EQ(wanted, "应在 到左边 216.5，到上边 110.0");
    // The sheet: two strokes per cross, through the normal job, into one document.
    EXPECT_EQ(device->lines.size(), 8);
    EXPECT_EQ(device->count("begin"), 1);
    EXPECT_EQ(device->count("end"), 1);
    const auto c = stored();
    ASSERT_TRUE(c);
    EXPECT_NEAR(c->scaleX, 1.01, 0.0002);
    EXPECT_NEAR(c->scaleY, 0.99, 0.0002);
    EXPECT_NEAR(c->offsetX, 0.4, 0.02);
    EXPECT_NEAR(c->offsetY, 0.4, 0.02);
    EXPECT_TRUE(home.ui.last().text.startsWith("打印校准已保存"))
        << home.ui.texts().join('|').toStdString();
}

TEST_F(ScaleWindow, FromTheOffsetWindowBadMeasurementsStoreNothing)
{
    TfrmPrintOffset offset(home.services());
    offset.setCheckTypeId(kTemplate);
    offset.show();
    NextModal answer([&](QWidget *window) {
        ASSERT_EQ(window->objectName(), "frmPrintScale");
        const struct
        {
            double scaleX;
            const char *field; // typed over afterwards, "" for none
            const char *text;
            const char *says;
        } cases[] = {
            {1.06, "", "", "不在 0.95 到 1.05 之间"},
            {1.0, "edtX2", "10", "顺序不对"},
            {1.0, "edtY3", "", "十字3要同时填写"},
            {1.0, "edtX1", "abc", "不是数字"},
        };
        for (const auto &c : cases) {
            measure(window, 0, c.scaleX, 1.0);
            if (*c.field) {
                auto *edit = window->findChild<QLineEdit *>(c.field);
                edit->clear();
                QTest::keyClicks(edit, c.text);
            }
            click(window, "btSaveScale");
            EXPECT_TRUE(home.ui.last().text.contains(QString::fromUtf8(c.says)))
                << c.says << ": " << home.ui.last().text.toStdString();
        }
        EXPECT_FALSE(stored());

        // Kept for this template only when the clerk says so, and taken back by 清除校准.
        measure(window, 1.0, 1.0, 1.0);
        // On its box, where a clerk clicks: the widget is wider than its box and caption.
        auto *thisTemplate = window->findChild<QCheckBox *>("ckThisTemplate");
        QTest::mouseClick(thisTemplate, Qt::LeftButton, {}, QPoint(8, thisTemplate->height() / 2));
        click(window, "btSaveScale");
        EXPECT_TRUE(stored(kTemplate));
        EXPECT_FALSE(stored());
        click(window, "btClearScale");
        EXPECT_FALSE(stored(kTemplate));
    });
    QTest::mouseClick(offset.findChild<QPushButton *>("btPrintScale"), Qt::LeftButton);
}
