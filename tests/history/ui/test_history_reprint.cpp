#include "../../print/PrintBox.h"
#include "CommandSweep.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "bills/ui/TfmCheckKDD.h"
#include "cli/ReprintCommand.h"
#include "print/PrintEngine.h"
#include "print/QtPrintDevice.h"
#include "templates/ui/LayoutItem.h"
#include "templates/ui/LayoutView.h"
#include "templates/ui/TfmCheckDesign.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace sweep;

// A saved bill printed again prints where it printed the first time, whatever design mode did
// to its template since; asked for, today's template prints it.

namespace {

const QString kContact = QStringLiteral("李四");

void click(QWidget *window, const char *name)
{
    auto *b = window->findChild<QAbstractButton *>(QString::fromLatin1(name));
    ASSERT_TRUE(b && b->isVisible() && b->isEnabled()) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

struct ReprintFixture
{
    TestHome home;
    Tfm_Main frame{home.services()};

    ReprintFixture()
    {
        frame.findChild<QTimer *>("TimerSystem")->stop();
        frame.show();
        QApplication::setActiveWindow(&frame);
    }

    QString toPdf(const char *name)
    {
        const QString pdf = home.path() + QString::fromLatin1(name);
        home.services().printEngine().setDevice(QtPrintDevice::pdfFile(pdf));
        return pdf;
    }
    QRectF box(int templateId, const char *item)
    {
        return printBox(home.services().catalogue(), templateId, item);
    }
    // The only page of the PDF.
    PdfPage page(const QString &pdf)
    {
        const auto pages = readPdfWords(pdf);
        EXPECT_EQ(pages.size(), 1u) << pdf.toStdString();
        return pages.empty() ? PdfPage{} : pages.front();
    }
    int reprintCommand(ReprintRequest request)
    {
        QString out, err;
        QTextStream o(&out), e(&err);
        const int code = ReprintCommand(home.services(), o, e).run(request);
        EXPECT_EQ(code, 0) << err.toStdString();
        return code;
    }

    // Chooses the item's box on the design mode canvas and moves its print down with the
    // "↓" button, a millimetre a click, as the clerk does; each click is saved.
    void movePrintDown(int templateId, const char *item, int millimetres)
    {
        TfmCheckDesign design(home.services(), templateId);
        design.show();
        QApplication::setActiveWindow(&design);
        LayoutView *view = design.canvas();
        QTest::mouseClick(
            view->viewport(), Qt::LeftButton, {},
            view->mapFromScene(design.box(QString::fromLatin1(item))->scenePos() + QPointF(4, 4)));
        for (int i = 0; i < millimetres; ++i)
            click(&design, "btPrtBottom");
    }
};

} // namespace

TEST(HistoryReprint, SlipPrintsWhereItFirstPrintedAfterDesignModeMovedItsBox)
{
    ReprintFixture f;
    f.frame.menuItem("m_new_kdd")->trigger();
    TfmCheckKDD *form = TfmCheckKDD::instance();
    ASSERT_TRUE(form);
    const int slipTemplate = form->currentTemplate();
    form->setFieldText("zdSKR", QStringLiteral("重印单位"));
    form->setFieldText("zdSKRLXR", kContact);
    const QRectF first = f.box(slipTemplate, "ZDSKRLXR");
    const QString firstPdf = f.toPdf("first.pdf");
    click(form, "btPrintAndSave");
    ASSERT_TRUE(printedIn(f.page(firstPdf), first, kContact));
    click(form, "btClose");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    f.movePrintDown(slipTemplate, "ZDSKRLXR", 15);
    const QRectF today = f.box(slipTemplate, "ZDSKRLXR");
    ASSERT_FALSE(today.intersects(first))
        << "design mode did not move the box: " << first.x() << "," << first.y() << " "
        << first.width() << "x" << first.height() << " -> " << today.x() << "," << today.y();

    f.frame.menuItem("mKDDSearch")->trigger();
    QWidget *history = shownWindowOf("TfmSearch_KDD");
    ASSERT_TRUE(mapped(history));
    auto *grid = history->findChild<QTableView *>("DBGrid1");
    ASSERT_EQ(grid->model()->rowCount(), 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(0, 1)).center());
    const struct
    {
        Ui::Answer answer;
        QRectF box;
        const char *pdf;
    } cases[]{{Ui::Answer::Yes, first, "again.pdf"}, {Ui::Answer::No, today, "today.pdf"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pdf);
        const QString pdf = f.toPdf(c.pdf);
        f.home.ui.answer(c.answer);
        click(history, "btReprint");
        EXPECT_EQ(f.home.ui.last().buttons, Ui::Buttons::YesNoCancel);
        EXPECT_TRUE(printedIn(f.page(pdf), c.box, kContact));
    }
    // Cancel prints nothing.
    const QString cancelled = f.toPdf("cancelled.pdf");
    f.home.ui.answer(Ui::Answer::Cancel);
    click(history, "btReprint");
    EXPECT_FALSE(QFile::exists(cancelled));

    // The command line prints the same bill the same two ways.
    ReprintRequest request;
    request.bill = u"kdd:" + grid->model()->index(0, 0).data().toString();
    for (bool todayTemplate : {false, true}) {
        request.pdf = f.home.path() + (todayTemplate ? u"cli-today.pdf" : u"cli-first.pdf");
        request.todayTemplate = todayTemplate;
        f.reprintCommand(request);
        EXPECT_TRUE(printedIn(f.page(request.pdf), todayTemplate ? today : first, kContact))
            << todayTemplate;
    }
}
