#pragma once

#include <QString>
#include <array>

class QSqlRecord;

// One row of CKPersonalInfoTable: an own unit ("我方单位") or a counterparty ("往来单位").
// ID <= 0 means the party is not stored yet; every text field is stored, an absent value as "".
class TPerson
{
public:
    static inline const QString kOwnUnit = QStringLiteral("我方单位");
    static inline const QString kCounterparty = QStringLiteral("往来单位");
    static inline const QString kDefaultDrawerGroup = QStringLiteral("默认出票人");

    struct Column
    {
        const char *name;
        QString TPerson::*field;
    };
    // The 22 text columns with their fields, in record order.
    static const std::array<Column, 22> &textColumns();

    // Copies ID, the row version and the 22 text columns of a result row; a NULL column reads
    // as "".
    void ReadFromRow(const QSqlRecord &row);

    int ID = 0;
    // The stored row's version when it was read; -1: not read, saved without the check.
    int RowVersion = -1;
    QString FullName;
    QString Identity;
    QString InputCode;
    QString Contactor;
    QString Bank;
    QString BankAcct;
    QString BankAddr;
    QString BankNo;
    QString Phone;
    QString Handset;
    QString Zipcode;
    QString Country;
    QString Address;
    QString Province;
    QString City;
    QString Town;
    QString Group;
    QString AcountType;
    QString Def1;
    QString Def2;
    QString Def3;
    QString Remark;
};
