#pragma once

#include <QList>
#include <QString>
#include <optional>

class Database;

// What the calibration window edits of a template (ckTypeTable): the whole-slip offset added
// to every printed position, the feed direction, the picture's size on the bill form and the
// real paper size.
struct OffsetSettings
{
    struct Range
    {
        int min;
        int max;
    };
    static constexpr Range kMove{-3000, 3000}; // 0.1 mm
    static constexpr Range kTHeight{200, 900}; // pixels
    static constexpr Range kTWidth{300, 1200};
    static constexpr Range kPHeight{200, 3000}; // 0.1 mm
    static constexpr Range kPWidth{300, 3000};

    int xMove = 0;
    int yMove = 0;
    int tHeight = 420;
    int tWidth = 780;
    int pHeight = 1270;
    int pWidth = 2300;
    bool landscape = false; // HVPrint "1"

    bool operator==(const OffsetSettings &) const = default;
};

struct OffsetTemplate
{
    int checkTypeId = 0;
    QString typeName;
    OffsetSettings settings;
};

// Reading and writing the calibration of templates.
class PrintOffset
{
public:
    struct Entry
    {
        QString typeName;
        int checkTypeId = 0;
    };
    enum class SaveResult { Changed, Unchanged, Failed };

    explicit PrintOffset(Database &db);

    // The enabled templates by name; names that are empty after trimming are left out.
    QList<Entry> enabledTemplates() const;
    // The first template of that name, as the database returns it.
    std::optional<OffsetTemplate> loadByName(const QString &typeName) const;
    // Writes the whole row in one statement: Unchanged when the row no longer exists; on a
    // database failure nothing is written and *error says why.
    SaveResult save(int checkTypeId, const OffsetSettings &settings, QString *error) const;

private:
    Database &m_db;
};
