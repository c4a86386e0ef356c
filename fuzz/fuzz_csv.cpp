// Arbitrary bytes as CSV text.
#include "ReadAll.h"
#include "data/spreadsheet/CsvReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CsvReader reader(QStringLiteral("fuzz.csv"),
                     QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    readAll(reader);
    return 0;
}
