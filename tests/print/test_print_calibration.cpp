#include "PrintFixture.h"
#include "print/PrintCalibration.h"
#include "print/PrintJob.h"
#include "print/TemplateVersionStore.h"

#include <cmath>

using CalibrationSheet::fit;

namespace {

// Where the crosses of a 230 × 127 mm form are meant to print with no whole-slip offset.
const std::array<QPointF, 4> kIntended{QPointF(15, 15), QPointF(215, 15), QPointF(15, 112),
                                       QPointF(215, 112)};

// What a clerk reads off a printer that prints at offset + scale × intended.
QStringList measured(double offset, double scale, bool x, const QList<int> &crosses = {0, 1, 2, 3})
{
    QStringList texts(4);
    for (int i : crosses) {
        const double at = x ? kIntended[i].x() : kIntended[i].y();
        texts[i] = QString::number(offset + scale * at, 'f', 2);
    }
    return texts;
}

} // namespace

TEST(CalibrationFit, RecoversOffsetAndScaleFromTwoOrMoreCrosses)
{
    const struct
    {
        QList<int> crosses;
        bool yScaleKnown;
    } cases[] = {{{0, 1, 2, 3}, true}, {{0, 3}, true}, {{1, 2}, true}, {{0, 1}, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << "crosses " << c.crosses.size());
        const auto f = fit(kIntended, measured(1.5, 1.01, true, c.crosses),
                           measured(-0.8, 0.99, false, c.crosses));
        ASSERT_TRUE(f.error.isEmpty()) << f.error.toStdString();
        EXPECT_NEAR(f.calibration.offsetX, 1.5, 0.01);
        EXPECT_NEAR(f.calibration.scaleX, 1.01, 0.0001);
        if (c.yScaleKnown) {
            EXPECT_NEAR(f.calibration.offsetY, -0.8, 0.01);
            EXPECT_NEAR(f.calibration.scaleY, 0.99, 0.0001);
        } else {
            // Two crosses on one line say nothing of the vertical scale: only the shift.
            EXPECT_EQ(f.calibration.scaleY, 1.0);
            EXPECT_NEAR(f.calibration.offsetY, -0.8 + (0.99 - 1) * 15, 0.01);
        }
        EXPECT_LT(f.residualMm, 0.01);
    }

    // A cross measured half a millimetre off shows as residual, not as a wrong fit.
    QStringList xs = measured(0, 1, true);
    xs[3] = QStringLiteral("215.5");
    const auto f = fit(kIntended, xs, measured(0, 1, false));
    ASSERT_TRUE(f.error.isEmpty());
    EXPECT_GT(f.residualMm, 0.05);
    EXPECT_LT(f.residualMm, 0.25);
}

TEST(CalibrationFit, BadMeasurementsAreRefusedWithAReason)
{
    const QStringList goodX = measured(0, 1, true);
    const QStringList goodY = measured(0, 1, false);
    QStringList swappedX = goodX; // crosses 1 and 2 typed into each other's rows
    std::swap(swappedX[0], swappedX[1]);
    QStringList halfY = goodY;
    halfY[2].clear();
    QStringList wordX = goodX;
    wordX[1] = QStringLiteral("十五");
    const struct
    {
        const char *what;
        QStringList xs, ys;
        const char *says;
    } cases[] = {
        {"scale", measured(0, 1.06, true), goodY, "横向比例"},
        {"vertical scale", goodX, measured(0, 0.94, false), "纵向比例"},
        {"order", swappedX, goodY, "顺序不对"},
        {"one coordinate", goodX, halfY, "十字3要同时填写"},
        {"not a number", wordX, goodY, "十字2的测量值不是数字"},
        {"one cross", measured(0, 1, true, {0}), measured(0, 1, false, {0}), "至少测量两个"},
        {"nothing", QStringList(4), QStringList(4), "至少测量两个"},
    };
    for (const auto &c : cases) {
        const auto f = fit(kIntended, c.xs, c.ys);
        EXPECT_TRUE(f.error.contains(QString::fromUtf8(c.says)))
            << c.what << ": " << f.error.toStdString();
    }
}

