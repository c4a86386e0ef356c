#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class IniFile;
class QSqlDatabase;

// A preset printer model of Config.ini: its whole-slip offset, feed direction and where its
// paper guide should stand.
struct PrinterPreset
{
    QString model;
    QString x; // 0.1 mm to the right
    QString y; // 0.1 mm down
    QString board;
    QString direction; // "纵向" or "横向"
    QString image;     // relative to the program directory
};

// The model the user adapted, and the system printer it stands for.
struct PrinterUse
{
    QString model;
    QString printerName;
    std::optional<int> x;
    std::optional<int> y;
    QString direction;
    QString board;
};

// Preset printer models ("PrinterWeKnow") and the user's own adaptation ("printeruse") in
// Config.ini.
class PrinterPresets
{
public:
    static constexpr const char *kNoPresets = "没有预选打印机配置";

    explicit PrinterPresets(IniFile &ini);

    // Adds or replaces a model. No model ships with the program: an offset is only worth
    // offering once a user has measured it on a real printer.
    bool savePreset(const PrinterPreset &preset);
    QStringList models() const;
    PrinterPreset preset(const QString &model) const;

    std::optional<PrinterUse> loadUse() const;
    bool saveUse(const PrinterUse &use);

    // "横向" -> "1", "纵向" -> "0"; anything else has no digit.
    static std::optional<QString> directionDigit(const QString &direction);
    // Gives every template the offset and feed direction; answers the rows changed, or -1
    // with *error set.
    static int applyToAllTemplates(QSqlDatabase &db, int xMove, int yMove, const QString &hv,
                                   QString *error);

private:
    IniFile &m_ini;
};
