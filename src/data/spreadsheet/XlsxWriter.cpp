#include "data/spreadsheet/XlsxWriter.h"

#include "base/Gbk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
constexpr int kMaxCellText = 32767;

const char kContentTypes[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
    R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
    R"(<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>)"
    R"(</Types>)";

const char kPackageRels[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
    R"(</Relationships>)";

const char kWorkbook[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
    R"(<bookViews><workbookView activeTab="0"/></bookViews>)"
    R"(<sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>)";

const char kWorkbookRels[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(</Relationships>)";

// Formats 1 (text, size 9), 2 (text, size 9, bold) and 3 (number, size 9); 49 is the built-in
// text format "@", 0 "General".
const char kStyles[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<fonts count="3"><font><sz val="11"/><name val="宋体"/><charset val="134"/></font>)"
    R"(<font><sz val="9"/><name val="宋体"/><charset val="134"/></font>)"
    R"(<font><b/><sz val="9"/><name val="宋体"/><charset val="134"/></font></fonts>)"
    R"(<fills count="2"><fill><patternFill patternType="none"/></fill>)"
    R"(<fill><patternFill patternType="gray125"/></fill></fills>)"
    R"(<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>)"
    R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
    R"(<cellXfs count="4"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>)"
    R"(<xf numFmtId="49" fontId="1" fillId="0" borderId="0" xfId="0" applyNumberFormat="1" applyFont="1"/>)"
    R"(<xf numFmtId="49" fontId="2" fillId="0" borderId="0" xfId="0" applyNumberFormat="1" applyFont="1"/>)"
    R"(<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/></cellXfs>)"
    R"(<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>)"
    R"(</styleSheet>)";

// A plain decimal that a spreadsheet holds exactly as written: an optional minus, at most 15
// digits (a double's exact range), no leading zero before other digits (that is a code).
bool isPlainNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]+)?$"));
    int digits = 0;
    for (const QChar ch : text)
        digits += ch.isDigit();
    return digits <= 15 && number.match(text).hasMatch();
}

QString columnName(int column) // from 0
{
    QString name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
}

// XML 1.0 cannot carry most control characters; a cell loses them rather than spoil the file.
QString xmlSafe(const QString &text)
{
    QString safe = text;
    safe.removeIf(
        [](QChar ch) { return ch.unicode() < 0x20 && ch != u'\t' && ch != u'\n' && ch != u'\r'; });
    return safe;
}

QString fileError(const QString &what, const QString &path, const QString &reason)
{
    return what + QDir::toNativeSeparators(path) + u"（" + reason + u"）";
}

} // namespace

XlsxWriter::XlsxWriter(QString path)
    : m_path(std::move(path))
    , m_xml(&m_rows)
{
    // Reserve a unique name beside the target, so the final rename stays on one file system.
    QTemporaryFile part(QFileInfo(m_path).absolutePath() + u"/.export-XXXXXX.xlsx");
    part.setAutoRemove(false);
    if (!part.open()) {
        m_error = fileError(QStringLiteral("无法在此位置创建文件："), m_path, part.errorString());
        return;
    }
    if (!m_rows.open()) {
        part.remove();
        m_error = fileError(QStringLiteral("无法在此位置创建文件："), m_path, m_rows.errorString());
        return;
    }
    m_partPath = part.fileName();
}

XlsxWriter::~XlsxWriter()
{
    discard();
}

bool XlsxWriter::addTitleRow(const QStringList &titles)
{
    return writeRow(titles, Title);
}

bool XlsxWriter::addRow(const QStringList &values, const QList<int> &numberColumns)
{
    return writeRow(values, Text, numberColumns);
}

