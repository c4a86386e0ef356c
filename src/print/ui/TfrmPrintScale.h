#pragma once

#include "print/PrintCalibration.h"

#include <QDialog>
#include <array>

class AppServices;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// Calibration of offset and scale on one printer: a test sheet with four numbered crosses,
// the clerk's ruler measurements of two or more of them, and the fitted correction stored for
// the printer (or only for this template). Every print on that printer is then corrected.
class TfrmPrintScale : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPrintScale(AppServices &services, QWidget *parent = nullptr);

    // The template whose paper the sheet uses; set before showing.
    void setCheckTypeId(int id);

private:
    QWidget *buildSheetGroup();
    QWidget *buildMeasureGroup();
    QWidget *buildResultGroup();
    QWidget *buildFeedGroup();
    // The sheet on `pages` pages of one document, as the printer prints it uncorrected.
    void printSheet(int pages);
    void saveFeed();
    // The fit of what is typed, shown; its error told to the clerk.
    CalibrationSheet::Fit compute();
    void save();
    void clear();
    void showStored();
    QString printerName() const;
    int storedTemplate() const;

    AppServices &m_services;
    PrintCalibrationStore m_store;
    int m_checkTypeId = 0;
    std::array<QPointF, CalibrationSheet::kCrosses> m_intendedMm{};

    QLabel *lbTypeName = nullptr;
    QComboBox *cbPrinter = nullptr;
    std::array<QLabel *, CalibrationSheet::kCrosses> lbWant{};
    std::array<QLineEdit *, CalibrationSheet::kCrosses> edtX{};
    std::array<QLineEdit *, CalibrationSheet::kCrosses> edtY{};
    QCheckBox *ckThisTemplate = nullptr;
    QLabel *lbResult = nullptr;
    QLabel *lbStored = nullptr;
    QLineEdit *edtPages = nullptr;
    QLineEdit *edtDrift = nullptr;
    QLabel *lbFeed = nullptr;
    double m_formHeightMm = 127;
};
