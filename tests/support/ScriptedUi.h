#pragma once

#include "base/Ui.h"

#include <QList>
#include <QStringList>
#include <deque>
#include <gtest/gtest.h>

// The test double of the Ui seam: records every message, answers from a script.
class ScriptedUi : public Ui
{
public:
    struct Shown
    {
        QString text;
        QString caption;
        Icon icon;
        Buttons buttons;
    };
    struct Prompt
    {
        QString prompt;
        QString defaultValue;
        QString valueType;
    };

    Answer showMessage(const QString &text, const QString &caption, Icon icon,
                       Buttons buttons) override;
    bool openUrl(const QUrl &url) override
    {
        opened << url;
        return openSucceeds;
    }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override;
    QString chooseSaveFile(const QString &, const QString &, const QString &) override;
    QString giveMeAnValue(const QString &prompt, const QString &defaultValue,
                          const QString &valueType) override;

    // Queued answers to questions; with none queued a question is answered No.
    void answer(Answer a) { m_answers.push_back(a); }
    void answerFile(const QString &path) { m_files.push_back(path); }
    // Queued answers to value prompts; with none queued a prompt is cancelled (empty).
    void answerValue(const QString &value) { m_values.push_back(value); }

    QStringList texts() const;
    // The last message; with none shown the test fails here instead of the program aborting.
    const Shown &last() const
    {
        static const Shown none{};
        if (shown.isEmpty()) {
            ADD_FAILURE() << "no message was shown";
            return none;
        }
        return shown.back();
    }

    QList<Shown> shown;
    QList<QUrl> opened;
    // Whether a program takes what openUrl is given.
    bool openSucceeds = true;
    QList<Prompt> prompted;
    QStringList chosen; // captions of the file choosers shown

private:
    std::deque<Answer> m_answers;
    std::deque<QString> m_files;
    std::deque<QString> m_values;
};
