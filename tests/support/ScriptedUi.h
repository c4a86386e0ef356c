#pragma once

#include "app/Ui.h"

#include <QList>
#include <QStringList>
#include <deque>

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

    Answer showMessage(const QString &text, const QString &caption, Icon icon,
                       Buttons buttons) override;
    void openUrl(const QUrl &url) override { opened << url; }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override;
    QString chooseSaveFile(const QString &, const QString &, const QString &) override;

    // Queued answers to questions; with none queued a question is answered No.
    void answer(Answer a) { m_answers.push_back(a); }
    void answerFile(const QString &path) { m_files.push_back(path); }

    QStringList texts() const;
    const Shown &last() const { return shown.back(); }

    QList<Shown> shown;
    QList<QUrl> opened;

private:
    std::deque<Answer> m_answers;
    std::deque<QString> m_files;
};
