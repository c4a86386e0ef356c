#pragma once

#include <QDate>
#include <QString>

// Every window shows a date one way, the way the database stores it ("2026-12-11"), whatever
// the system's locale says: a clerk compares the history with the batch list and the bill.
namespace DateDisplay {

QString format();
QString text(const QDate &date);

} // namespace DateDisplay
