// The template designer over the shipped express slip: opening it (paper, every printable item
// painted, the lists filled), painting all items again (what a zoom or a paper size change
// does) and one drag step of an item across the page.
#include "TestHome.h"
#include "templates/ui/LayoutItem.h"
#include "templates/ui/LayoutView.h"
#include "templates/ui/TfmTemplateDesigner.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

namespace {

constexpr int kExpressSlip = 1;

TestHome &home()
{
    static TestHome *h = new TestHome;
    return *h;
}

void send(QWidget *w, QEvent::Type type, QPoint local, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, local, w->mapToGlobal(local),
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, {});
    QApplication::sendEvent(w, &e);
}

void open(TfmTemplateDesigner &designer)
{
    designer.setCheckTypeID(kExpressSlip);
    designer.loadDesigner();
    designer.show();
}

void BM_OpenDesigner(benchmark::State &state)
{
    int pieces = 0;
    for (auto _ : state) {
        TfmTemplateDesigner designer(home().services());
        open(designer);
        QApplication::processEvents();
        pieces = int(designer.pieces().size());
    }
    state.counters["pieces"] = pieces;
}
BENCHMARK(BM_OpenDesigner)->Unit(benchmark::kMillisecond);

void BM_RepaintAllItems(benchmark::State &state)
{
    TfmTemplateDesigner designer(home().services());
    open(designer);
    for (auto _ : state) {
        designer.paintAllItems();
        QApplication::processEvents(); // the freed pieces go and the new ones are drawn
    }
}
BENCHMARK(BM_RepaintAllItems)->Unit(benchmark::kMillisecond);

void BM_DragStep(benchmark::State &state)
{
    TfmTemplateDesigner designer(home().services());
    open(designer);
    LayoutItem *piece = designer.pieces(QStringLiteral("ZDHKR")).value(0);
    QWidget *page = designer.canvas()->viewport();
    const QPoint grip = designer.canvas()->mapFromScene(piece->scenePos() + QPointF(3, 3));
    send(page, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        ++step;
        const QPoint to = grip + QPoint(step % 40, step % 20);
        send(page, QEvent::MouseMove, to, Qt::LeftButton);
        page->repaint();
    }
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMicrosecond);

} // namespace
