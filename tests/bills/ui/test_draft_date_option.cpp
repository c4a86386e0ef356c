#include "FakeBillHost.h"
#include "RecordingPrintDevice.h"
#include "TestHome.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "print/PrintEngine.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

// "不打印出票日期" keeps year, month and day off the paper; unticked, the date prints as its
// digits when "大写日期" is off (month and day with their leading zero).
TEST(DraftDateOption, TickedNoPartOfTheIssueDatePrints)
{
    TestHome home;
    auto recording = std::make_unique<RecordingPrintDevice>();
    RecordingPrintDevice &device = *recording;
    home.services().printEngine().setDevice(std::move(recording));
    FakeBillHost host(home.services());
    auto draftForm = std::make_unique<TfmCheckCDHP>(host);
    TfmCheckCDHP *form = draftForm.get();
    form->show();
    ASSERT_TRUE(form->isVisible());
    form->setFieldText("zdInComp", QStringLiteral("收款单位"));
    form->findChild<QDateEdit *>("SelDate")->setDate(QDate(2023, 11, 7));
    auto tick = [&](const char *box) {
        auto *b = form->findChild<QCheckBox *>(box);
        ASSERT_TRUE(b && b->isVisible()) << box;
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(4, b->height() / 2));
    };
    tick("cfgDateChinese");
    ASSERT_FALSE(form->findChild<QCheckBox *>("cfgDateChinese")->isChecked());
    auto printedTexts = [&] {
        device.texts.clear();
        QTest::mouseClick(form->findChild<QToolButton *>("btPrint1"), Qt::LeftButton);
        QStringList texts;
        for (const auto &t : device.texts)
            texts << t.text;
        return texts;
    };
    const QStringList date{"2023", "11", "07"};

    const QStringList withDate = printedTexts();
    for (const QString &part : date)
        EXPECT_TRUE(withDate.contains(part))
            << part.toStdString() << " not in " << withDate.join('|').toStdString();

    tick("cfgNoPrtDate");
    ASSERT_TRUE(form->findChild<QCheckBox *>("cfgNoPrtDate")->isChecked());
    const QStringList withoutDate = printedTexts();
    EXPECT_TRUE(withoutDate.contains(QStringLiteral("收款单位")));
    for (const QString &part : date)
        EXPECT_FALSE(withoutDate.contains(part))
            << part.toStdString() << " printed in " << withoutDate.join('|').toStdString();
}
