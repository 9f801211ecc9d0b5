#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWindow>

#include "gui/SourcesRig.h"
#include "harness/ClipboardTool.h"
#include "harness/TestSession.h"
#include "resident/StickyNoteWindow.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

StickyNoteWindow* Note(SourcesRig& rig, int slot)
{
    return dynamic_cast<StickyNoteWindow*>(rig.notes.note(slot));
}

int OpenNoteWindows()
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<StickyNoteWindow*>(w) && w->isVisible()) ++n;
    return n;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, strlen(name), name), nullptr);
    xcb_atom_t atom = XCB_ATOM_NONE;
    if (reply) atom = reply->atom;
    free(reply);
    return atom;
}

// Whether _NET_WM_STATE of the window holds _NET_WM_STATE_ABOVE, read from the X server.
bool StateAbove(xcb_window_t window)
{
    xcb_connection_t* c = TestSession::current().x().connection();
    const xcb_atom_t state = Atom(c, "_NET_WM_STATE");
    const xcb_atom_t above = Atom(c, "_NET_WM_STATE_ABOVE");
    auto* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, state, XCB_ATOM_ATOM, 0, 64), nullptr);
    bool found = false;
    if (reply) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int n = xcb_get_property_value_length(reply) / sizeof(xcb_atom_t);
        for (int i = 0; i < n; ++i) found = found || atoms[i] == above;
        free(reply);
    }
    return found;
}

void Release(QWidget* widget, Qt::MouseButton button, QPoint at = {2, 2})
{
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), widget->mapToGlobal(QPointF(at)),
                        button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

}  // namespace

TEST(StickyNotesGui, SixteenNotesThenTheSeventeenthShowsTheLimitMessage)
{
    SourcesRig rig;
    ClipboardTool other;
    ASSERT_TRUE(other.offerImage(Pattern(40, 30)));
    for (int i = 0; i < 16; ++i) rig.notes.noteFromClipboard();
    EXPECT_EQ(rig.notes.noteCount(), 16);
    EXPECT_EQ(OpenNoteWindows(), 16);
    EXPECT_TRUE(rig.boxes.shown.empty());
    rig.notes.noteFromClipboard();
    EXPECT_EQ(rig.notes.noteCount(), 16);
    EXPECT_EQ(OpenNoteWindows(), 16);
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.boxes.shown[0].caption, "トヴリモ");
    EXPECT_EQ(rig.boxes.shown[0].text,
              "付せんの数が上限(16枚)を超えているので新たに生成できません。");
    EXPECT_EQ(rig.engine.lastOperation(),
              (LastOperation{ActionCode::StickyNote, SourceCode::None}));

    rig.notes.removeAllNotes();
    FlushDeferredDeletes();
    EXPECT_EQ(OpenNoteWindows(), 0);
    rig.notes.noteFromClipboard();
    ASSERT_NE(Note(rig, 1), nullptr) << "after removing all, the next note is number 1";
    EXPECT_EQ(Note(rig, 1)->slotText(), "1");
}

TEST(StickyNotesGui, ANoteIsItsPictureAndLiesOnTheScreen)
{
    SourcesRig rig;
    rig.options.reverseColours = true;
    ClipboardTool other;
    ASSERT_TRUE(other.offerImage(Pattern(90, 50)));
    rig.notes.noteFromClipboard();
    StickyNoteWindow* note = Note(rig, 1);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->size(), QSize(90, 50));
    EXPECT_TRUE(note->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(note->pictureLabel()->geometry(), QRect(0, 0, 90, 50));
    EXPECT_EQ(note->grab().toImage().convertToFormat(QImage::Format_RGB32), Pattern(90, 50))
        << "the clipboard's colours, not inverted";
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(note->frameGeometry())) << note->frameGeometry().x();

    // Printing it prints those colours too.
    ASSERT_TRUE(ProcessEventsUntil([&] { return note->windowHandle()->isExposed(); }));
    note->findChild<QAction*>("printItem")->trigger();
    ASSERT_EQ(rig.printers.jobs.size(), 1u);
    EXPECT_EQ(rig.buffer.image, Pattern(90, 50));
}

