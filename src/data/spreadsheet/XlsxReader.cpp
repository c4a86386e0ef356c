#include "data/spreadsheet/XlsxReader.h"

#include "data/spreadsheet/PartStream.h"

#include <QDate>
#include <QDir>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <cmath>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

QString resolvePart(const QString &baseDir, const QString &target)
{
    if (target.startsWith(u'/'))
        return target.mid(1);
    return QDir::cleanPath(baseDir + target);
}

QString folderOf(const QString &part)
{
    return part.left(part.lastIndexOf(u'/') + 1);
}

// Text of a string item (<si> or <is>): its runs, without the phonetic guides. Runs are
// counted rather than recursed into, so no nesting in a file can exhaust the stack.
QString stringItemText(QXmlStreamReader &xml)
{
    QString text;
    int openRuns = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == u"t")
                text += xml.readElementText();
            else if (xml.name() == u"r")
                ++openRuns;
            else
                xml.skipCurrentElement();
        } else if (token == QXmlStreamReader::EndElement) {
            if (openRuns == 0)
                break;
            --openRuns;
        }
    }
    return text;
}

// The sheet's r:id, whatever prefix the file gives the relationships namespace.
QString relationId(const QXmlStreamAttributes &attributes)
{
    for (const QXmlStreamAttribute &a : attributes) {
        if (a.name() == u"id")
            return a.value().toString();
    }
    return {};
}

// "AB12" -> column 28, row 12.
bool parseReference(QStringView ref, int &row, int &column)
{
    int i = 0;
    int col = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i) {
        col = col * 26 + (ref[i].toUpper().unicode() - 'A' + 1);
        if (col > 16384)
            return false;
    }
    bool ok = false;
    const int r = ref.mid(i).toInt(&ok);
    if (i == 0 || !ok)
        return false;
    row = r;
    column = col;
    return true;
}

} // namespace

XlsxReader::XlsxReader(QString path)
    : SpreadsheetReader(path)
    , m_zip(std::make_unique<QuaZip>(path))
{}

XlsxReader::XlsxReader(QString name, QByteArray data)
    : SpreadsheetReader(std::move(name))
    , m_zip(std::make_unique<QuaZip>(&m_buffer))
{
    m_buffer.setData(data);
}

XlsxReader::~XlsxReader()
{
    m_zip->close();
}

bool XlsxReader::parsePart(const QString &part,
                           const std::function<bool(QXmlStreamReader &)> &parse)
{
    if (!m_zip->isOpen() && !m_zip->open(QuaZip::mdUnzip))
        return false;
    if (!m_zip->setCurrentFile(part, QuaZip::csInsensitive))
        return false;
    QuaZipFile file(m_zip.get());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Parsed as it is unpacked: a damaged entry ends the stream as a cut one would, and the
    // parser fails on it.
    PartStream stream(file, kMaxFileBytes);
    QXmlStreamReader xml(&stream);
    const bool parsed = parse(xml) && !xml.hasError();
    m_partTooLarge = m_partTooLarge || stream.tooLarge();
    if (stream.runTooLong())
        setFaultDetail(QStringLiteral("其中有一段文字远长于一个单元格能容纳的 32767 个字符。"));
    file.close();
    return parsed && !stream.failed() && file.getZipError() == UNZ_OK;
}

QHash<QString, QString> XlsxReader::readRelations(const QString &part, QString *sharedStrings,
                                                  QString *styles)
{
    QHash<QString, QString> targets;
    const QString relsPart =
        folderOf(part) + u"_rels/" + part.mid(folderOf(part).size()) + u".rels";
    parsePart(relsPart, [&](QXmlStreamReader &xml) {
        readRelationList(xml, folderOf(part), targets, sharedStrings, styles);
        return true;
    });
    return targets;
}

void XlsxReader::readRelationList(QXmlStreamReader &xml, const QString &folder,
                                  QHash<QString, QString> &targets, QString *sharedStrings,
                                  QString *styles)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == u"Relationships")
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const QString target = resolvePart(folder, a.value(QLatin1String("Target")).toString());
        const QStringView type = a.value(QLatin1String("Type"));
        targets.insert(a.value(QLatin1String("Id")).toString(), target);
        if (sharedStrings && type.endsWith(u"/sharedStrings"))
            *sharedStrings = target;
        if (styles && type.endsWith(u"/styles"))
            *styles = target;
        xml.skipCurrentElement();
    }
}