class Calibration : public PrintFixture
{
protected:
    void SetUp() override
    {
        PrintFixture::SetUp();
        exec("delete from NameDict", {});
        addTemplate(kTemplate, 15, -20);
        int order = 0;
        for (const Item &item : kItems) {
            addDictItem("快递单", item.name, "TEXT", ++order);
            addItem(kTemplate, item.name, item.x, item.y);
        }
        engine().setDefaultPrinter(QStringLiteral("Bill Printer"));
    }

    struct Item
    {
        const char *name;
        int x, y; // 0.1 mm
    };
    static constexpr Item kItems[] = {
        {"ZDA", 100, 100}, {"ZDB", 2000, 150}, {"ZDC", 300, 1100}, {"ZDD", 1900, 1050}};

    PrintCalibrationStore store{home.db()};
};

// A printer that puts everything a little off and a little stretched, as a worn dot-matrix
// printer does: on the paper, offset + scale × where it was sent; on continuous paper every
// page starts where its feed, a little long, made the previous one end.
class SimulatedPrinter : public RecordingPrintDevice
{
public:
    static constexpr double kOffsetX = 1.3, kOffsetY = -0.9, kScaleX = 1.012, kScaleY = 0.988;
    static constexpr double kFeed = 1.0015;

    struct Placed
    {
        int page;
        QPointF mm; // on the continuous paper, from the first form's top-left corner
    };

    bool setPage(const QSizeF &formSizeMm, bool landscape) override
    {
        m_pageHeightMm = formSizeMm.height();
        return RecordingPrintDevice::setPage(formSizeMm, landscape);
    }
    bool beginDocument() override
    {
        m_page = 0;
        return RecordingPrintDevice::beginDocument();
    }
    bool newPage() override
    {
        ++m_page;
        return RecordingPrintDevice::newPage();
    }
    // Both strokes of a cross share its centre.
    bool drawLine(int x1, int y1, int x2, int y2) override
    {
        strokes.push_back({m_page, onPaper((x1 + x2) / 2.0, (y1 + y2) / 2.0)});
        return RecordingPrintDevice::drawLine(x1, y1, x2, y2);
    }
    bool drawText(int x, int y, const QString &text) override
    {
        placed.push_back({m_page, onPaper(x, y)});
        return RecordingPrintDevice::drawText(x, y, text);
    }

    QPointF onPaper(double x, double y) const
    {
        const double mm = 25.4 / dpiX;
        return {kOffsetX + kScaleX * x * mm,
                m_page * kFeed * m_pageHeightMm + kOffsetY + kScaleY * y * mm};
    }

    std::vector<Placed> placed;
    std::vector<Placed> strokes;

private:
    int m_page = 0;
    double m_pageHeightMm = 0;
};

