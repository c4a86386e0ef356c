#pragma once

#include <QRect>
#include <QString>
#include <optional>
#include <vector>

class Database;

// One item box of the design mode: a dictionary entry of the kind and, when the template has
// a row for it, its on-screen place.
struct DesignBox
{
    QString ctlName; // upper case
    QString label;
    QString type; // "TEXT", "SHAPE", "CHECKBOX"; anything else gets no box
    bool hasRow = false;
    QRect geometry; // pixels over the picture
    bool visible = false;
};

// Everything the design mode's panels hold for one item.
struct ItemDesign
{
    int ctlX = 0; // 0.1 mm
    int ctlY = 0;
    int ctlLH = 50;
    int srcX = 0; // pixels
    int srcY = 0;
    int srcW = 0;
    int srcH = 0;
    bool hidden = false;
    QString fontName;
    int fontSize = 10;
    QString initValue;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool wordBreak = false;
    int wrapNum = 20;
    int breakFontSize = 10;
    bool fitPrint = false;
    int fitParam = 35;

    bool operator==(const ItemDesign &) const = default;
};

// The database side of the design mode: the boxes of a template, saving one item's row (made
// when the template has none yet) and the tick-box titles.
class CheckDesignStore
{
public:
    struct Saved
    {
        int rows = 0; // rows the statement changed
        bool inserted = false;
        QString error; // database error, or why the save was refused
        bool ok() const { return error.isEmpty(); }
    };

    explicit CheckDesignStore(Database &db);

    // The kind's dictionary, highest ShowOrd first (the item list's order), with each item's
    // row of the template.
    std::optional<std::vector<DesignBox>> loadBoxes(int checkTypeId, const QString &kind,
                                                    QString *error) const;
    // Writes the item's row; inserts it when the template has none. Items the kind's dictionary
    // does not know are refused.
    Saved saveItem(int checkTypeId, const QString &kind, const QString &ctlName,
                   const QString &ctlCName, const ItemDesign &values);

    // Titles as typed, cleaned: no brackets, quotes, wildcards or spaces, "，" as ",".
    static QString cleanTitles(const QString &typed);
    bool saveCheckBoxTitles(int checkTypeId, const QString &titles, QString *error);

private:
    Database &m_db;
};
