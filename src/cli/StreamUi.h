#pragma once

#include "base/Ui.h"

#include <QTextStream>

// The Ui of a command without windows: every message goes to standard error as one line, a
// question is answered No and nothing is ever chosen, so a command never waits for a person.
class StreamUi : public Ui
{
public:
    StreamUi();

    Answer showMessage(const QString &text, const QString &caption, Icon icon,
                       Buttons buttons) override;
    bool openUrl(const QUrl &) override { return false; }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString chooseSaveFile(const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString giveMeAnValue(const QString &, const QString &, const QString &) override { return {}; }

    // The last message, for a command's own report.
    const QString &lastMessage() const { return m_last; }

private:
    QTextStream m_err;
    QString m_last;
};