bool XlsxWriter::writeRow(const QStringList &values, Style style, const QList<int> &numberColumns)
{
    if (!isOpen())
        return false;
    if (m_row >= kMaxRows || values.size() > kMaxColumns) {
        m_error = QStringLiteral("数据超出了工作表的行数或列数上限。");
        return false;
    }
    const QString row = QString::number(m_row + 1);
    const QString s = QString::number(style);
    if (m_widths.size() < size_t(values.size()))
        m_widths.resize(size_t(values.size()), 0);
    m_xml.writeStartElement(QStringLiteral("row"));
    m_xml.writeAttribute(QStringLiteral("r"), row);
    for (int c = 0; c < values.size(); ++c) {
        const QString text = xmlSafe(values[c]);
        if (text.size() > kMaxCellText) {
            m_error = u"第" + row + u"行第" + QString::number(c + 1) +
                      u"列的内容超过了一个单元格能容纳的32767个字符。";
            return false;
        }
        m_xml.writeStartElement(QStringLiteral("c"));
        m_xml.writeAttribute(QStringLiteral("r"), columnName(c) + row);
        if (numberColumns.contains(c) && isPlainNumber(text)) {
            m_xml.writeAttribute(QStringLiteral("s"), QString::number(Number));
            m_xml.writeTextElement(QStringLiteral("v"), text);
        } else if (!text.isEmpty()) {
            m_xml.writeAttribute(QStringLiteral("s"), s);
            m_xml.writeAttribute(QStringLiteral("t"), QStringLiteral("inlineStr"));
            m_xml.writeStartElement(QStringLiteral("is"));
            m_xml.writeStartElement(QStringLiteral("t"));
            m_xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            m_xml.writeCharacters(text);
            m_xml.writeEndElement();
            m_xml.writeEndElement();
        } else {
            m_xml.writeAttribute(QStringLiteral("s"), s);
        }
        m_xml.writeEndElement();
        for (QStringView line : QStringView(text).split(u'\n'))
            m_widths[size_t(c)] = std::max(m_widths[size_t(c)], Gbk::gbkLength(line.toString()));
    }
    m_xml.writeEndElement();
    ++m_row;
    return true;
}

QByteArray XlsxWriter::sheetHead() const
{
    QByteArray xml =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)";
    if (!m_widths.empty()) {
        xml += "<cols>";
        for (size_t c = 0; c < m_widths.size(); ++c) {
            // Widths count characters of the 11-point default font; the cells use 9 points.
            const double width = std::clamp(m_widths[c] * 0.85 + 2.0, 6.0, 80.0);
            const QByteArray n = QByteArray::number(qulonglong(c + 1));
            xml += "<col min=\"" + n + "\" max=\"" + n + "\" width=\"" +
                   QByteArray::number(width, 'f', 2) + "\" customWidth=\"1\"/>";
        }
        xml += "</cols>";
    }
    return xml + "<sheetData>";
}

bool XlsxWriter::writeSheet(QIODevice &out)
{
    const QByteArray head = sheetHead();
    if (out.write(head) != head.size() || !m_rows.flush() || !m_rows.seek(0))
        return false;
    while (!m_rows.atEnd()) {
        const QByteArray chunk = m_rows.read(1 << 20);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size())
            return false;
    }
    const QByteArray tail = "</sheetData></worksheet>";
    return out.write(tail) == tail.size();
}

bool XlsxWriter::writePackage(const QString &zipPath)
{
    QuaZip zip(zipPath);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    const std::pair<const char *, QByteArray> parts[] = {
        {"[Content_Types].xml", kContentTypes},
        {"_rels/.rels", kPackageRels},
        {"xl/workbook.xml", kWorkbook},
        {"xl/_rels/workbook.xml.rels", kWorkbookRels},
        {"xl/styles.xml", kStyles},
        {"xl/worksheets/sheet1.xml", {}},
    };
    for (const auto &[name, bytes] : parts) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(QString::fromLatin1(name))))
            return false;
        // The sheet, the one part with no bytes here, comes from the scratch file.
        if (bytes.isEmpty() ? !writeSheet(file) : file.write(bytes) != bytes.size())
            return false;
        file.close();
        if (file.getZipError() != UNZ_OK)
            return false;
    }
    zip.close();
    return zip.getZipError() == UNZ_OK;
}

bool XlsxWriter::save()
{
    if (!isOpen())
        return false;
    if (!writePackage(m_partPath)) {
        m_error = fileError(QStringLiteral("无法写入文件："), m_path,
                            QStringLiteral("磁盘已满或没有写入权限"));
        discard();
        return false;
    }
    if (std::rename(QFile::encodeName(m_partPath).constData(),
                    QFile::encodeName(m_path).constData()) != 0) {
        m_error = fileError(QStringLiteral("无法写入文件："), m_path,
                            QString::fromLocal8Bit(std::strerror(errno)));
        discard();
        return false;
    }
    m_partPath.clear();
    // The reserved name was private to us; the export is an ordinary document.
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                      QFile::ReadOther);
    return true;
}

void XlsxWriter::discard()
{
    if (!m_partPath.isEmpty())
        QFile::remove(m_partPath);
    m_partPath.clear();
}
