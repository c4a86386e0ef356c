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

QJsonObject PrintItem::toJson() const
{
    return {{"x", x},
            {"y", y},
            {"face", face},
            {"colour", colour},
            {"size", fontSize},
            {"breakSize", breakFontSize},
            {"bold", bold},
            {"italic", italic},
            {"underline", underline},
            {"lineHeight", lineHeight},
            {"pitch", fitParam},
            {"breakNum", breakNumText}};
}

PrintItem PrintItem::fromJson(const QJsonObject &o)
{
    PrintItem item;
    item.x = o.value("x").toInt();
    item.y = o.value("y").toInt();
    item.face = o.value("face").toString(kDefaultFace);
    item.colour = o.value("colour").toString();
    item.fontSize = o.value("size").toInt();
    item.breakFontSize = o.value("breakSize").toInt(item.breakFontSize);
    item.bold = o.value("bold").toBool();
    item.italic = o.value("italic").toBool();
    item.underline = o.value("underline").toBool();
    item.lineHeight = o.value("lineHeight").toInt(kDefaultLineHeight);
    item.fitParam = o.value("pitch").toString();
    item.breakNumText = o.value("breakNum").toString();
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
