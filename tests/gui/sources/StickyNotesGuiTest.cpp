#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QAction>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QWindow>
#include <cstdlib>

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
    EXPECT_EQ(rig.engine.lastCapture(),
              (CaptureRequest{CaptureSource::Clipboard, CaptureDestination::StickyNote}));

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
                                     "常に手前に表示する", "不透明度", "-", "はがす"}));
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

namespace {

void CtrlWheel(QWidget* widget, int angle, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    const QPointF at(3, 3);
    QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

void DoubleClick(QWidget* widget)
{
    const QPointF at(3, 3);
    QMouseEvent press(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

// _NET_WM_WINDOW_OPACITY of the window as the X server holds it; -1 when it is not set.
int64_t WindowOpacityProperty(xcb_window_t window)
{
    xcb_connection_t* c = TestSession::current().x().connection();
    const xcb_atom_t opacity = Atom(c, "_NET_WM_WINDOW_OPACITY");
    auto* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, opacity, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    int64_t value = -1;
    if (reply && xcb_get_property_value_length(reply) == 4)
        value = *static_cast<const uint32_t*>(xcb_get_property_value(reply));
    free(reply);
    return value;
}

QString NoteArtifactPath(const QString& file)
{
    QString dir = qEnvironmentVariable("TOVRIMO_ARTIFACTS");
    if (dir.isEmpty()) dir = QDir::currentPath() + QStringLiteral("/artifacts");
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + file;
}

}  // namespace

TEST(StickyNotesGui, ZoomAndOpacityChangeTheWindowButNotWhatIsPrintedOrCopied)
{
    SourcesRig rig;
    {
        ClipboardTool other;
        ASSERT_TRUE(other.offerImage(Pattern(80, 40)));
        rig.notes.noteFromClipboard();
    }
    StickyNoteWindow* note = Note(rig, 1);
    ASSERT_NE(note, nullptr);
    ASSERT_TRUE(ProcessEventsUntil([&] { return note->windowHandle()->isExposed(); }));
    QLabel* picture = note->pictureLabel();

    // Each notch with Ctrl is one zoom step; the window follows, the picture fills it.
    const struct {
        const char* name;
        int angle;
        Qt::KeyboardModifiers modifiers;
        int percent;
        QSize size;
    } steps[] = {
        {"one notch up", 120, Qt::ControlModifier, 125, {100, 50}},
        {"without Ctrl nothing", 120, Qt::NoModifier, 125, {100, 50}},
        {"half a notch: not yet", 60, Qt::ControlModifier, 125, {100, 50}},
        {"the other half", 60, Qt::ControlModifier, 150, {120, 60}},
        {"two notches up", 240, Qt::ControlModifier, 300, {240, 120}},
        {"far up stops at 400", 1200, Qt::ControlModifier, 400, {320, 160}},
        {"far down stops at 25", -2400, Qt::ControlModifier, 25, {20, 10}},
        {"back up", 360, Qt::ControlModifier, 100, {80, 40}},
        {"and to 200", 360, Qt::ControlModifier, 200, {160, 80}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        CtrlWheel(picture, s.angle, s.modifiers);
        EXPECT_EQ(note->zoomPercent(), s.percent);
        EXPECT_EQ(note->size(), s.size);
        EXPECT_EQ(picture->geometry(), QRect(QPoint(0, 0), s.size));
    }
    // At 200 % every pixel of the picture shows as a block of two by two.
    const QImage shown = note->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(160, 80));
    EXPECT_EQ(shown.pixel(10 * 2 + 1, 7 * 2 + 1), Pattern(80, 40).pixel(10, 7));

    // See-through: the menu's choice is the window's opacity, told to the window system.
    QMenu* opacity = note->opacityMenu();
    ASSERT_NE(opacity, nullptr);
    EXPECT_EQ(opacity->title(), "不透明度");
    QStringList captions;
    for (QAction* a : opacity->actions()) captions << a->text();
    EXPECT_EQ(captions, (QStringList{"100 %", "80 %", "60 %", "40 %"}));
    EXPECT_TRUE(note->findChild<QAction*>("opacity100Item")->isChecked());
    const auto window = static_cast<xcb_window_t>(note->winId());
    note->findChild<QAction*>("opacity60Item")->trigger();
    EXPECT_EQ(note->opacityPercent(), 60);
    EXPECT_DOUBLE_EQ(note->windowOpacity(), 0.6);
    EXPECT_TRUE(note->findChild<QAction*>("opacity60Item")->isChecked());
    EXPECT_FALSE(note->findChild<QAction*>("opacity100Item")->isChecked());
    // 0.6 of the full 32-bit value 4294967295 is 2576980377.
    EXPECT_TRUE(ProcessEventsUntil([&] {
        return std::abs(WindowOpacityProperty(window) - 2576980377LL) <= 1;
    })) << WindowOpacityProperty(window);

    // A picture of the zoomed, see-through note as a compositor would show it on a desktop of
    // stripes (Xvfb has no compositor to draw it).
    {
        QImage desktop(200, 120, QImage::Format_RGB32);
        for (int y = 0; y < desktop.height(); ++y)
            for (int x = 0; x < desktop.width(); ++x)
                desktop.setPixel(x, y, (x / 10) % 2 ? qRgb(250, 250, 250) : qRgb(30, 90, 200));
        QPainter painter(&desktop);
        painter.setOpacity(note->windowOpacity());
        painter.drawImage(20, 20, shown);
        painter.end();
        EXPECT_TRUE(desktop.save(NoteArtifactPath("sticky-note-200-percent-60-opacity.png")));
        EXPECT_TRUE(shown.save(NoteArtifactPath("sticky-note-200-percent.png")));
    }

    // Print and copy use the picture as it came, whatever the note shows.
    note->findChild<QAction*>("printItem")->trigger();
    ASSERT_EQ(rig.printers.jobs.size(), 1u);
    EXPECT_EQ(rig.buffer.image, Pattern(80, 40));
    UserClickOnOurWindow();
    note->findChild<QAction*>("copyItem")->trigger();
    const QImage pasted = PasteImage();
    ASSERT_FALSE(pasted.isNull());
    EXPECT_EQ(pasted.convertToFormat(QImage::Format_RGB32), Pattern(80, 40));

    // A double click brings it back to its own size; the opacity stays.
    DoubleClick(picture);
    EXPECT_EQ(note->zoomPercent(), 100);
    EXPECT_EQ(note->size(), QSize(80, 40));
    EXPECT_EQ(note->grab().toImage().convertToFormat(QImage::Format_RGB32), Pattern(80, 40));
    EXPECT_EQ(note->opacityPercent(), 60);
}

TEST(StickyNotesGui, ANoteSavedAsPngOrBitmapReadsBackAsItsPictureAtAnyZoom)
{
    const struct {
        const char* name;
        int chosenFilter;
        const char* fileName;
        QByteArray format;
        int zoomNotches;
    } cases[] = {
        {"bitmap", 1, "note-bmp", "bmp", 0},
        {"PNG", 2, "note-png", "png", 0},
        {"PNG while zoomed in", 2, "zoomed.png", "png", 3},
        {"bitmap while zoomed out", 1, "zoomed.bmp", "bmp", -2},
        {"the chosen type, not the name's", 2, "named.bmp", "png", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const std::string path = dir.filePath(c.fileName).toStdString();
        SourcesRig rig;
        {
            ClipboardTool other;
            ASSERT_TRUE(other.offerImage(Pattern(77, 33)));
            rig.notes.noteFromClipboard();
        }
        StickyNoteWindow* note = Note(rig, 1);
        ASSERT_NE(note, nullptr);
        if (c.zoomNotches) CtrlWheel(note->pictureLabel(), 120 * c.zoomNotches);
        EXPECT_EQ(note->zoomPercent() != 100, c.zoomNotches != 0);
        FakeFileDialog answers;
        answers.answers.push_back(path);
        answers.chosenFilter = c.chosenFilter;
        rig.fileDialog.fake = &answers;
        note->findChild<QAction*>("saveItem")->trigger();
        ASSERT_EQ(answers.requests.size(), 1u);
        EXPECT_EQ(answers.requests[0].filter,
                  "ビットマップファイル(*.BMP)|*.bmp|PNGファイル(*.png)|*.png|");
        QImageReader reader(QString::fromStdString(path));
        EXPECT_EQ(reader.format(), c.format) << "the file is of the chosen type";
        const QImage back = reader.read();
        ASSERT_FALSE(back.isNull());
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), Pattern(77, 33));
        EXPECT_EQ(rig.lastFolder, path);
        rig.notes.removeAllNotes();
        FlushDeferredDeletes();
    }
}
