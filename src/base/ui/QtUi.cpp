#include "base/ui/QtUi.h"

#include "base/ui/TfrmInputValue.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon boxIcon(Ui::Icon icon)
{
    switch (icon) {
    case Ui::Icon::Warning:
        return QMessageBox::Warning;
    case Ui::Icon::Critical:
        return QMessageBox::Critical;
    case Ui::Icon::Question:
        return QMessageBox::Question;
    case Ui::Icon::Information:
        break;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButtons boxButtons(Ui::Buttons buttons)
{
    switch (buttons) {
    case Ui::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Ui::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Ui::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

} // namespace

Ui::Answer QtUi::showMessage(const QString &text, const QString &caption, Icon icon,
                             Buttons buttons)
{
    QMessageBox box(boxIcon(icon), caption, text, boxButtons(buttons),
                    QApplication::activeWindow());
    // No Qt translation is loaded: the buttons speak the interface's language themselves.
    const std::pair<QMessageBox::StandardButton, const char *> labels[] = {
        {QMessageBox::Ok, "确定"},
        {QMessageBox::Yes, "是(&Y)"},
        {QMessageBox::No, "否(&N)"},
        {QMessageBox::Cancel, "取消"},
    };
    for (const auto &[which, label] : labels)
        if (QAbstractButton *b = box.button(which))
            b->setText(QString::fromUtf8(label));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

bool QtUi::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

QString QtUi::chooseOpenFile(const QString &caption, const QString &filter,
                             const QString &directory)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, directory, filter);
}

QString QtUi::chooseSaveFile(const QString &caption, const QString &filter,
                             const QString &suggestedPath)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, suggestedPath,
                                        filter);
}

QString QtUi::giveMeAnValue(const QString &prompt, const QString &defaultValue,
                            const QString &valueType)
{
    TfrmInputValue dialog(*this, QApplication::activeWindow());
    dialog.setPrompt(prompt);
    dialog.setDefaultValue(defaultValue);
    dialog.setValueType(valueType);
    dialog.exec();
    return dialog.value();
}
