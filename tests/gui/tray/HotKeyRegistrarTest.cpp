#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QMenu>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "harness/Process.h"
#include "harness/SessionSettings.h"
#include "harness/XSession.h"
#include "platform/x11/X11HotKeyRegistrar.h"

using namespace tovrimo;
using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

// Runs xdotool with the given arguments while the event loop keeps running, so the grabbed
// presses reach the registrar as they happen.
bool Xdotool(const std::vector<std::string>& args)
{
    Process::Options options;
    options.args = args;
    Process tool("xdotool", options);
    if (!tool.start()) return false;
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (auto code = tool.wait(10ms)) return *code == 0;
    }
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s)
{
    return WaitFor(
        [&] {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            return condition();
        },
        timeout);
}

// Lets the pending events of a finished key sequence through.
void Settle()
{
    PumpUntil([] { return false; }, 300ms);
}

// A second X client on the same server, standing in for another program.
class OtherClient {
public:
    OtherClient()
    {
        int screenNumber = 0;
        connection_ = xcb_connect(nullptr, &screenNumber);
        auto it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
        for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&it);
        root_ = it.data->root;
    }
    ~OtherClient() { xcb_disconnect(connection_); }
    bool ok() const { return xcb_connection_has_error(connection_) == 0; }

    // Grabs the key with exactly the modifiers given; true when the server granted it.
    bool grab(xcb_keycode_t keycode, uint16_t modifiers)
    {
        xcb_generic_error_t* error = xcb_request_check(
            connection_, xcb_grab_key_checked(connection_, 0, root_, modifiers, keycode,
                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }
    void ungrab(xcb_keycode_t keycode, uint16_t modifiers)
    {
        xcb_ungrab_key(connection_, keycode, root_, modifiers);
        xcb_flush(connection_);
    }

    // Whether some client holds the keyboard actively: then this one cannot grab it.
    bool keyboardHeldElsewhere()
    {
        xcb_grab_keyboard_reply_t* reply =
            xcb_grab_keyboard_reply(connection_,
                                    xcb_grab_keyboard(connection_, 0, root_, XCB_CURRENT_TIME,
                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                    nullptr);
        const bool held = reply && reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
        if (reply && reply->status == XCB_GRAB_STATUS_SUCCESS) {
            xcb_ungrab_keyboard(connection_, XCB_CURRENT_TIME);
            xcb_flush(connection_);
        }
        std::free(reply);
        return held;
    }

    xcb_keycode_t keycodeOf(char lowerCaseLetter)
    {
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
            connection_, xcb_get_keyboard_mapping(connection_, setup->min_keycode, count), nullptr);
        xcb_keycode_t found = 0;
        if (reply) {
            const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
            for (int i = 0; i < count && !found; ++i) {
                for (int j = 0; j < reply->keysyms_per_keycode; ++j) {
                    if (syms[i * reply->keysyms_per_keycode + j] ==
                        static_cast<xcb_keysym_t>(lowerCaseLetter)) {
                        found = static_cast<xcb_keycode_t>(setup->min_keycode + i);
                        break;
                    }
                }
            }
            std::free(reply);
        }
        return found;
    }

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
};

constexpr uint16_t kCtrlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
// No lock, CapsLock, NumLock (Mod2 on the test server's keyboard), both.
constexpr uint16_t kLockStates[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                    XCB_MOD_MASK_2 | XCB_MOD_MASK_LOCK};

struct PressLog {
    explicit PressLog(X11HotKeyRegistrar& registrar)
    {
        QObject::connect(&registrar, &HotKeyRegistrar::pressed,
                         [this](int slot) { pressed.push_back(slot); });
    }
    int count(int slot) const
    {
        return static_cast<int>(std::count(pressed.begin(), pressed.end(), slot));
    }
    std::vector<int> pressed;
};

}  // namespace

TEST(X11HotKeyRegistrar, CtrlAltPFiresItsSlot)
{
    X11HotKeyRegistrar registrar;
    PressLog log(registrar);
    ASSERT_TRUE(registrar.registerHotKey(0, Qt::AltModifier | Qt::ControlModifier | Qt::Key_P));
    EXPECT_NE(registrar.identifier(0), 0u);
    ASSERT_TRUE(Xdotool({"key", "ctrl+alt+p"}));
    ASSERT_TRUE(PumpUntil([&] { return log.count(0) == 1; }));
    // The key alone, or with other modifiers, is not the combination.
    ASSERT_TRUE(Xdotool({"key", "ctrl+p", "alt+p", "ctrl+alt+shift+p"}));
    Settle();
    EXPECT_EQ(log.pressed, (std::vector<int>{0}));
}

