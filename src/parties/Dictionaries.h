#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class Database;

struct DictionaryEntry
{
    int id = 0; // 0: not stored yet
    QString name;
    QString value;
    int checkTypeId = 0; // 0: shared by every template
    // The stored row's version when it was read; -1: not read, saved without the check.
    int rowVersion = -1;
};

struct Currency
{
    QString name;
    QString code;
};

// The code tables behind the drop-downs: named dictionaries (DMTable), provinces and cities
// (DMTable2, type "省市") and currencies (coins). Look-ups answer empty values on failure.
class Dictionaries
{
public:
    static inline const QString kRegionType = QStringLiteral("省市");
    static inline const QString kNewDictionaryValue = QStringLiteral("<空>");

    explicit Dictionaries(Database &db);

    // Regions and currencies as every window uses them.
    QStringList loadProvinces() const;
    QStringList loadCitysByProvince(const QString &province) const;
    QStringList loadMoneyTypeList() const;
    QString getMoneyCodeByName(const QString &name) const;
    QString getMoneyNameByCode(const QString &code) const;

    // Named dictionaries; "cfg" names are template settings and never listed.
    static const QStringList &offeredDictionaryNames();
    // The template's own names, or the shared ones when it has none.
    QStringList dictionaryNames(int checkTypeId) const;
    // Entries by value; with `withShared` the shared entries too. None on a database failure,
    // with the statement and the error in *failure.
    std::optional<std::vector<DictionaryEntry>> dictionaryEntries(const QString &name,
                                                                  int checkTypeId, bool withShared,
                                                                  QString *failure = nullptr) const;
    bool dictionaryExists(int checkTypeId, const QString &name) const;
    // A new dictionary starts with the single entry "<空>".
    bool addDictionary(int checkTypeId, const QString &name);
    // Stores new entries (id 0) and changed values, all or none. An entry read with its row
    // version is written only over that version; when another workstation changed or deleted
    // it since, nothing is stored and *changedElsewhere says so.
    bool saveDictionaryEntries(const std::vector<DictionaryEntry> &entries,
                               bool *changedElsewhere = nullptr);
    bool deleteDictionaryEntry(int id);

    // Provinces and cities as the region dialog edits them (names compared trimmed).
    QStringList regionProvinces() const;
    QStringList regionCities(const QString &province) const;
    bool regionExists(const QString &province, const QString &city) const;
    bool addRegion(const QString &province, const QString &city);
    bool renameRegion(const QString &province, const QString &oldCity, const QString &newCity);
    bool deleteRegion(const QString &province, const QString &city);

    // Currencies, highest weight first; each change answers whether a row changed.
    std::vector<Currency> currencies() const;
    bool addCurrency(const QString &name, const QString &code);
    bool deleteCurrency(const QString &name);
    bool setCurrencyCode(const QString &name, const QString &code);
    bool moveCurrency(const QString &name, int step);
    bool resetCurrencyOrder();

private:
    Database &m_db;
};
