#pragma once

#include "bills/BillKind.h"

#include <QString>

class AppServices;

// Prints a saved bill again, as its form shows it reopened: with the template version on
// record for it, so it lands where it landed the first time, or with the template as it is
// today. A bill printed for the first time this way keeps the version it used.
class BillReprint
{
public:
    enum class Layout { AsFirstPrinted, Today };

    struct Outcome
    {
        bool sent = false;
        bool asFirstPrinted = false; // false: today's template printed it
        // The printer was not ready, failed or its setup was cancelled: the job told the user.
        bool printerRefused = false;
        QString error; // why nothing was sent
    };

    BillReprint(AppServices &services, BillKind kind);

    // The version the bill was first printed with; 0 when none is on record (saved before
    // versions were kept, or never printed), -1 with *error when the bill cannot be read.
    int firstVersion(int billId, QString *error) const;
    // Asked for the version of a bill that has none, today's template prints it.
    Outcome print(int billId, Layout layout, int copies = 1);

private:
    AppServices &m_services;
    BillKind m_kind;
};