TEST(X11HotKeyRegistrar, SlotsHaveDistinctIdentifiers)
{
    X11HotKeyRegistrar registrar;
    ASSERT_TRUE(registrar.registerHotKey(3, Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_P));
    ASSERT_TRUE(registrar.registerHotKey(4, Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Q));
    EXPECT_NE(registrar.identifier(3), 0u);
    EXPECT_NE(registrar.identifier(3), registrar.identifier(4));
    registrar.unregisterHotKey(3);
    EXPECT_EQ(registrar.identifier(3), 0u);
    EXPECT_NE(registrar.identifier(4), 0u);
}

TEST(X11HotKeyRegistrar, FiresWhateverTheLockKeys)
{
    const std::vector<std::vector<std::string>> lockStates = {
        {"Num_Lock"}, {"Caps_Lock"}, {"Num_Lock", "Caps_Lock"}};
    for (const auto& locks : lockStates) {
        const std::string name = locks.size() == 2 ? "both" : locks.front();
        X11HotKeyRegistrar registrar;
        PressLog log(registrar);
        ASSERT_TRUE(registrar.registerHotKey(1, Qt::AltModifier | Qt::ControlModifier | Qt::Key_P))
            << name;
        std::vector<std::string> on{"key"};
        on.insert(on.end(), locks.begin(), locks.end());
        ASSERT_TRUE(Xdotool(on)) << name;
        const bool pressed = Xdotool({"key", "ctrl+alt+p"});
        ASSERT_TRUE(Xdotool(on)) << name;  // toggles the locks off again
        ASSERT_TRUE(pressed) << name;
        EXPECT_TRUE(PumpUntil([&] { return log.count(1) == 1; })) << name;
    }
}

TEST(X11HotKeyRegistrar, FunctionKeyWithoutModifiers)
{
    X11HotKeyRegistrar registrar;
    PressLog log(registrar);
    ASSERT_TRUE(registrar.registerHotKey(9, QKeyCombination(Qt::Key_F5)));
    ASSERT_TRUE(Xdotool({"key", "F5"}));
    EXPECT_TRUE(PumpUntil([&] { return log.count(9) == 1; }));
}

TEST(X11HotKeyRegistrar, FiresWhileOneOfOurWindowsHasTheFocus)
{
    X11HotKeyRegistrar registrar;
    PressLog log(registrar);
    ASSERT_TRUE(registrar.registerHotKey(2, Qt::AltModifier | Qt::ControlModifier | Qt::Key_P));
    QWidget window;
    window.setWindowTitle(QStringLiteral("hot key focus test"));
    window.resize(200, 100);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(PumpUntil([&] { return window.isActiveWindow(); }));
    ASSERT_TRUE(Xdotool({"key", "ctrl+alt+p"}));
    EXPECT_TRUE(PumpUntil([&] { return log.count(2) == 1; }));
}

TEST(X11HotKeyRegistrar, UnregisteredCombinationNoLongerFires)
{
    X11HotKeyRegistrar registrar;
    PressLog log(registrar);
    ASSERT_TRUE(registrar.registerHotKey(0, Qt::AltModifier | Qt::ControlModifier | Qt::Key_P));
    ASSERT_TRUE(registrar.registerHotKey(6, Qt::AltModifier | Qt::ControlModifier | Qt::Key_Q));
    registrar.unregisterHotKey(0);
    // Q, pressed after P, proves the presses went through before we look for P.
    ASSERT_TRUE(Xdotool({"key", "ctrl+alt+p", "ctrl+alt+q"}));
    ASSERT_TRUE(PumpUntil([&] { return log.count(6) == 1; }));
    Settle();
    EXPECT_EQ(log.count(0), 0);
    // Released for every lock state: another client can take them all now.
    OtherClient other;
    ASSERT_TRUE(other.ok());
    const xcb_keycode_t p = other.keycodeOf('p');
    ASSERT_NE(p, 0);
    for (uint16_t lock : kLockStates) {
        EXPECT_TRUE(other.grab(p, static_cast<uint16_t>(kCtrlAlt | lock))) << lock;
    }
}