TEST_F(Calibration, MeasuredPrinterIsCorrectedAndALongBatchDoesNotDrift)
{
    auto owned = std::make_unique<SimulatedPrinter>();
    SimulatedPrinter *printer = owned.get();
    engine().setDevice(std::move(owned));
    engine().setDefaultPrinter(QStringLiteral("Bill Printer"));

    // The test sheet, measured as a clerk would: the centre of each cross, to 0.05 mm.
    PrintJob sheet(engine(), BillKind::ExpressSlip);
    sheet.calibrated = false;
    ASSERT_TRUE(sheet.PrintPrepare(kTemplate) && sheet.PrinterTransBegin(1) &&
                sheet.SendCalibrationSheet() && sheet.PrinterTransEnd());
    ASSERT_EQ(printer->strokes.size(), 8u);
    QStringList xs, ys;
    std::array<QPointF, 4> intended;
    for (int i = 0; i < 4; ++i) {
        const QPointF centre = printer->strokes[2 * i].mm;
        xs << QString::number(std::round(centre.x() * 20) / 20, 'f', 2);
        ys << QString::number(std::round(centre.y() * 20) / 20, 'f', 2);
        // 15 mm in from the corners of the 230 × 127 mm form, moved by the whole-slip offset.
        intended[i] = QPointF(i % 2 ? 215 + 1.5 : 15 + 1.5, i < 2 ? 15 - 2 : 112 - 2);
    }
    const auto measuredFit = fit(intended, xs, ys);
    ASSERT_TRUE(measuredFit.error.isEmpty()) << measuredFit.error.toStdString();
    QString error;
    ASSERT_TRUE(
        store.save("Bill Printer", 0, measuredFit.calibration, measuredFit.residualMm, &error));

    // The feed, measured on a continuous run of sheets: how much lower cross 1 of the last one
    // lies than that of the first, read to 0.05 mm.
    constexpr int kFeedSheets = 200;
    printer->strokes.clear();
    ASSERT_TRUE(sheet.PrintPrepare(kTemplate) && sheet.PrinterTransBegin(1));
    for (int page = 0; page < kFeedSheets; ++page)
        ASSERT_TRUE(sheet.SendCalibrationSheet() &&
                    (page + 1 == kFeedSheets || sheet.NewCheckPage()));
    ASSERT_TRUE(sheet.PrinterTransEnd());
    ASSERT_EQ(printer->strokes.size(), 8u * kFeedSheets);
    const auto crossOne = [&](int page) {
        return printer->strokes[8 * size_t(page)].mm.y() - page * 127.0;
    };
    const double drift = std::round((crossOne(kFeedSheets - 1) - crossOne(0)) * 20) / 20;
    EXPECT_GT(drift, 30); // uncorrected, the run has drifted far
    const auto feed = CalibrationSheet::fitPageFeed(1.0, 127, QString::number(kFeedSheets),
                                                    QString::number(drift, 'f', 2));
    ASSERT_TRUE(feed.error.isEmpty()) << feed.error.toStdString();
    ASSERT_TRUE(store.savePageFeed("Bill Printer", feed.pageFeed, &error));

    constexpr int kPages = 500;
    printer->placed.clear();
    PrintJob job(engine(), BillKind::ExpressSlip);
    ASSERT_TRUE(job.PrintPrepare(kTemplate) && job.PrinterTransBegin(1));
    for (int page = 0; page < kPages; ++page) {
        ASSERT_TRUE(job.SendCheckToPrinter([](const QString &) { return QStringLiteral("张"); }));
        if (page + 1 < kPages) {
            ASSERT_TRUE(job.NewCheckPage());
        }
    }
    ASSERT_TRUE(job.PrinterTransEnd());
    const size_t perPage = std::size(kItems);
    ASSERT_EQ(printer->placed.size(), perPage * kPages);

    // Each value where the template puts it: its x and the whole-slip offset plus the em of a
    // 10 point face on the 600 dpi recorder (two average widths of half its size), its y.
    const double em = 2 * (10 * 600 / 72 / 2) * 25.4 / 600;
    for (size_t i = 0; i < perPage; ++i) {
        const QPointF wanted((kItems[i].x + 15) / 10.0 + em, (kItems[i].y - 20) / 10.0);
        const QPointF first = printer->placed[i].mm;
        EXPECT_NEAR(first.x(), wanted.x(), 0.1) << kItems[i].name;
        EXPECT_NEAR(first.y(), wanted.y(), 0.1) << kItems[i].name;
        // The last form of the batch lies 499 forms further down the paper.
        const QPointF last = printer->placed[perPage * (kPages - 1) + i].mm;
        EXPECT_NEAR(last.x(), first.x(), 0.2) << kItems[i].name;
        EXPECT_NEAR(last.y() - (kPages - 1) * 127.0, first.y(), 0.2) << kItems[i].name;
    }
}

TEST_F(Calibration, TemplateOwnCalibrationWinsAndNoneOrIdentityPrintsAsBefore)
{
    const auto printOnce = [this] {
        device->texts.clear();
        PrintJob job(engine(), BillKind::ExpressSlip);
        EXPECT_TRUE(job.PrintPrepare(kTemplate) && job.PrinterTransBegin(1) &&
                    job.SendCheckToPrinter([](const QString &) { return QStringLiteral("张"); }) &&
                    job.PrinterTransEnd());
        return device->texts;
    };
    const auto uncalibrated = printOnce();
    ASSERT_EQ(uncalibrated.size(), 4);
    EXPECT_EQ(uncalibrated[0].x, 272 + 82); // 11.5 mm at 600 dpi and one em
    QString error;
    ASSERT_TRUE(store.save("Bill Printer", 0, {}, 0, &error));
    const auto identity = printOnce();
    for (qsizetype i = 0; i < identity.size(); ++i)
        EXPECT_EQ(std::pair(identity[i].x, identity[i].y),
                  std::pair(uncalibrated[i].x, uncalibrated[i].y));

    // The printer's own shifts everything 1 mm right; this template's own 2 mm down instead.
    ASSERT_TRUE(store.save("Bill Printer", 0, {-1, 0, 1, 1}, 0, &error));
    EXPECT_EQ(printOnce()[0].x, uncalibrated[0].x + 24);
    ASSERT_TRUE(store.save("Bill Printer", kTemplate, {0, -2, 1, 1}, 0, &error));
    const auto own = printOnce();
    EXPECT_EQ(own[0].x, uncalibrated[0].x);
    EXPECT_EQ(own[0].y, uncalibrated[0].y + 47);
    // Another printer has none of them.
    engine().setDefaultPrinter(QStringLiteral("Office Laser"));
    EXPECT_EQ(printOnce()[0].y, uncalibrated[0].y);
}

