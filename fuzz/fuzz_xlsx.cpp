// Arbitrary bytes as an xlsx package: the zip layer must refuse or read them, never crash.
#include "ReadAll.h"
#include "data/spreadsheet/XlsxReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    XlsxReader reader(QStringLiteral("fuzz.xlsx"),
                      QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    readAll(reader);
    return 0;
}
