// The express batch window's conditions at the widths of an office screen: every box shows
// what a clerk types or picks in full, and no control covers another.
#include "TestHome.h"
#include "batch/ui/TfrmMutiPrint.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Room for `text` inside a line edit: its frame and margins take a few pixels.
bool holds(const QLineEdit *edit, const QString &text)
{
    const QMargins margins = edit->textMargins();
    return edit->width() - margins.left() - margins.right() - 8 >=
           edit->fontMetrics().horizontalAdvance(text);
}

} // namespace

TEST(BatchWindowLayout, ConditionsKeepTheirRoomFrom1024PixelsUp)
{
    TestHome home;
    TfrmMutiPrint window(home.services(), TfrmMutiPrint::Sources{});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto *group = window.findChild<QGroupBox *>("grpFilter");
    ASSERT_TRUE(group);
    auto *keyEdit = window.findChild<QLineEdit *>("keyEdit");
    auto *listName = window.findChild<QComboBox *>("cb_ListName");
    ASSERT_TRUE(keyEdit && listName);

    const QStringList controls{
        "cb_ListName",    "edtOrder",    "ckDesc",  "edtListCount", "edtSelectedCount",
        "cbFilterFields", "cbEqualType", "keyEdit", "_btRefreash",  "btAll",
        "Date1",          "Time1",       "Date2",   "Time2",        "ckAllDates"};
    for (const int width : {1024, 1100, 1280}) {
        window.resize(width, 680);
        QTest::qWait(0);
        QApplication::processEvents();
        SCOPED_TRACE(width);
        // A mobile number as keyword, a group named by month.
        EXPECT_TRUE(holds(keyEdit, QStringLiteral("13900000011"))) << keyEdit->width();
        EXPECT_TRUE(holds(listName->lineEdit(), QStringLiteral("华南客户2026年12月")))
            << listName->width();
        QList<QWidget *> shown;
        for (const QString &name : controls) {
            auto *w = group->findChild<QWidget *>(name);
            ASSERT_TRUE(w) << name.toStdString();
            EXPECT_TRUE(w->isVisible()) << name.toStdString();
            const QRect place(w->mapTo(group, QPoint(0, 0)), w->size());
            EXPECT_TRUE(group->rect().contains(place)) << name.toStdString();
            // Dates and check boxes cut short read as other values.
            if (qobject_cast<QDateTimeEdit *>(w) || qobject_cast<QAbstractButton *>(w)) {
                EXPECT_GE(w->width(), w->sizeHint().width()) << name.toStdString();
            }
            for (QWidget *other : shown)
                EXPECT_FALSE(
                    place.intersects(QRect(other->mapTo(group, QPoint(0, 0)), other->size())))
                    << name.toStdString() << " covers " << other->objectName().toStdString();
            shown << w;
        }
    }
}
