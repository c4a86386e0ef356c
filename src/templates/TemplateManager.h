#pragma once

#include <QList>
#include <QString>
#include <QVariantList>

class Catalogue;
class DataHome;
class Database;

// The changes of template management: states, default, clone, rename, delete. Each change is
// whole: it runs in one transaction, and a picture it copies is removed again when the
// transaction fails. Messages are the window's; these answer what happened.
class TemplateManager
{
public:
    enum class Tab { Available, Common, Default, Hidden };

    TemplateManager(Database &db, Catalogue &catalogue, const DataHome &home);

    // A name the user typed with brackets, quotes, wildcards and spaces removed.
    static QString cleanName(const QString &text);
    // The list statement of a tab, narrowed to a kind and to a key when given; the values to
    // bind come from listValues().
    static QString listSql(Tab tab, const QString &kind, const QString &key);
    static QVariantList listValues(const QString &kind, const QString &key);

    // Makes the template its kind's only default, enabled and common; answers its kind.
    bool setDefault(int id, QString *kind, QString *error);
    struct CommonResult
    {
        int changed = 0;
        int refusedDefaults = 0; // default templates keep their common mark
        QString error;
    };
    CommonResult setCommon(const QList<int> &ids, bool common);
    bool setVisible(const QList<int> &ids, bool visible, QString *error);

    enum class Deleted { Yes, NoKind, Failed };
    // The template's row, items and settings, then its picture and layout cache.
    Deleted deleteTemplate(int id, QString *error);
    QString typeNameOf(int id) const;

    // A new template of the same kind with the source's row, items and picture.
    bool cloneTemplate(int id, const QString &describe, int *newId, QString *error);
    bool renameTemplate(int id, const QString &describe, QString *error);

private:
    Database &m_db;
    Catalogue &m_catalogue;
    const DataHome &m_home;
};
