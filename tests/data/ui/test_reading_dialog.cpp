#include "data/ui/ReadingDialog.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

// A read that ends before the dialog's delay hides it at once; the delayed show must not bring
// it back later, over the message about the read, where its modality would block that message.
TEST(ReadingDialog, ShowsForALongReadOnlyAndNeverAfterItEnded)
{
    QWidget window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ReadingDialog longRead(QStringLiteral("正在读取……"), &window);
    ReadingDialog shortRead(QStringLiteral("正在读取……"), &window);
    shortRead.hide();
    // Both were made together, so once the long read's dialog is up the delay is over for both.
    ASSERT_TRUE(QTest::qWaitFor([&] { return longRead.isVisible(); }, 10000));
    QTest::qWait(50);
    EXPECT_FALSE(shortRead.isVisible());
    longRead.hide();
    EXPECT_FALSE(longRead.isVisible());
}
