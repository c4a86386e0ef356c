#pragma once

#include "NextModal.h"
#include "RecordingPrintDevice.h"
#include "ScriptedUi.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <set>
#include <vector>

// Presses every command of a window as a user does and checks that something the user sees
// happened: a window, a message, or the state the command names. Header only: window tests.
namespace sweep {

// What a command shows. Exactly one of the kinds is expected per command.
struct Effect
{
    enum class Kind {
        Modal,   // a modal window of `window` class, titled `text` and `check` true while
                 // it is up when given, is shown (answered and closed here)
        Window,  // a window of `window` class is shown without a loop of its own
        Message, // a message or question through the Ui seam, its text containing `text`,
                 // and `check` true afterwards when given
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
inline Effect modal(const char *className, const QString &title = {},
                    std::function<bool()> check = {})
{
    return effectOf(Effect::Kind::Modal, className, title, std::move(check));
}
inline Effect window(const char *className)
{
    return effectOf(Effect::Kind::Window, className);
}
inline Effect message(const QString &text = {}, std::function<bool()> check = {})
{
    return effectOf(Effect::Kind::Message, nullptr, text, std::move(check));
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
    QWidget *const modalBefore = QApplication::activeModalWidget();
    const int loopsBefore = QThread::currentThread()->loopLevel();
    const qsizetype shown = ui.shown.size(), opened = ui.opened.size(),
                    prompted = ui.prompted.size(), chosen = ui.chosen.size();
    QString seen;
    std::optional<NextModal> answer;
    if (effect.kind == Effect::Kind::Modal)
        answer.emplace(
            [&](QWidget *w) {
                seen = QString::fromLatin1(w->metaObject()->className());
                EXPECT_TRUE(mapped(w)) << "modal window not mapped";
                if (!effect.text.isEmpty()) {
                    EXPECT_EQ(w->windowTitle(), effect.text);
                }
                if (effect.check) {
                    EXPECT_TRUE(effect.check()) << "the window does not show what it names";
                }
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
    if (effect.kind == Effect::Kind::Popup) {
        // A menu opened with popup() shows once the event loop runs.
        const bool seenOne =
            QTest::qWaitFor([&] { return !popupWatch.isActive(); }, NextModal::kGuardMs);
        EXPECT_TRUE(seenOne) << "no menu popped up";
    }
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
    case Effect::Kind::Message: {
        // Checked first: it may wait for work that ends with the message.
        const bool changed = !effect.check || effect.check();
        EXPECT_GT(ui.shown.size(), shown) << "no message";
        if (ui.shown.size() > shown && !effect.text.isEmpty()) {
            EXPECT_TRUE(ui.shown[shown].text.contains(effect.text))
                << ui.shown[shown].text.toStdString();
        }
        EXPECT_TRUE(changed) << "the state did not change";
        break;
    }
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
    // Nothing left waiting: no modal window and no loop the command opened.
    QWidget *const modalAfter = QApplication::activeModalWidget();
    EXPECT_TRUE(!modalAfter || modalAfter == modalBefore)
        << "left open: " << modalAfter->metaObject()->className();
    EXPECT_EQ(QThread::currentThread()->loopLevel(), loopsBefore);
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

// One control of a window by object name: a button, clicked; an action, chosen in the menu
// that `menu` pops up (by a right click where the user makes one); or, for a pop-up effect, the
// widget the user right-clicks. `before` readies what the control works on.
struct Row
{
    const char *name;
    Effect effect;
    std::function<void()> before = {};
    std::function<void()> menu = {};
};

// A right click at the middle of `w` (of its viewport for a list), as the window system hands
// it to the widget.
inline void rightClick(QWidget *w)
{
    if (auto *area = qobject_cast<QAbstractScrollArea *>(w))
        w = area->viewport();
    const QPoint at = w->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, w->mapToGlobal(at));
    QApplication::sendEvent(w, &event);
}

// What a row names a control by: its object name, or its caption without the shortcut mark
// for a control the window left unnamed.
inline QString nameOf(const QObject *control, const QString &caption)
{
    if (!control->objectName().isEmpty())
        return control->objectName();
    return QString(caption).remove(u'&');
}

// Opens a menu with `open` and clicks its item `name` once the menu is up, whether the menu
// runs a loop of its own or not. False when no such item was shown.
inline bool chooseFromMenu(const std::function<void()> &open, const QString &name)
{
    bool chosen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        poll.stop();
        for (QAction *a : menu->actions()) {
            if (nameOf(a, a->text()) == name && a->isVisible() && a->isEnabled()) {
                chosen = true;
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                return;
            }
        }
        menu->close();
    });
    poll.start();
    open();
    const bool closed =
        QTest::qWaitFor([&] { return !poll.isActive() && !QApplication::activePopupWidget(); },
                        NextModal::kGuardMs);
    return chosen && closed;
}

// The push button of `window` that `name` names.
inline QAbstractButton *buttonNamed(QWidget *window, const QString &name)
{
    if (auto *b = window->findChild<QAbstractButton *>(name))
        return b;
    for (QPushButton *b : window->findChildren<QPushButton *>())
        if (b->objectName().isEmpty() && nameOf(b, b->text()) == name)
            return b;
    return nullptr;
}

// The item of one of the menus of `window` that `name` names.
inline QAction *actionNamed(QWidget *window, const QString &name)
{
    for (QMenu *m : window->findChildren<QMenu *>()) {
        QList<QAction *> actions;
        collectActions(m, actions);
        for (QAction *a : actions)
            if (nameOf(a, a->text()) == name)
                return a;
    }
    return nullptr;
}

// The commands of `window`, its push and named tool buttons and the items of its menus, that
// have no row: a new command needs one.
inline QStringList rowless(QWidget *window, const std::vector<Row> &rows)
{
    std::set<QString> named;
    for (const Row &r : rows)
        named.insert(QString::fromUtf8(r.name));
    QStringList missing;
    auto need = [&](const QString &name) {
        if (!name.isEmpty() && !name.startsWith(u"qt_") && !named.count(name))
            missing << name;
    };
    for (QPushButton *b : window->findChildren<QPushButton *>())
        need(nameOf(b, b->text()));
    for (QToolButton *b : window->findChildren<QToolButton *>())
        if (!qobject_cast<QTabBar *>(b->parent())) // a tab bar's own scroll arrows
            need(b->objectName());
    for (QMenu *m : window->findChildren<QMenu *>()) {
        QList<QAction *> actions;
        collectActions(m, actions);
        for (QAction *a : actions)
            need(nameOf(a, a->text()));
    }
    return missing;
}

inline void expectARowForEveryCommand(QWidget *window, const std::vector<Row> &rows)
{
    ASSERT_TRUE(window) << "no window to sweep";
    const QStringList missing = rowless(window, rows);
    EXPECT_TRUE(missing.isEmpty())
        << "commands without a row: " << missing.join(u", ").toStdString();
}

// Presses every row's control in `window()`, asked again for each row, so that a window a
// command closed is opened again, and checks its effect.
inline void pressRows(const std::function<QWidget *()> &window, ScriptedUi &ui,
                      const std::vector<Row> &rows)
{
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QString name = QString::fromUtf8(row.name);
        QWidget *w = window();
        ASSERT_TRUE(w);
        if (row.before)
            row.before();
        QAbstractButton *button = buttonNamed(w, name);
        QAction *action = button ? nullptr : actionNamed(w, name);
        if (row.effect.kind == Effect::Kind::Hidden || row.effect.kind == Effect::Kind::Disabled) {
            ASSERT_TRUE(button || action);
            const bool shown = button ? button->isVisible() : action->isVisible();
            const bool enabled = button ? button->isEnabled() : action->isEnabled();
            EXPECT_FALSE(row.effect.kind == Effect::Kind::Hidden ? shown : enabled);
            continue;
        }
        if (row.menu) {
            expectEffect(row.name, ui, row.effect,
                         [&] { EXPECT_TRUE(chooseFromMenu(row.menu, name)) << "not in the menu"; });
            continue;
        }
        if (row.effect.kind == Effect::Kind::Popup) {
            auto *target = w->findChild<QWidget *>(name);
            ASSERT_TRUE(target && target->isVisible());
            expectEffect(row.name, ui, row.effect, [&] { rightClick(target); });
            continue;
        }
        ASSERT_TRUE(button);
        ASSERT_TRUE(button->isVisible() && button->isEnabled());
        expectEffect(row.name, ui, row.effect, [&] { QTest::mouseClick(button, Qt::LeftButton); });
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
