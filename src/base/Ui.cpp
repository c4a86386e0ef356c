#include "base/Ui.h"

bool Ui::alert(const QString &text, const QString &caption, bool ask)
{
    if (caption.isEmpty())
        return false;
    const Answer answer =
        showMessage(text, caption, Icon::Information, ask ? Buttons::YesNo : Buttons::Ok);
    return ask && answer == Answer::Yes;
}

bool Ui::ask(const QString &text, const QString &caption)
{
    return showMessage(text, caption, Icon::Question, Buttons::YesNo) == Answer::Yes;
}

void Ui::warn(const QString &text, const QString &caption)
{
    showMessage(text, caption, Icon::Warning, Buttons::Ok);
}

void Ui::error(const QString &text, const QString &caption)
{
    showMessage(text, caption, Icon::Critical, Buttons::Ok);
}