int XlsxReader::readWorkbook(QStringList &sheetNames, Fault &fault)
{
    fault = Fault::Damaged;
    const auto failed = [&] {
        if (m_partTooLarge)
            fault = Fault::TooLarge;
        return -1;
    };
    QString workbookPart = QStringLiteral("xl/workbook.xml");
    parsePart(QStringLiteral("_rels/.rels"), [&](QXmlStreamReader &xml) {
        while (xml.readNextStartElement()) {
            if (xml.name() == u"Relationships")
                continue;
            if (xml.attributes().value(QLatin1String("Type")).endsWith(u"/officeDocument"))
                workbookPart =
                    resolvePart({}, xml.attributes().value(QLatin1String("Target")).toString());
            xml.skipCurrentElement();
        }
        return true;
    });
    QString sharedStringsPart, stylesPart;
    const QHash<QString, QString> targets =
        readRelations(workbookPart, &sharedStringsPart, &stylesPart);

    int active = 0;
    const bool read = parsePart(workbookPart, [&](QXmlStreamReader &xml) {
        return readSheetList(xml, targets, sheetNames, active);
    });
    if (!read)
        return failed();
    if ((!sharedStringsPart.isEmpty() && !readSharedStrings(sharedStringsPart, fault)) ||
        (!stylesPart.isEmpty() && !readStyles(stylesPart)))
        return failed();
    return active;
}

bool XlsxReader::readSheetList(QXmlStreamReader &xml, const QHash<QString, QString> &targets,
                               QStringList &sheetNames, int &active)
{
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == u"sheet") {
            const QString part = targets.value(relationId(a));
            if (part.isEmpty())
                return false;
            sheetNames << a.value(QLatin1String("name")).toString();
            m_sheetParts << part;
        } else if (xml.name() == u"workbookView") {
            // Clamped, so a negative tab is not taken for a failure.
            active = std::max(0, a.value(QLatin1String("activeTab")).toInt());
        } else if (xml.name() == u"workbookPr") {
            const QStringView v = a.value(QLatin1String("date1904"));
            m_date1904 = v == u"1" || v == u"true";
        }
    }
    return true;
}

bool XlsxReader::readSharedStrings(const QString &part, Fault &fault)
{
    return parsePart(part, [&](QXmlStreamReader &xml) { return readStringList(xml, fault); });
}

bool XlsxReader::readStringList(QXmlStreamReader &xml, Fault &fault)
{
    // What a text is counted besides its characters: what a list of separate texts would
    // cost, kept so the limit means what it always did.
    constexpr qint64 kOverhead = 48;
    qint64 used = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"si")
            continue;
        // Each shared string stands for at least one cell, so the cell limit bounds their
        // number; their memory has a limit of its own, as one cell can be long.
        if (sharedTexts() >= kMaxCells) {
            fault = Fault::TooManyCells;
            return false;
        }
        const QString text = stringItemText(xml);
        used += 2 * text.size() + kOverhead;
        if (used > kMaxSharedTextBytes) {
            fault = Fault::TooMuchText;
            return false;
        }
        addSharedText(text);
    }
    return true;
}

bool XlsxReader::readStyles(const QString &part)
{
    return parsePart(part, [&](QXmlStreamReader &xml) { return readStyleList(xml); });
}

bool XlsxReader::readStyleList(QXmlStreamReader &xml)
{
    QHash<int, QString> codes;
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (xml.name() == u"cellXfs")
            inCellXfs = token == QXmlStreamReader::StartElement;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == u"numFmt") {
            codes.insert(a.value(QLatin1String("numFmtId")).toInt(),
                         a.value(QLatin1String("formatCode")).toString());
        } else if (inCellXfs && xml.name() == u"xf") {
            const int id = a.value(QLatin1String("numFmtId")).toInt();
            m_styles.push_back(shownByFormat(id, codes.value(id)));
        }
    }
    return true;
}

