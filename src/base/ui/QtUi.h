#pragma once

#include "base/Ui.h"

// The real Ui: Qt message boxes and file dialogs over the active window.
class QtUi : public Ui
{
public:
    Answer showMessage(const QString &text, const QString &caption, Icon icon,
                       Buttons buttons) override;
    bool openUrl(const QUrl &url) override;
    QString chooseOpenFile(const QString &caption, const QString &filter,
                           const QString &directory) override;
    QString chooseSaveFile(const QString &caption, const QString &filter,
                           const QString &suggestedPath) override;
    QString giveMeAnValue(const QString &prompt, const QString &defaultValue,
                          const QString &valueType) override;
};
