#include "templates/ui/FormLayout.h"

#include "base/IniFile.h"
#include "templates/Catalogue.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

using FieldIndex = QHash<QString, QWidget *>;

// Lower-cased object name to widget; of several widgets with one name the first wins.
FieldIndex indexFields(QWidget *form)
{
    FieldIndex index;
    for (QWidget *w : form->findChildren<QWidget *>()) {
        const QString key = w->objectName().toLower();
        if (!key.isEmpty() && !index.contains(key))
            index.insert(key, w);
    }
    return index;
}

QWidget *findField(QWidget *form, const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    for (QWidget *w : form->findChildren<QWidget *>())
        if (w->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return w;
    return nullptr;
}

void applyDefault(QWidget *field, const QString &text)
{
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        edit->setText(text);
    else if (auto *combo = qobject_cast<QComboBox *>(field))
        combo->isEditable() ? combo->setEditText(text) : combo->setCurrentText(text);
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(field))
        memo->setPlainText(text);
    else if (auto *rich = qobject_cast<QTextEdit *>(field))
        rich->setPlainText(text);
    else if (auto *box = qobject_cast<QAbstractButton *>(field); box && box->isCheckable())
        box->setChecked(true); // any stored default ticks a check box, even "0"
}

void layOut(QWidget *field, const QString &name, const IniFile &cache)
{
    const QString key = name.toUpper();
    const int x = cache.readInteger(QStringLiteral("viewx"), key + u".x", 30);
    const int y = cache.readInteger(QStringLiteral("viewy"), key + u".y", 25);
    const int w = cache.readInteger(QStringLiteral("vieww"), key + u".w", 45);
    const int h = cache.readInteger(QStringLiteral("viewh"), key + u".h", 18);
    const int v = cache.readInteger(QStringLiteral("viewv"), key + u".v", 0);
    const QString dv = cache.readString(QStringLiteral("viewdv"), key + u".dv");
    if (v != 0) {
        field->setGeometry(x, y, w, h);
        field->show();
    } else {
        field->hide();
    }
    if (!dv.isEmpty())
        applyDefault(field, dv);
}

} // namespace

namespace FormLayout {

void setFormControlsPosition(const Catalogue &catalogue, int, const QString &kind, QWidget *form,
                             const IniFile *cache)
{
    if (!form || !cache)
        return;
    const std::optional<QStringList> names = catalogue.loadLayoutItemNames(kind);
    if (!names)
        return;
    const FieldIndex fields = indexFields(form);
    for (const QString &name : *names)
        if (QWidget *field = fields.value(name.toLower()))
            layOut(field, name, *cache);
    form->update();
}

void setFormCtlPositionFromIni(const QString &name, const IniFile *cache, QWidget *form)
{
    if (!form || !cache)
        return;
    if (QWidget *field = findField(form, name)) {
        layOut(field, name, *cache);
        form->update();
    }
}

} // namespace FormLayout
