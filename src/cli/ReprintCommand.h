#pragma once

#include <QString>

class AppServices;
class QTextStream;

// What `lanyan reprint` was asked to do.
struct ReprintRequest
{
    QString bill;    // "kdd:ID" or "cdhp:ID"
    QString printer; // a queue, or empty with `pdf`
    QString pdf;     // a PDF file instead of a printer
    int copies = 1;
    bool todayTemplate = false; // the template as it is now instead of the first print's
    bool json = false;
};

// `lanyan reprint`: one saved bill printed again exactly as it was first printed (the template
// version on record for it), or with today's template when asked or when none is on record.
class ReprintCommand
{
public:
    ReprintCommand(AppServices &services, QTextStream &out, QTextStream &err);

    int run(const ReprintRequest &request);

private:
    int finish(int code, const ReprintRequest &request, bool asFirstPrinted, const QString &error);

    AppServices &m_services;
    QTextStream &m_out;
    QTextStream &m_err;
};
