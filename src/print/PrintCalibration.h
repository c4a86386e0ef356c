#pragma once

#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class Database;

// How a printer misplaces what it is sent, per axis: the paper position it prints at is
// offset + scale × the position it was sent, in millimetres from the paper's edges. Scale 1
// and offset 0 is a printer that needs no correction.
struct PrintCalibration
{
    double offsetX = 0;
    double offsetY = 0;
    double scaleX = 1;
    double scaleY = 1;
    // On continuous paper, how much longer than the page it is sent the printer feeds per
    // page; kept per printer, whichever template prints.
    double pageFeed = 1;

    // Positions need no correction (the page feed is the page's business).
    bool isIdentity() const { return offsetX == 0 && offsetY == 0 && scaleX == 1 && scaleY == 1; }
    // What to send so that the printer puts it at `wantedMm`.
    double sendX(double wantedMm) const { return (wantedMm - offsetX) / scaleX; }
    double sendY(double wantedMm) const { return (wantedMm - offsetY) / scaleY; }
};

// The test sheet: four crosses 15 mm in from the form's corners (1 top left, 2 top right,
// 3 bottom left, 4 bottom right), in 0.1 mm from the paper's edges before the whole-slip offset.
namespace CalibrationSheet {

constexpr int kCrosses = 4;
constexpr int kInset = 150;
constexpr double kMinScale = 0.95;
constexpr double kMaxScale = 1.05;

std::array<QPoint, kCrosses> crosses(QSize formTenthsMm);

struct Fit
{
    PrintCalibration calibration;
    double residualMm = 0; // root mean square of what the fit leaves unexplained
    QString error;         // for the clerk; nothing may be stored when set
};

// Fits offset and scale per axis by least squares to the crosses the clerk measured: the
// texts are millimetres from the paper's left and top edges, both empty for a cross not
// measured. `intendedMm` is where each cross was meant to print.
Fit fit(const std::array<QPointF, kCrosses> &intendedMm, const QStringList &xTexts,
        const QStringList &yTexts);

struct FeedFit
{
    double pageFeed = 1;
    QString error;
};

// The page feed after a continuous batch of `pagesText` forms of `formHeightMm` whose last form
// printed `driftText` millimetres lower than the first (negative: higher), printed with
// `currentFeed` in force.
FeedFit fitPageFeed(double currentFeed, double formHeightMm, const QString &pagesText,
                    const QString &driftText);

} // namespace CalibrationSheet

// Calibrations stored per printer, for all its templates (template 0) or for one template.
class PrintCalibrationStore
{
public:
    explicit PrintCalibrationStore(Database &db);

    // The template's own calibration on that printer, else the printer's, else none; the page
    // feed always the printer's.
    PrintCalibration find(const QString &printer, int checkTypeId) const;
    // The row itself, template 0 for the printer's; nullopt when there is none.
    std::optional<PrintCalibration> stored(const QString &printer, int checkTypeId) const;
    bool save(const QString &printer, int checkTypeId, const PrintCalibration &calibration,
              double residualMm, QString *error) const;
    bool remove(const QString &printer, int checkTypeId, QString *error) const;
    bool savePageFeed(const QString &printer, double pageFeed, QString *error) const;

private:
    Database &m_db;
};