bool XlsxReader::readSheet(int index, Rows &rows, Fault &fault)
{
    fault = Fault::Damaged;
    m_partTooLarge = false;
    if (parsePart(m_sheetParts.value(index),
                  [&](QXmlStreamReader &xml) { return readCells(xml, rows, fault); }))
        return true;
    if (m_partTooLarge)
        fault = Fault::TooLarge;
    return false;
}

bool XlsxReader::readCells(QXmlStreamReader &xml, Rows &rows, Fault &fault)
{
    int row = 0;
    int column = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"row") {
            const QStringView r = xml.attributes().value(QLatin1String("r"));
            bool ok = true;
            row = r.isEmpty() ? row + 1 : r.toInt(&ok);
            if (!ok || row < 1 || row > kMaxRows)
                return false;
            column = 0;
            continue;
        }
        if (xml.name() != u"c")
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const QStringView ref = a.value(QLatin1String("r"));
        if (ref.isEmpty())
            ++column;
        else if (!parseReference(ref, row, column))
            return false;
        const QString type = a.value(QLatin1String("t")).toString();
        const int style = a.value(QLatin1String("s")).toInt();
        QString value, inlineText;
        while (xml.readNextStartElement()) {
            if (xml.name() == u"v")
                value = xml.readElementText();
            else if (xml.name() == u"is")
                inlineText = stringItemText(xml);
            else
                xml.skipCurrentElement();
        }
        if (type == u"s") {
            bool ok = false;
            const qsizetype i = value.toLongLong(&ok);
            if (!ok || !setSharedCell(rows, row, column, i, fault))
                return false;
            continue;
        }
        bool ok = true;
        const QString text = valueText(type, style, value, inlineText, ok);
        if (!ok || !setCell(rows, row, column, text, fault))
            return false;
    }
    return true;
}

QString XlsxReader::valueText(QStringView type, int style, const QString &value,
                              const QString &inlineText, bool &ok) const
{
    if (type == u"inlineStr")
        return inlineText;
    if (type == u"b")
        return value == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (type == u"str" || type == u"e" || type == u"d" || value.isEmpty())
        return value;
    const double number = value.toDouble(&ok);
    if (!ok)
        return {};
    const Shown shown =
        style >= 0 && size_t(style) < m_styles.size() ? m_styles[size_t(style)] : Shown::Number;
    return shown == Shown::Number ? numberText(number) : serialText(number, shown);
}

XlsxReader::Shown XlsxReader::shownByFormat(int id, QString code)
{
    // The built-in date and time formats, the Chinese ones included; they are not written
    // into the file.
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || id == 36 || (id >= 50 && id <= 58))
        return Shown::Date;
    if ((id >= 18 && id <= 21) || (id >= 32 && id <= 35) || (id >= 45 && id <= 47))
        return Shown::Time;
    if (id == 22)
        return Shown::DateTime;
    // A custom format is a date when, outside quoted text, colours and escapes, it has date
    // or time letters.
    code.remove(QRegularExpression(QStringLiteral(R"("[^"]*"|\[[^\]]*\]|\\.|_.|\*.)")));
    code = code.toLower();
    if (code.contains(u"general"))
        return Shown::Number;
    const bool date = code.contains(u'y') || code.contains(u'd');
    const bool time = code.contains(u'h') || code.contains(u's');
    if (date && time)
        return Shown::DateTime;
    if (time)
        return Shown::Time;
    return date || code.contains(u'm') ? Shown::Date : Shown::Number;
}

QString XlsxReader::serialText(double serial, Shown shown) const
{
    if (!(serial >= 0 && serial < 2958466)) // 9999-12-31
        return numberText(serial);
    qint64 days = qint64(std::floor(serial));
    qint64 seconds = std::llround((serial - double(days)) * 86400.0);
    if (seconds >= 86400) {
        ++days;
        seconds = 0;
    }
    // The 1900 system counts a 29 February 1900 that never was.
    const QDate base = m_date1904  ? QDate(1904, 1, 1)
                       : days < 60 ? QDate(1899, 12, 31)
                                   : QDate(1899, 12, 30);
    const QDateTime at(base.addDays(days), QTime(0, 0).addSecs(int(seconds)));
    switch (shown) {
    case Shown::Date:
        return at.toString(QStringLiteral("yyyy-MM-dd"));
    case Shown::Time:
        return at.toString(QStringLiteral("HH:mm:ss"));
    default:
        return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
}