// A print's template version, printed again later, puts everything where the first print did:
// the items, the whole-slip offset and, on the same printer, the calibration then in force,
// whatever changed since. Another printer corrects by its own calibration.
TEST_F(Calibration, AVersionPrintsAgainAsTheFirstPrintDid)
{
    const auto printWith = [this](const std::optional<TemplateVersion> &version, int *recorded) {
        device->texts.clear();
        PrintJob job(engine(), BillKind::ExpressSlip);
        EXPECT_TRUE((version ? job.PrintPrepare(*version) : job.PrintPrepare(kTemplate)) &&
                    job.PrinterTransBegin(1) &&
                    job.SendCheckToPrinter([](const QString &) { return QStringLiteral("张"); }) &&
                    job.PrinterTransEnd());
        QString error;
        if (recorded)
            *recorded = job.recordVersion(&error);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return device->texts;
    };
    const auto places = [](const QList<RecordingPrintDevice::Text> &texts) {
        std::vector<std::pair<int, int>> xy;
        for (const auto &t : texts)
            xy.emplace_back(t.x, t.y);
        return xy;
    };
    QString error;
    ASSERT_TRUE(store.save("Bill Printer", 0, {-1, 0, 1, 1}, 0, &error));
    int version = 0, again = 0;
    const auto first = places(printWith(std::nullopt, &version));
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[0].first, 272 + 82 + 24); // 11.5 mm, one em, 1 mm of calibration
    printWith(std::nullopt, &again);
    EXPECT_GT(version, 0);
    EXPECT_EQ(again, version) << "an equal version is stored once";

    exec("update CKControl set CtlX = CtlX + 500, CtlFontSize = 14 where CheckTypeID = :id",
         {{"id", kTemplate}});
    exec("update ckTypeTable set XMove = 300, YMove = 40 where CheckTypeID = :id",
         {{"id", kTemplate}});
    ASSERT_TRUE(store.save("Bill Printer", kTemplate, {0, -2, 1, 1}, 0, &error));
    int changed = 0;
    EXPECT_NE(places(printWith(std::nullopt, &changed)), first);
    EXPECT_NE(changed, version);

    const std::optional<TemplateVersion> stored =
        TemplateVersionStore(home.db()).load(version, &error);
    ASSERT_TRUE(stored) << error.toStdString();
    EXPECT_EQ(places(printWith(stored, nullptr)), first);
    // The font came back too: the first print's size, not today's.
    EXPECT_EQ(device->texts[0].font.pointSize, 10);

    ASSERT_TRUE(store.save("Office Laser", 0, {-2, 0, 1, 1}, 0, &error));
    engine().setDefaultPrinter(QStringLiteral("Office Laser"));
    const auto elsewhere = places(printWith(stored, nullptr));
    EXPECT_NEAR(elsewhere[0].first, first[0].first + 23, 1); // 2 mm instead of 1 mm
    EXPECT_EQ(elsewhere[0].second, first[0].second);

    exec("update TemplateVersionTable set Content = '{\"template\":' where VersionID = :id",
         {{"id", version}});
    EXPECT_FALSE(TemplateVersionStore(home.db()).load(version, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("损坏"))) << error.toStdString();
    EXPECT_FALSE(TemplateVersionStore(home.db()).load(99999, &error));
}
