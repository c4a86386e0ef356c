#include "print/PrinterPresets.h"

#include "base/IniFile.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

const QString kListSection = QStringLiteral("PrinterWeKnow");
const QString kPresetSection = QStringLiteral("printerweknow");
const QString kUseSection = QStringLiteral("printeruse");
const QString kPrinters = QStringLiteral("printers");

QString presetKey(const QString &model, const char *field)
{
    return u"default." + model + u'.' + QLatin1String(field);
}

QString useKey(const QString &model, const char *field)
{
    return model + u'.' + QLatin1String(field);
}

} // namespace

PrinterPresets::PrinterPresets(IniFile &ini)
    : m_ini(ini)
{}

bool PrinterPresets::savePreset(const PrinterPreset &p)
{
    {
        IniFile::Batch batch(m_ini);
        QStringList names =
            m_ini.readString(kListSection, kPrinters).split(u',', Qt::SkipEmptyParts);
        if (!names.contains(p.model))
            names << p.model;
        m_ini.writeString(kListSection, kPrinters, names.join(u','));
        m_ini.writeString(kPresetSection, presetKey(p.model, "x"), p.x);
        m_ini.writeString(kPresetSection, presetKey(p.model, "y"), p.y);
        m_ini.writeString(kPresetSection, presetKey(p.model, "board"), p.board);
        m_ini.writeString(kPresetSection, presetKey(p.model, "d"), p.direction);
        m_ini.writeString(kPresetSection, presetKey(p.model, "img"), p.image);
    }
    return m_ini.flush();
}

QStringList PrinterPresets::models() const
{
    return m_ini.readString(kListSection, kPrinters, QString::fromUtf8(kNoPresets)).split(u',');
}

PrinterPreset PrinterPresets::preset(const QString &model) const
{
    const auto read = [&](const char *field) {
        return m_ini.readString(kPresetSection, presetKey(model, field));
    };
    return {model, read("x"), read("y"), read("board"), read("d"), read("img")};
}

std::optional<PrinterUse> PrinterPresets::loadUse() const
{
    const QString model = m_ini.readString(kUseSection, kPrinters);
    if (model.isEmpty())
        return std::nullopt;
    const auto number = [&](const char *field) -> std::optional<int> {
        if (!m_ini.valueExists(kUseSection, useKey(model, field)))
            return std::nullopt;
        return m_ini.readInteger(kUseSection, useKey(model, field), 0);
    };
    return PrinterUse{model,
                      m_ini.readString(kUseSection, useKey(model, "PrinterName")),
                      number("x"),
                      number("y"),
                      m_ini.readString(kUseSection, useKey(model, "d")),
                      m_ini.readString(kUseSection, useKey(model, "board"))};
}

bool PrinterPresets::saveUse(const PrinterUse &use)
{
    {
        IniFile::Batch batch(m_ini);
        m_ini.writeString(kUseSection, kPrinters, use.model);
        m_ini.writeString(kUseSection, useKey(use.model, "PrinterName"), use.printerName);
        m_ini.writeInteger(kUseSection, useKey(use.model, "x"), use.x.value_or(0));
        m_ini.writeInteger(kUseSection, useKey(use.model, "y"), use.y.value_or(0));
        m_ini.writeString(kUseSection, useKey(use.model, "d"), use.direction);
        m_ini.writeString(kUseSection, useKey(use.model, "board"), use.board);
    }
    return m_ini.flush();
}

std::optional<QString> PrinterPresets::directionDigit(const QString &direction)
{
    if (direction == u"横向")
        return QStringLiteral("1");
    if (direction == u"纵向")
        return QStringLiteral("0");
    return std::nullopt;
}

int PrinterPresets::applyToAllTemplates(QSqlDatabase &db, int xMove, int yMove, const QString &hv,
                                        QString *error)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("update ckTypeTable set XMove = :xmove, YMove = :ymove, "
                             "HVPrint = :hv"));
    q.bindValue(QStringLiteral(":xmove"), xMove);
    q.bindValue(QStringLiteral(":ymove"), yMove);
    q.bindValue(QStringLiteral(":hv"), hv);
    if (!q.exec()) {
        *error = q.lastError().text();
        return -1;
    }
    return q.numRowsAffected();
}
