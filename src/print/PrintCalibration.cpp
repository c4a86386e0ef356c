#include "print/PrintCalibration.h"

#include "data/BoundQuery.h"
#include "data/Database.h"

#include <QSqlError>
#include <cmath>
#include <vector>

namespace CalibrationSheet {

std::array<QPoint, kCrosses> crosses(QSize form)
{
    const int right = form.width() - kInset;
    const int bottom = form.height() - kInset;
    return {QPoint(kInset, kInset), QPoint(right, kInset), QPoint(kInset, bottom),
            QPoint(right, bottom)};
}

namespace {

// measured = offset + scale × intended by least squares; a single position on this axis
// gives no scale, only the offset.
void fitAxis(const std::vector<double> &intended, const std::vector<double> &measured,
             double *offset, double *scale)
{
    const double n = double(intended.size());
    double meanI = 0, meanM = 0;
    for (size_t i = 0; i < intended.size(); ++i) {
        meanI += intended[i] / n;
        meanM += measured[i] / n;
    }
    double sII = 0, sIM = 0;
    for (size_t i = 0; i < intended.size(); ++i) {
        sII += (intended[i] - meanI) * (intended[i] - meanI);
        sIM += (intended[i] - meanI) * (measured[i] - meanM);
    }
    *scale = sII < 1 ? 1.0 : sIM / sII; // crosses less than 1 mm apart say nothing of scale
    *offset = meanM - *scale * meanI;
}

bool readMillimetres(const QString &text, double *value)
{
    bool ok = false;
    *value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(*value);
}

} // namespace

Fit fit(const std::array<QPointF, kCrosses> &intendedMm, const QStringList &xTexts,
        const QStringList &yTexts)
{
    Fit out;
    std::vector<int> used;
    std::vector<QPointF> measured;
    for (int i = 0; i < kCrosses; ++i) {
        const QString x = xTexts.value(i).trimmed();
        const QString y = yTexts.value(i).trimmed();
        if (x.isEmpty() && y.isEmpty())
            continue;
        const QString cross = u"十字" + QString::number(i + 1);
        if (x.isEmpty() || y.isEmpty()) {
            out.error = cross + u"要同时填写到左边和到上边的距离！";
            return out;
        }
        double mmX = 0, mmY = 0;
        if (!readMillimetres(x, &mmX) || !readMillimetres(y, &mmY)) {
            out.error = cross + u"的测量值不是数字，请输入毫米数，例如 15.5！";
            return out;
        }
        used.push_back(i);
        measured.emplace_back(mmX, mmY);
    }
    if (used.size() < 2) {
        out.error = QStringLiteral("请至少测量两个十字的位置！");
        return out;
    }
    // A cross typed into another's row turns the scale round or bends it out of shape: the
    // numbers printed beside the crosses must keep their order on the paper.
    for (size_t a = 0; a < used.size(); ++a) {
        for (size_t b = a + 1; b < used.size(); ++b) {
            const QPointF di = intendedMm[used[b]] - intendedMm[used[a]];
            const QPointF dm = measured[b] - measured[a];
            if ((std::abs(di.x()) >= 1 && di.x() * dm.x() <= 0) ||
                (std::abs(di.y()) >= 1 && di.y() * dm.y() <= 0)) {
                out.error = QStringLiteral("十字%1和十字%2的位置顺序不对，请按纸上十字旁的编号"
                                           "填写！")
                                .arg(used[a] + 1)
                                .arg(used[b] + 1);
                return out;
            }
        }
    }
    std::vector<double> ix, iy, mx, my;
    for (size_t k = 0; k < used.size(); ++k) {
        ix.push_back(intendedMm[used[k]].x());
        iy.push_back(intendedMm[used[k]].y());
        mx.push_back(measured[k].x());
        my.push_back(measured[k].y());
    }
    PrintCalibration &c = out.calibration;
    fitAxis(ix, mx, &c.offsetX, &c.scaleX);
    fitAxis(iy, my, &c.offsetY, &c.scaleY);
    for (const auto &[scale, axis] : {std::pair{c.scaleX, u"横向"}, std::pair{c.scaleY, u"纵向"}}) {
        if (scale < kMinScale || scale > kMaxScale) {
            out.error = QStringLiteral("测得的%1比例 %2 不在 0.95 到 1.05 之间，请检查测量值！")
                            .arg(QString::fromUtf16(axis))
                            .arg(scale, 0, 'f', 4);
            return out;
        }
    }
    double squares = 0;
    for (size_t k = 0; k < used.size(); ++k) {
        const double ex = mx[k] - (c.offsetX + c.scaleX * ix[k]);
        const double ey = my[k] - (c.offsetY + c.scaleY * iy[k]);
        squares += ex * ex + ey * ey;
    }
    out.residualMm = std::sqrt(squares / double(2 * used.size()));
    return out;
}

FeedFit fitPageFeed(double currentFeed, double formHeightMm, const QString &pagesText,
                    const QString &driftText)
{
    FeedFit out;
    bool pagesOk = false;
    const int pages = pagesText.trimmed().toInt(&pagesOk);
    double drift = 0;
    if (!pagesOk || pages < 2) {
        out.error = QStringLiteral("连续打印的张数要填 2 以上的整数！");
        return out;
    }
    if (!readMillimetres(driftText, &drift)) {
        out.error = QStringLiteral("最后一张的偏差不是数字，请输入毫米数（偏高填负数）！");
        return out;
    }
    // Each page fed drift / (pages - 1) too far; the next batch is sent pages that much shorter.
    out.pageFeed = currentFeed * (1 + drift / ((pages - 1) * formHeightMm));
    if (out.pageFeed < kMinScale || out.pageFeed > kMaxScale) {
        out.error = QStringLiteral("算得的走纸比例 %1 不在 0.95 到 1.05 之间，请检查张数和偏差！")
                        .arg(out.pageFeed, 0, 'f', 5);
        out.pageFeed = currentFeed;
    }
    return out;
}

} // namespace CalibrationSheet

