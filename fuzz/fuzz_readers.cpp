// Feeds arbitrary bytes to a spreadsheet reader: it must refuse or read them, never crash.
#include "data/spreadsheet/CsvReader.h"
#include "data/spreadsheet/XlsxReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
#ifdef FUZZ_XLSX
    XlsxReader reader(QStringLiteral("fuzz.xlsx"), bytes);
#else
    CsvReader reader(QStringLiteral("fuzz.csv"), bytes);
#endif
    if (reader.load()) {
        for (int i = 1; i < reader.sheetNames().size(); ++i)
            reader.activate(i);
        reader.cellText(reader.usedRows(), reader.usedColumns());
    }
    return 0;
}
