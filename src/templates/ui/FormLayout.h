#pragma once

#include <QString>

class Catalogue;
class IniFile;
class QWidget;

// Lays a bill form's fields out from a template's layout cache. Fields are found anywhere in
// the form's widget tree by objectName, without regard to case.
namespace FormLayout {

// Every item of the kind's dictionary, in dictionary order. Nothing without form or cache.
void setFormControlsPosition(const Catalogue &catalogue, int checkTypeId, const QString &kind,
                             QWidget *form, const IniFile *cache);
// One field: its place and size, shown or hidden, and its default text.
void setFormCtlPositionFromIni(const QString &name, const IniFile *cache, QWidget *form);

} // namespace FormLayout