PrintCalibrationStore::PrintCalibrationStore(Database &db)
    : m_db(db)
{}

std::optional<PrintCalibration> PrintCalibrationStore::stored(const QString &printer,
                                                              int checkTypeId) const
{
    QSqlQuery q = m_db.query();
    if (!execBound(q,
                   QStringLiteral("select OffsetX, OffsetY, ScaleX, ScaleY, PageFeed from "
                                  "PrinterCalibration where PrinterName = ? and CheckTypeID = ?"),
                   {printer, checkTypeId}) ||
        !q.next())
        return std::nullopt;
    PrintCalibration c{q.value(0).toDouble(), q.value(1).toDouble(), q.value(2).toDouble(),
                       q.value(3).toDouble(), q.value(4).toDouble()};
    // A row damaged by hand must not scale the print to nothing.
    const auto sane = [](double s) {
        return s >= CalibrationSheet::kMinScale && s <= CalibrationSheet::kMaxScale;
    };
    if (!sane(c.scaleX) || !sane(c.scaleY) || !sane(c.pageFeed))
        return std::nullopt;
    return c;
}

PrintCalibration PrintCalibrationStore::find(const QString &printer, int checkTypeId) const
{
    if (printer.isEmpty())
        return {};
    const PrintCalibration ofPrinter = stored(printer, 0).value_or(PrintCalibration{});
    PrintCalibration c = stored(printer, checkTypeId).value_or(ofPrinter);
    c.pageFeed = ofPrinter.pageFeed;
    return c;
}

bool PrintCalibrationStore::save(const QString &printer, int checkTypeId, const PrintCalibration &c,
                                 double residualMm, QString *error) const
{
    QSqlQuery q = m_db.query();
    // The printer's page feed, measured apart, stays.
    if (execBound(q,
                  QStringLiteral("insert into PrinterCalibration (PrinterName, CheckTypeID, "
                                 "OffsetX, OffsetY, ScaleX, ScaleY, Residual) values (?, ?, ?, ?, "
                                 "?, ?, ?) on conflict (PrinterName, CheckTypeID) do update set "
                                 "OffsetX = excluded.OffsetX, OffsetY = excluded.OffsetY, ScaleX "
                                 "= excluded.ScaleX, ScaleY = excluded.ScaleY, Residual = "
                                 "excluded.Residual"),
                  {printer, checkTypeId, c.offsetX, c.offsetY, c.scaleX, c.scaleY, residualMm}))
        return true;
    *error = q.lastError().text();
    return false;
}

bool PrintCalibrationStore::remove(const QString &printer, int checkTypeId, QString *error) const
{
    // Positions only: the printer's page feed is measured and cleared apart.
    QSqlQuery q = m_db.query();
    if (execBound(q,
                  QStringLiteral("update PrinterCalibration set OffsetX = 0, OffsetY = 0, ScaleX "
                                 "= 1, ScaleY = 1, Residual = null where PrinterName = ? and "
                                 "CheckTypeID = ?"),
                  {printer, checkTypeId}) &&
        execBound(q,
                  QStringLiteral("delete from PrinterCalibration where PrinterName = ? and "
                                 "CheckTypeID = ? and (CheckTypeID <> 0 or PageFeed = 1)"),
                  {printer, checkTypeId}))
        return true;
    *error = q.lastError().text();
    return false;
}

bool PrintCalibrationStore::savePageFeed(const QString &printer, double pageFeed,
                                         QString *error) const
{
    QSqlQuery q = m_db.query();
    if (execBound(q,
                  QStringLiteral("insert into PrinterCalibration (PrinterName, CheckTypeID, "
                                 "PageFeed) values (?, 0, ?) on conflict (PrinterName, "
                                 "CheckTypeID) do update set PageFeed = excluded.PageFeed"),
                  {printer, pageFeed}))
        return true;
    *error = q.lastError().text();
    return false;
}
