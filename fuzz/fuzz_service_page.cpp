// Arbitrary bytes as the vendor's service page, shown and painted in the side panel's view:
// never a crash or a hang, and nothing outside the page is read (run with -timeout=10).
#include "online/ui/ServicePageView.h"

#include <QApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 3;
    static char name[] = "fuzz_service_page", platform[] = "-platform", offscreen[] = "offscreen";
    static char *argv[] = {name, platform, offscreen, nullptr};
    static QApplication app(argc, argv);
    static ServicePageView view;
    view.resize(125, 600);
    view.setHtml(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
    QImage image(view.size(), QImage::Format_ARGB32);
    view.render(&image);
    return 0;
}
