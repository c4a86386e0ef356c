// lanyan-reader: reads Access files and binary workbooks for the program, apart from it.
// The libraries that do the reading allocate without end or crash on some damaged files; here
// that costs this process only, which the program starts under resource limits and watches.
// What it answers is described in data/ReaderProtocol.h.

#include "base/FrameWriter.h"
#include "base/ReaderProtocol.h"
#include "reader/JetDump.h"
#include "reader/WorkbookDump.h"

#include <QFile>
#include <QString>
#include <csignal>
#include <cstdio>
#include <new>

namespace {

void reportProgress(qint64 done, qint64 total)
{
    std::printf("%s%lld %lld\n", ReaderProtocol::kProgress, static_cast<long long>(done),
                static_cast<long long>(total));
    std::fflush(stdout);
}

int readAccess(const QString &path, const QString &folder)
{
    QString why;
    if (JetDump::write(path, folder, reportProgress, &why))
        return 0;
    QFile tables(ReaderProtocol::tablesFile(folder));
    if (tables.open(QIODevice::WriteOnly | QIODevice::Truncate))
        FrameWriter(&tables).write(quint8(ReaderProtocol::Tag::Failed), why.toUtf8());
    return ReaderProtocol::kRefused;
}

int readWorkbook(const QString &path, const QString &output, const QString &sheet)
{
    bool number = false;
    const int index = sheet.toInt(&number);
    if (!number)
        return ReaderProtocol::kUsage;
    bool refused = false;
    if (!WorkbookDump::write(path, output, index, reportProgress, &refused))
        return 1;
    return refused ? ReaderProtocol::kRefused : 0;
}

int run(int argc, char **argv)
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (command == u"access" && argc == 4)
        return readAccess(QFile::decodeName(argv[2]), QFile::decodeName(argv[3]));
    if (command == u"workbook" && argc == 5)
        return readWorkbook(QFile::decodeName(argv[2]), QFile::decodeName(argv[3]),
                            QString::fromLocal8Bit(argv[4]));
    std::fprintf(stderr, "usage: lanyan-reader access FILE FOLDER\n"
                         "       lanyan-reader workbook FILE OUTPUT SHEET\n");
    return ReaderProtocol::kUsage;
}

} // namespace

int main(int argc, char **argv)
{
    // A file beyond the size limit ends the process rather than leaving a short answer.
    std::signal(SIGXFSZ, SIG_DFL);
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc &) {
        return ReaderProtocol::kOutOfMemory;
    }
}
