#pragma once

#include <QString>
#include <atomic>

class Database;
class XlsxWriter;
struct HistoryStatement;

// Writes every row a history statement finds to a workbook. It reads through a connection of
// its own, so it can run off the window's thread while the window shows its progress; the
// workbook file appears only when complete.
class HistoryExport
{
public:
    struct Progress
    {
        std::atomic<int> done{0};
        std::atomic<int> total{0};
        std::atomic<bool> cancel{false};
    };
    struct Result
    {
        int rows = 0;
        bool cancelled = false;
        QString error; // empty when the file was written or the user cancelled
    };

    static Result run(const Database &db, const HistoryStatement &statement, XlsxWriter &book,
                      Progress &progress);
};