TEST(X11HotKeyRegistrar, CombinationHeldByAnotherProgramIsRefused)
{
    OtherClient other;
    ASSERT_TRUE(other.ok());
    const xcb_keycode_t k = other.keycodeOf('k');
    ASSERT_NE(k, 0);
    ASSERT_TRUE(other.grab(k, kCtrlAlt));

    X11HotKeyRegistrar registrar;
    PressLog log(registrar);
    EXPECT_FALSE(registrar.registerHotKey(4, Qt::AltModifier | Qt::ControlModifier | Qt::Key_K));
    EXPECT_EQ(registrar.identifier(4), 0u);
    // Still usable for other combinations afterwards.
    EXPECT_TRUE(registrar.registerHotKey(5, Qt::AltModifier | Qt::ControlModifier | Qt::Key_Q));
    ASSERT_TRUE(Xdotool({"key", "ctrl+alt+k", "ctrl+alt+q"}));
    ASSERT_TRUE(PumpUntil([&] { return log.count(5) == 1; }));
    EXPECT_EQ(log.count(4), 0);
}

TEST(X11HotKeyRegistrar, PartlyTakenCombinationLeavesNothingGrabbed)
{
    // The other program holds only the NumLock state: our plain grab succeeds, the NumLock one
    // fails, and the successful ones must be given back.
    OtherClient other;
    ASSERT_TRUE(other.ok());
    const xcb_keycode_t k = other.keycodeOf('k');
    ASSERT_NE(k, 0);
    const auto numLocked = static_cast<uint16_t>(kCtrlAlt | XCB_MOD_MASK_2);
    ASSERT_TRUE(other.grab(k, numLocked));

    X11HotKeyRegistrar registrar;
    EXPECT_FALSE(registrar.registerHotKey(4, Qt::AltModifier | Qt::ControlModifier | Qt::Key_K));
    other.ungrab(k, numLocked);

    OtherClient third;
    ASSERT_TRUE(third.ok());
    for (uint16_t lock : kLockStates) {
        EXPECT_TRUE(third.grab(k, static_cast<uint16_t>(kCtrlAlt | lock))) << lock;
    }
}

TEST(X11HotKeyRegistrar, SameCombinationForTwoSlotsIsRefusedForTheSecond)
{
    X11HotKeyRegistrar registrar;
    PressLog log(registrar);
    ASSERT_TRUE(registrar.registerHotKey(0, Qt::AltModifier | Qt::ControlModifier | Qt::Key_P));
    EXPECT_FALSE(registrar.registerHotKey(8, Qt::AltModifier | Qt::ControlModifier | Qt::Key_P));
    ASSERT_TRUE(Xdotool({"key", "ctrl+alt+p"}));
    ASSERT_TRUE(PumpUntil([&] { return log.count(0) == 1; }));
    Settle();
    EXPECT_EQ(log.pressed, (std::vector<int>{0}));
}

TEST(X11HotKeyRegistrar, KeysTheOptionsDoNotOfferAreRefused)
{
    X11HotKeyRegistrar registrar;
    for (Qt::Key key : {Qt::Key_unknown, Qt::Key_Clear, Qt::Key_Escape, Qt::Key_F13}) {
        EXPECT_FALSE(registrar.registerHotKey(0, Qt::AltModifier | key)) << key;
    }
    EXPECT_FALSE(registrar.registerHotKey(10, Qt::AltModifier | Qt::Key_P));
    EXPECT_FALSE(registrar.registerHotKey(-1, Qt::AltModifier | Qt::Key_P));
}

TEST(X11HotKeyRegistrar, DestructionGivesTheKeysBack)
{
    {
        X11HotKeyRegistrar registrar;
        ASSERT_TRUE(registrar.registerHotKey(0, Qt::AltModifier | Qt::ControlModifier | Qt::Key_P));
    }
    OtherClient other;
    ASSERT_TRUE(other.ok());
    EXPECT_TRUE(other.grab(other.keycodeOf('p'), kCtrlAlt));
}

