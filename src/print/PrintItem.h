#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

class QSqlQuery;

// How one template item prints: its position, font, line breaking and character pitch, read
// from a CKControl row with the defaults of a row that leaves them empty. The print engine and
// the print preview both read items through this, so the preview shows what prints.
struct PrintItem
{
    static constexpr int kDefaultLineHeight = 50;

    int x = 0; // 0.1 mm
    int y = 0;
    QString face;
    QString colour; // empty: the drawing mode's default
    int fontSize = 0;
    int breakFontSize = 6;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int lineHeight = kDefaultLineHeight;
    QString fitParam;     // character pitch in 0.1 mm; empty: plain text
    QString breakNumText; // as stored
    int breakNum = -1;    // line width in full-width characters; -1: no breaking

    // Reads the columns of CKControl by name from the query's current row.
    static PrintItem read(const QSqlQuery &q);
    // As a template version keeps it; fromJson(toJson()) is the same item.
    QJsonObject toJson() const;
    static PrintItem fromJson(const QJsonObject &o);

    // The lines a value prints as: cut at `separator` (when not empty), empty pieces skipped,
    // each piece broken at the item's width.
    QStringList lines(const QString &text, const QString &separator) const;
    // Two or more lines print in the break font size.
    int fontSizeFor(qsizetype lineCount) const { return lineCount > 1 ? breakFontSize : fontSize; }
    // The character pitch as a number; false when FitParam holds something else.
    bool pitch(int *value) const;
};
