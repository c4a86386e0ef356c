// Builds a valid xlsx package from the fuzzer's bytes, so the mutations reach the XML parsers
// instead of dying in the zip layer. The input is the workbook, the first sheet, the shared
// strings and the styles, separated by the byte 0x01; the package's relationships are fixed.
#include "ReadAll.h"
#include "data/spreadsheet/XlsxReader.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

const char kRootRels[] =
    R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)";
const char kWorkbookRels[] =
    R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/><Relationship Id="rId4" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/></Relationships>)";

void add(QuaZip &zip, const char *name, const QByteArray &content)
{
    QuaZipFile entry(&zip);
    entry.open(QIODevice::WriteOnly, QuaZipNewInfo(QString::fromLatin1(name)), nullptr, 0,
               Z_DEFLATED, Z_BEST_SPEED);
    entry.write(content);
    entry.close();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\x01');
    QByteArray package;
    {
        QBuffer buffer(&package);
        QuaZip zip(&buffer);
        if (!zip.open(QuaZip::mdCreate))
            return 0;
        add(zip, "_rels/.rels", kRootRels);
        add(zip, "xl/_rels/workbook.xml.rels", kWorkbookRels);
        add(zip, "xl/workbook.xml", parts.value(0));
        add(zip, "xl/worksheets/sheet1.xml", parts.value(1));
        add(zip, "xl/sharedStrings.xml", parts.value(2));
        add(zip, "xl/styles.xml", parts.value(3));
        zip.close();
    }
    XlsxReader reader(QStringLiteral("fuzz.xlsx"), package);
    readAll(reader);
    return 0;
}
