#pragma once

#include "templates/TemplateModel.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class Database;
class DataHome;
class IniFile;
class Ui;

// The template catalogue: bill kinds and their codes, the look-ups every window uses to list
// and choose templates, and the per-template layout cache (Temp/CheckIni/<id>.ini) from which
// bill forms are laid out. Look-ups swallow database errors and answer empty values, except
// where a signature carries an error text.
class Catalogue : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *kDefaultPicture = "dhd_default.jpg";

    Catalogue(Database &db, Ui &ui, const DataHome &home);

    // Kinds and names.
    static QString getTypeCodeByTypeName(const QString &kind);
    static QString fullTypeName(const QString &kind, const QString &describe);
    // The kind part of a full name: before the first full-width bracket, else before the
    // first ASCII one, else the whole name.
    static QString kindFromTypeName(const QString &typeName);
    QStringList loadCheckTypeFirstNameList() const;
    QString loadDefaultTypeFirstName() const;

    // Template lists of a kind; only enabled templates are listed.
    QStringList loadCheckTypeLastNameList(const QString &kind) const;
    QStringList loadCommonTypeLastNameList(const QString &kind) const;
    QStringList loadCheckTypeFullNameList(const QString &kind = {}) const;

    // Identifiers and names. Identifiers "as text" that are no number answer empty values.
    // The kind's default template; tells the user when there is none, -1 when none is enabled.
    int loadDefaultCheckTypeId(const QString &kind) const;
    int loadCheckTypeIDByFirstAndLastName(const QString &kind, const QString &describe) const;
    QString loadCheckTypeIDByTypeFullName(const QString &fullName) const;
    QString loadCheckTypeFullNameByID(const QString &id) const;
    QString loadCheckTypeFirstNameByID(const QString &id) const;
    QString loadCheckTypeLastNameByID(const QString &id) const;
    // On a database failure these set *error ("CheckTypeExists:..." / "NewMaxCheckTypeId:...").
    bool CheckTypeExists(const QString &kind, const QString &describe, QString *error) const;
    QString loadMaxNewCheckTypeId(QString *error) const;

    // Entries of a drop-down dictionary for a comma-separated list of template identifiers
    // ("0," + id): higher identifiers first, so a template's own entries precede shared ones.
    QStringList loadDMListByName(const QString &name, const QString &idList) const;
    // Distinct full template names of the saved bills of a history table.
    QStringList loadHistoryTypeNameList(const QString &table) const;

    // Rows of the template tables.
    std::optional<Template> loadTemplate(int checkTypeId) const;
    std::optional<TemplateItem> loadTemplateItem(int checkTypeId, const QString &ctlName) const;
    std::vector<TemplateItem> loadTemplateItems(int checkTypeId) const;
    // The kind's dictionary in ShowOrd order; optionally only its printable items.
    std::vector<DictItem> loadDictItems(const QString &kind, bool printableOnly = false) const;
    // Item names of a kind in dictionary order, for laying a form out; tells the user
    // "调入项目参数失败!" and answers nothing when the query fails.
    std::optional<QStringList> loadLayoutItemNames(const QString &kind) const;

    // Layout cache.
    QString layoutCachePath(int checkTypeId) const;
    // Opens the template's cache, building it first when the template has none yet.
    std::unique_ptr<IniFile> OpenCheckInif(int checkTypeId);
    // Rebuilds the cache from the database; false when something failed, and then the previous
    // cache stays as it was.
    bool buildCheckIniFile(int checkTypeId);
    // Tells every open bill form that a template's layout or print settings were changed and
    // its cache rebuilt (the design mode calls it when it closes).
    void notifyLayoutChanged(int checkTypeId) { Q_EMIT layoutChanged(checkTypeId); }
    // Templates were imported, changed or removed: open bill forms reload their lists.
    void notifyTemplatesChanged() { Q_EMIT templatesChanged(); }

Q_SIGNALS:
    void layoutChanged(int checkTypeId);
    void templatesChanged();

private:
    bool writeLayoutCache(int checkTypeId, const QString &path) const;
    std::optional<Template> templateByText(const QString &id) const;

    Database &m_db;
    Ui &m_ui;
    const DataHome &m_home;
};
