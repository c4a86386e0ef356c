#pragma once

#include "data/TPerson.h"

#include <QStringList>
#include <functional>
#include <optional>

class Database;
class Ui;

// What the party detail window is opened with when a bill's party is saved: the stored
// party that matched (0 when none did) and the values its boxes show.
struct PartyDetailRequest
{
    int storedId = 0;
    TPerson values;
};

// What a save did: the row's ID and version now, or why nothing was stored.
struct PartySave
{
    QString error; // empty on success
    // The row was changed or deleted on another workstation since it was read; nothing
    // was written.
    bool changedElsewhere = false;
    int id = 0;
    int rowVersion = -1;
};

// Party records and the look-ups every window uses (CKPersonalInfoTable). Look-ups swallow
// database errors and answer none or empty lists; Save reports them.
class Parties
{
public:
    // The address book in select mode: the chosen party, or none when closed without one.
    using AddressBook =
        std::function<std::optional<TPerson>(const QString &unitType, const QString &title)>;
    // The party detail window, shown modally; the user reviews and saves there.
    using DetailWindow = std::function<void(const PartyDetailRequest &request)>;

    Parties(Database &db, Ui &ui);

    // 1 when the row was read, 0 when there is none, -1 for ID <= 0 or a database error.
    int LoadByID(TPerson &person) const;
    // Writes the 22 text columns of the party's row, appending a row when there is none (the
    // new ID is not written back). Answers the database's error text, empty on success.
    QString Save(const TPerson &person);
    // The same; a party read with its row version is written only over that version.
    PartySave store(const TPerson &person);

    // A code with "%" finds the first mnemonic containing the code without its "%" signs.
    std::optional<TPerson> FindByInputCode(const QString &code) const;
    std::optional<TPerson> FindByFullName(const QString &name) const;
    std::optional<TPerson> FindByNameAndAccount(const QString &name, const QString &account) const;
    std::optional<TPerson> FindByNameAndContactor(const QString &name,
                                                  const QString &contact) const;
    std::optional<TPerson> FindByContactor(const QString &contact) const;
    std::optional<TPerson> LoadDefaultDrawer() const;

    // The default drawer the bill forms prefill their sender/drawer block with. Held only when
    // "启用默认出票人" was on at start-up.
    const std::optional<TPerson> &DefaultDrawer() const { return m_defaultDrawer; }
    void holdDefaultDrawer(bool useDefaultDrawer);
    // Makes the party the one default drawer, an own unit; the previous one loses its group.
    // Answers an error text, empty on success (then nothing was changed on failure).
    QString setDefaultDrawer(int id);

    void setAddressBook(AddressBook addressBook) { m_addressBook = std::move(addressBook); }
    void setDetailWindow(DetailWindow window) { m_detailWindow = std::move(window); }
    // Start tab of the address book: 0 own units, 1 counterparties, 2 all.
    static int addressBookTab(const QString &unitType);
    std::optional<TPerson> fetchOnePerson(const QString &unitType, const QString &title) const;

    QStringList loadCompanyList(const QString &unitType = {}) const;
    QStringList loadAccountsByCompany(const QString &fullName) const;
    QStringList loadBankNamesByAccount(const QString &account) const;

    // The stored party a bill's party most likely is, by the first rule that applies: name
    // and account, name and contact, name alone, contact alone.
    std::optional<TPerson> findStoredForBill(const TPerson &party) const;
    // Saves a stored party at once; otherwise opens the detail window on the matching stored
    // party with the bill's non-empty values over it. Always answers -1.
    int savePersonFromBill(const TPerson *party);

private:
    std::optional<TPerson> findFirst(const QString &where, const QVariantList &values) const;
    QStringList firstColumn(const QString &sql, const QVariantList &values) const;

    Database &m_db;
    Ui &m_ui;
    bool m_holdsDefaultDrawer = false;
    std::optional<TPerson> m_defaultDrawer;
    AddressBook m_addressBook;
    DetailWindow m_detailWindow;
};
