#pragma once

#include <QString>

class Database;
class TPersonKDD;

// The express slip batch list (table ReceiverList): one row per receiver to print. Rows come
// from pasted address blocks, spreadsheets and the address book.
class ReceiverList
{
public:
    explicit ReceiverList(Database &db);

    enum class Added { Row, Nothing, Failed };

    // Stores the party as a row without a batch group. A party without unit name, contact
    // and address is no receiver: nothing is stored. On failure *error says why.
    Added addReceiverAndGoods(const TPersonKDD &party, QString *error = nullptr);

private:
    Database &m_db;
};
