#pragma once

#include "NextModal.h"
#include "RecordingPrintDevice.h"
#include "ScriptedUi.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// Presses every command of a window as a user does and checks that something the user sees
// happened: a window, a message, or the state the command names. Header only: window tests.
namespace sweep {

// What a command shows. Exactly one of the kinds is expected per command.
struct Effect
{
    enum class Kind {
        Modal,   // a modal window of `window` class is shown (answered and closed here)
        Window,  // a window of `window` class is shown without a loop of its own
        Message, // a message or question through the Ui seam, its text containing `text`
        Url,     // a web page through the Ui seam
        Prompt,  // a value prompt through the Ui seam
        File,    // a file chooser through the Ui seam
        State,   // `check` answers true afterwards
        Popup,   // the menu named `window` pops up (and is closed here)
        Disabled,
        Hidden,
    };
    Kind kind = Kind::State;
    const char *window = nullptr;
    QString text;
    std::function<bool()> check;
};

inline Effect effectOf(Effect::Kind kind, const char *window = nullptr, const QString &text = {},
                       std::function<bool()> check = {})
{
    return {kind, window, text, std::move(check)};
}
inline Effect modal(const char *className)
{
    return effectOf(Effect::Kind::Modal, className);
}
inline Effect window(const char *className)
{
    return effectOf(Effect::Kind::Window, className);
}
inline Effect message(const QString &text = {})
{
    return effectOf(Effect::Kind::Message, nullptr, text);
}
inline Effect url()
{
    return effectOf(Effect::Kind::Url);
}
inline Effect prompt()
{
    return effectOf(Effect::Kind::Prompt);
}
inline Effect file()
{
    return effectOf(Effect::Kind::File);
}
inline Effect state(std::function<bool()> check)
{
    return effectOf(Effect::Kind::State, nullptr, {}, std::move(check));
}
inline Effect popup(const char *menuName)
{
    return effectOf(Effect::Kind::Popup, menuName);
}
inline Effect disabled()
{
    return effectOf(Effect::Kind::Disabled);
}
inline Effect hidden()
{
    return effectOf(Effect::Kind::Hidden);
}

// A shown window that the platform has mapped.
inline bool mapped(QWidget *w)
{
    return w && w->isVisible() && w->windowHandle() &&
           QTest::qWaitForWindowExposed(w->windowHandle(), 10000);
}

inline QWidget *shownWindowOf(const char *className)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits(className))
            return w;
    return nullptr;
}

// Runs `press`; a command that does not come back (a loop nobody sees) fails and its loops
// are ended, so the sweep goes on.
inline void pressGuarded(const std::function<void()> &press, const std::string &name)
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        ADD_FAILURE() << name << ": the command did not come back";
        QCoreApplication::exit(1);
    });
    guard.start(4 * NextModal::kGuardMs);
    press();
}

// Presses a command and checks its effect. `what` names it in failures.
inline void expectEffect(const std::string &what, ScriptedUi &ui, const Effect &effect,
                         const std::function<void()> &press)
{
    SCOPED_TRACE(what);
    const qsizetype shown = ui.shown.size(), opened = ui.opened.size(),
                    prompted = ui.prompted.size(), chosen = ui.chosen.size();
    QString seen;
    std::optional<NextModal> answer;
    if (effect.kind == Effect::Kind::Modal)
        answer.emplace(
            [&](QWidget *w) {
                seen = QString::fromLatin1(w->metaObject()->className());
                EXPECT_TRUE(mapped(w)) << "modal window not mapped";
            },
            std::source_location::current());
    QTimer popupWatch;
    if (effect.kind == Effect::Kind::Popup) {
        popupWatch.setInterval(10);
        QObject::connect(&popupWatch, &QTimer::timeout, [&] {
            if (QWidget *menu = QApplication::activePopupWidget()) {
                popupWatch.stop();
                seen = menu->objectName();
                EXPECT_TRUE(mapped(menu)) << "menu not mapped";
                menu->close();
            }
        });
        popupWatch.start();
    }
    pressGuarded(press, what);
    switch (effect.kind) {
    case Effect::Kind::Modal:
        EXPECT_TRUE(answer->answered()) << "no modal window";
        answer.reset();
        EXPECT_EQ(seen, QString::fromLatin1(effect.window));
        break;
    case Effect::Kind::Window: {
        QWidget *w = shownWindowOf(effect.window);
        EXPECT_TRUE(mapped(w)) << "no shown window " << effect.window;
        if (w)
            closeModal(w);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        break;
    }
    case Effect::Kind::Message:
        EXPECT_GT(ui.shown.size(), shown) << "no message";
        if (ui.shown.size() > shown && !effect.text.isEmpty()) {
            EXPECT_TRUE(ui.shown[shown].text.contains(effect.text))
                << ui.shown[shown].text.toStdString();
        }
        break;
    case Effect::Kind::Url:
        EXPECT_GT(ui.opened.size(), opened) << "no web page";
        break;
    case Effect::Kind::Prompt:
        EXPECT_GT(ui.prompted.size(), prompted) << "no value prompt";
        break;
    case Effect::Kind::File:
        EXPECT_GT(ui.chosen.size(), chosen) << "no file chooser";
        break;
    case Effect::Kind::State:
        EXPECT_TRUE(effect.check()) << "the state did not change";
        break;
    case Effect::Kind::Popup:
        EXPECT_EQ(seen, QString::fromLatin1(effect.window)) << "no menu popped up";
        break;
    case Effect::Kind::Disabled:
    case Effect::Kind::Hidden:
        break;
    }
    if (effect.kind != Effect::Kind::Message && ui.shown.size() > shown)
        ADD_FAILURE() << "unexpected message: " << ui.shown.back().text.toStdString();
    // Nothing left waiting: no modal window, no loop still running.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(QThread::currentThread()->loopLevel(), 0);
}

// Every action of a menu and its submenus that a user can reach, by object name.
inline void collectActions(QMenu *menu, QList<QAction *> &into)
{
    for (QAction *a : menu->actions()) {
        if (a->isSeparator())
            continue;
        if (a->menu())
            collectActions(a->menu(), into);
        else
            into << a;
    }
}

// The main frame shown on `home`, printing to a recording device that `device` names, with the
// clock stopped: its login and service check are other tests' business.
inline std::unique_ptr<Tfm_Main> shownFrame(TestHome &home, RecordingPrintDevice *&device)
{
    auto recording = std::make_unique<RecordingPrintDevice>();
    device = recording.get();
    home.services().printEngine().setDevice(std::move(recording));
    auto frame = std::make_unique<Tfm_Main>(home.services());
    frame->findChild<QTimer *>("TimerSystem")->stop();
    frame->resize(1200, 760);
    frame->show();
    EXPECT_TRUE(mapped(frame.get()));
    return frame;
}

} // namespace sweep