TEST(StickyNotesGui, TheRightButtonOpensTheNoteMenu)
{
    SourcesRig rig;
    ClipboardTool other;
    ASSERT_TRUE(other.offerImage(Pattern(60, 40)));
    rig.notes.noteFromClipboard();
    StickyNoteWindow* note = Note(rig, 1);
    ASSERT_NE(note, nullptr);
    ASSERT_TRUE(ProcessEventsUntil([&] { return note->windowHandle()->isExposed(); }));
    Release(note->pictureLabel(), Qt::RightButton);
    QMenu* menu = note->menu();
    ASSERT_TRUE(ProcessEventsUntil([&] { return menu->isVisible(); }));
    QStringList captions;
    for (QAction* a : menu->actions()) captions << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(captions, (QStringList{"ハードコピー", "コピー", "名前を付けて保存", "-",
                                     "常に手前に表示する", "-", "はがす"}));
    EXPECT_EQ(menu->title(), "付せんメニュー");
    // "はがす" peels the note off and frees its slot.
    menu->findChild<QAction*>("closeItem")->trigger();
    menu->close();
    EXPECT_EQ(rig.notes.noteCount(), 0);
    FlushDeferredDeletes();
    EXPECT_EQ(OpenNoteWindows(), 0);
}

TEST(StickyNotesGui, ANoteSavedAsBitmapReadsBackIdentical)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("kept-note").toStdString();
    SourcesRig rig;
    ClipboardTool other;
    ASSERT_TRUE(other.offerImage(Pattern(77, 33)));
    rig.notes.noteFromClipboard();
    FakeFileDialog answers;
    answers.answers.push_back(path);
    rig.fileDialog.fake = &answers;
    Note(rig, 1)->findChild<QAction*>("saveItem")->trigger();
    ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(path))) << "no extension added";
    QImage back;
    ASSERT_TRUE(back.load(QString::fromStdString(path), "BMP"));
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), Pattern(77, 33));
    EXPECT_EQ(rig.lastFolder, path);
    ASSERT_EQ(answers.requests.size(), 1u);
    EXPECT_EQ(answers.requests[0].parent, Note(rig, 1));
}

TEST(StickyNotesGui, TogglingOnTopTwiceLeavesNormalStacking)
{
    SourcesRig rig;
    ClipboardTool other;
    ASSERT_TRUE(other.offerImage(Pattern(50, 50)));
    rig.notes.noteFromClipboard();
    StickyNoteWindow* note = Note(rig, 1);
    ASSERT_NE(note, nullptr);
    ASSERT_TRUE(ProcessEventsUntil([&] { return note->windowHandle()->isExposed(); }));
    ProcessEventsFor(std::chrono::milliseconds(200));
    const QPoint position = note->pos();
    const auto window = static_cast<xcb_window_t>(note->winId());
    QAction* item = note->findChild<QAction*>("alwaysOnTopItem");
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(StateAbove(window));

    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(note->topmost());
    EXPECT_TRUE(ProcessEventsUntil([&] { return StateAbove(window); }, std::chrono::seconds(5)));

    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(note->topmost());
    EXPECT_TRUE(ProcessEventsUntil([&] { return !StateAbove(window); }, std::chrono::seconds(5)));
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->pos(), position);
}

TEST(StickyNotesGui, CopyPutsTheNoteOnTheClipboard)
{
    SourcesRig rig;
    {
        ClipboardTool other;
        ASSERT_TRUE(other.offerImage(Pattern(20, 10)));
        rig.notes.noteFromClipboard();
    }
    UserClickOnOurWindow();
    Note(rig, 1)->findChild<QAction*>("copyItem")->trigger();
    const QImage pasted = PasteImage();
    ASSERT_FALSE(pasted.isNull());
    EXPECT_EQ(pasted.convertToFormat(QImage::Format_RGB32), Pattern(20, 10));
}