TEST(X11HotKeyRegistrar, FiresOnceWhileOneOfOurPopupsHoldsTheKeyboard)
{
    // A popup takes the whole keyboard, so the grab on the root cannot fire: the press comes to
    // the popup's window instead.
    struct Case {
        const char* name;
        std::function<QWidget*(QWidget& owner)> open;
    };
    const Case cases[] = {
        {"a popup menu",
         [](QWidget& owner) -> QWidget* {
             auto* menu = new QMenu(&owner);
             // A mnemonic on the hot key's letter: the press must not choose it.
             QObject::connect(menu->addAction(QStringLiteral("&Print")), &QAction::triggered,
                              [] { ADD_FAILURE() << "the menu item took the hot key"; });
             menu->addAction(QStringLiteral("Other"));
             menu->popup(owner.geometry().center());
             return menu;
         }},
        {"a combo box's list",
         [](QWidget& owner) -> QWidget* {
             auto* combo = new QComboBox(&owner);
             combo->addItems(
                 {QStringLiteral("Apple"), QStringLiteral("Pear"), QStringLiteral("Plum")});
             combo->setGeometry(10, 10, 150, 30);
             combo->show();
             combo->showPopup();
             return combo->view()->window();
         }},
    };
    for (const Case& c : cases) {
        X11HotKeyRegistrar registrar;
        PressLog log(registrar);
        ASSERT_TRUE(registrar.registerHotKey(0, Qt::AltModifier | Qt::ControlModifier | Qt::Key_P));
        QWidget owner;
        owner.setWindowTitle(QStringLiteral("hot key popup test"));
        owner.setGeometry(200, 200, 300, 200);
        owner.show();
        owner.activateWindow();
        ASSERT_TRUE(PumpUntil([&] { return owner.isActiveWindow(); })) << c.name;
        QWidget* popup = c.open(owner);
        OtherClient other;
        ASSERT_TRUE(PumpUntil([&] {
            return popup->isVisible() && QApplication::activePopupWidget() == popup &&
                   other.keyboardHeldElsewhere();
        })) << c.name
            << ": the popup did not take the keyboard";

        ASSERT_TRUE(Xdotool({"key", "ctrl+alt+p"})) << c.name;
        EXPECT_TRUE(PumpUntil([&] { return log.count(0) == 1; })) << c.name;
        Settle();
        EXPECT_EQ(log.pressed, (std::vector<int>{0})) << c.name << ": one press, one command";
        // (A menu may close on the Alt of the combination, as menus do; the P is ours.)
        popup->close();
        Settle();
    }
}

TEST(X11HotKeyRegistrar, KeysAreGrabbedAgainAfterTheKeyboardLayoutChanges)
{
    // German keyboards swap Y and Z: the letter Z moves to another key code.
    X11HotKeyRegistrar registrar;
    PressLog log(registrar);
    ASSERT_TRUE(registrar.registerHotKey(3, Qt::AltModifier | Qt::ControlModifier | Qt::Key_Z));
    OtherClient other;
    ASSERT_TRUE(other.ok());
    const xcb_keycode_t usZ = other.keycodeOf('z');
    ASSERT_NE(usZ, 0);
    {
        KeyboardLayout german("de");
        ASSERT_TRUE(german.ok()) << "setxkbmap de failed";
        OtherClient afterChange;
        const xcb_keycode_t deZ = afterChange.keycodeOf('z');
        ASSERT_NE(deZ, 0);
        ASSERT_NE(deZ, usZ) << "the layout did not move the key";
        Settle();  // the mapping notifications reach the registrar

        ASSERT_TRUE(Xdotool({"key", "ctrl+alt+z"}));
        EXPECT_TRUE(PumpUntil([&] { return log.count(3) == 1; }))
            << "the hot key went dead on the new layout";
        // The key that was Z is Y now: it is no hot key any more, and it is free for others.
        ASSERT_TRUE(Xdotool({"key", "ctrl+alt+y"}));
        Settle();
        EXPECT_EQ(log.count(3), 1) << "the old key code still fires";
        EXPECT_TRUE(afterChange.grab(usZ, kCtrlAlt)) << "the old key code is still grabbed";
        afterChange.ungrab(usZ, kCtrlAlt);
    }
    Settle();  // back to the first layout
    ASSERT_TRUE(Xdotool({"key", "ctrl+alt+z"}));
    EXPECT_TRUE(PumpUntil([&] { return log.count(3) == 2; }));
}
