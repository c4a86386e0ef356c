#include "print/PrintItem.h"

#include "print/PrintText.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

const QString kDefaultFace = QStringLiteral("宋体");

bool isDigitsOnly(const QString &text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

int intValue(const QSqlQuery &q, const char *column)
{
    return q.value(QString::fromLatin1(column)).toInt();
}

} // namespace

PrintItem PrintItem::read(const QSqlQuery &q)
{
    PrintItem item;
    item.x = intValue(q, "CtlX");
    item.y = intValue(q, "CtlY");
    item.face = q.value(QStringLiteral("CtlFontName")).toString();
    if (item.face.isEmpty())
        item.face = kDefaultFace;
    item.colour = q.value(QStringLiteral("CtlFontColor")).toString();
    item.fontSize = intValue(q, "CtlFontSize");
    item.breakFontSize = std::max(6, intValue(q, "BreakFontSize"));
    item.bold = intValue(q, "Bold") > 0;
    item.italic = intValue(q, "Italic") > 0;
    item.underline = intValue(q, "UnderLine") > 0;
    const int lineHeight = intValue(q, "CtlLH");
    item.lineHeight = lineHeight > 0 ? lineHeight : kDefaultLineHeight;
    item.fitParam = q.value(QStringLiteral("FitParam")).toString();
    item.breakNumText = q.value(QStringLiteral("BreakNum")).toString();
    item.breakNum = isDigitsOnly(item.breakNumText) ? item.breakNumText.toInt() : -1;
    return item;
}

QStringList PrintItem::lines(const QString &text, const QString &separator) const
{
    const QStringList pieces = !separator.isEmpty() && text.contains(separator)
                                   ? PrintText::SplitByDelimiter(text, separator)
                                   : QStringList{text};
    QStringList result;
    for (const QString &piece : pieces) {
        if (piece.isEmpty())
            continue;
        if (breakNum > 0)
            result << PrintText::splitByWidth(piece, breakNum);
        else
            result << piece;
    }
    return result;
}

bool PrintItem::pitch(int *value) const
{
    bool isNumber = false;
    *value = fitParam.trimmed().toInt(&isNumber);
    return isNumber;
}
