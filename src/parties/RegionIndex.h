#pragma once

#include <QHash>
#include <QString>
#include <vector>

// The division tree (province -> prefecture -> county) that address recognition matches real
// place names against. Built once from the shipped table; a lookup never touches the database.
class RegionIndex
{
public:
    enum Level { Province = 1, Prefecture = 2, County = 3 };

    struct Division
    {
        QString code; // two digits per level: a code's prefix is its parent's code
        QString name; // the full name, as a form shows it
        Level level = Province;
    };

    // The places a text names, as the form's province, city and town boxes take them.
    struct Place
    {
        QString province, city, town;
        qsizetype begin = -1; // where the names stand in the text; -1 when none was found
        qsizetype end = -1;
        bool isEmpty() const { return province.isEmpty() && city.isEmpty() && town.isEmpty(); }
    };

    // Lines of "code<TAB>name".
    explicit RegionIndex(const QString &table);

    // The table compiled into the program, read on first use.
    static const RegionIndex &shipped();

    // The longest run of real names in the text that belong to each other (浙江 杭州市 西湖区),
    // the missing levels above the deepest one filled in where the tree leaves no doubt.
    Place find(const QString &text) const;

    qsizetype size() const { return qsizetype(m_divisions.size()); }

private:
    struct Name
    {
        QString text;
        int division;
    };
    struct Hit
    {
        qsizetype begin, end;
        int division;
    };

    void addName(const QString &text, int division);
    std::vector<Hit> hits(const QString &text) const;
    const Division *parentOf(const Division &d) const;
    bool isAncestor(const Division &above, const Division &below) const;
    Place placeOf(const std::vector<int> &chain) const;

    std::vector<Division> m_divisions;
    QHash<QString, int> m_byCode;
    QHash<QChar, std::vector<Name>> m_byFirstChar; // longest name first
};
