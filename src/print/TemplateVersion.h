#pragma once

#include "print/PrintCalibration.h"
#include "print/PrintItem.h"

#include <QByteArray>
#include <QHash>
#include <QSize>
#include <QString>
#include <optional>

// What decides where and how a template's values land on the paper, as one print used it: its
// items with their fonts, the whole-slip offset, the paper and the calibration of the printer
// it went to. A bill printed again with its version lands where it landed the first time,
// whatever became of the template since.
struct TemplateVersion
{
    int checkTypeId = 0;
    int xMove = 0; // 0.1 mm
    int yMove = 0;
    QSize paper; // 0.1 mm
    bool landscape = false;
    int cellWidth = 0;               // the draft's digit cells, 0.1 mm
    QHash<QString, PrintItem> items; // by upper-cased name
    QString printer;                 // whose calibration this is
    PrintCalibration calibration;

    // The same content always gives the same bytes, so equal versions are stored once.
    QByteArray toJson() const;
    static std::optional<TemplateVersion> fromJson(const QByteArray &json);
    QByteArray fingerprint() const;
};
