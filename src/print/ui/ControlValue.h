#pragma once

#include <QString>
#include <QStringList>

class BillValues;
class QWidget;
class Ui;

// The printable value of the bill field named `ctlName` (without regard to case) among the
// container's children; when the container has none of that name, the rest of the form is
// searched too. Hidden fields print nothing: the template's layout hides what it does not
// print. Edits, memos, drop-downs and labels give their text, check boxes "√" when checked.
QString getControlValue(const QWidget *container, const QString &ctlName, Ui &ui);

// Reads the named fields into the bill, found as above: each one's text, and hidden when the
// form does not show it. A name without a control is left out.
void readControls(const QWidget *container, const QStringList &ctlNames, BillValues &bill, Ui &ui);
