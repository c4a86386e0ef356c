#pragma once

#include <QString>
#include <QUrl>

// Every message box, question, file chooser and "open in browser" goes through here, so that
// tests can answer from a script instead of a dialog blocking the run.
class Ui
{
public:
    enum class Icon { Information, Warning, Critical, Question };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Ui() = default;

    virtual Answer showMessage(const QString &text, const QString &caption, Icon icon,
                               Buttons buttons) = 0;
    // Opens a web address or a document with the desktop's default program; never blocks.
    // False when no program could be started for it.
    virtual bool openUrl(const QUrl &url) = 0;
    // Empty when the user cancelled.
    virtual QString chooseOpenFile(const QString &caption, const QString &filter,
                                   const QString &directory = {}) = 0;
    virtual QString chooseSaveFile(const QString &caption, const QString &filter,
                                   const QString &suggestedPath = {}) = 0;
    // Asks for one value of a type ("integer", "float", anything else is text), showing the
    // default; empty when the user cancelled.
    virtual QString giveMeAnValue(const QString &prompt, const QString &defaultValue,
                                  const QString &valueType) = 0;

    // Message box with the information icon; with `ask` a Yes/No question answering true for
    // Yes. An empty caption shows nothing and answers false.
    bool alert(const QString &text, const QString &caption, bool ask = false);
    bool ask(const QString &text, const QString &caption);
    void warn(const QString &text, const QString &caption = QStringLiteral("警告"));
    void error(const QString &text, const QString &caption = QStringLiteral("错误"));
};
