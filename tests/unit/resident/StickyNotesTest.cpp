#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <map>
#include <string>

#include "capture/CaptureEngine.h"
#include "doubles/CaptureSignalRecorder.h"
#include "doubles/FakeCursorSource.h"
#include "doubles/FakeFileDialog.h"
#include "doubles/FakeScreenGrabber.h"
#include "doubles/FakeTimerFactory.h"
#include "doubles/FakeWindowSystem.h"
#include "doubles/RecordingClipboard.h"
#include "doubles/RecordingMessageBoxes.h"
#include "resident/NoteTable.h"
#include "resident/StickyNotes.h"

using namespace tovrimo;
using namespace tovrimo::test;
using Slots = std::vector<int>;

TEST(NoteTable, LowestFreeSlotFirstAndReuse)
{
    NoteTable t;
    EXPECT_EQ(t.take(), 1);
    EXPECT_EQ(t.take(), 2);
    EXPECT_EQ(t.take(), 3);
    t.release(2);
    EXPECT_EQ(t.noteCount(), 2);
    EXPECT_EQ(t.take(), 2) << "notes 1, 2, 3 open, 2 peeled off: the next is 2";
    EXPECT_EQ(t.take(), 4);
    EXPECT_EQ(t.usedSlots(), (Slots{1, 2, 3, 4}));
}

TEST(NoteTable, FullAtSixteen)
{
    NoteTable t;
    for (int i = 1; i <= 15; ++i) EXPECT_EQ(t.take(), i);
    EXPECT_FALSE(t.full()) << "fifteen open: one more fits";
    EXPECT_EQ(t.take(), 16);
    EXPECT_TRUE(t.full());
    EXPECT_EQ(t.take(), 0);
}

TEST(NoteTable, ReleasingAFreeSlotChangesNothing)
{
    NoteTable t;
    t.take();
    t.release(5);
    t.release(0);
    t.release(17);
    EXPECT_EQ(t.noteCount(), 1);
    t.release(1);
    t.release(1);
    EXPECT_EQ(t.noteCount(), 0);
}

TEST(NoteTable, ClearFreesAllAndCountsZero)
{
    NoteTable t;
    t.take();
    t.take();
    t.take();
    t.release(2);
    EXPECT_EQ(t.clear(), (Slots{1, 3}));
    EXPECT_EQ(t.noteCount(), 0);
    EXPECT_EQ(t.take(), 1);
}

TEST(NotePlacement, NearThePointerAndFullyOnTheScreen)
{
    const QRect screen(0, 0, 1280, 1024);
    EXPECT_EQ(NoteTopLeft({100, 200}, {50, 40}, screen), QPoint(100, 200));
    EXPECT_EQ(NoteTopLeft({1270, 1020}, {50, 40}, screen), QPoint(1230, 984));
    EXPECT_EQ(NoteTopLeft({-5, -5}, {50, 40}, screen), QPoint(0, 0));
    EXPECT_EQ(NoteTopLeft({600, 600}, {2000, 40}, screen), QPoint(0, 600))
        << "wider than the screen: its left edge shows";
    EXPECT_EQ(NoteTopLeft({1300, 10}, {50, 40}, QRect(1280, 0, 800, 600)), QPoint(1300, 10));
}

TEST(StickyNotes, WindowHoldsThePictureOneToOneAtAnyScaleFactor)
{
    struct Case {
        const char* name;
        QSize devicePixels;
        double ratio;
        QSize window;
    };
    const Case cases[] = {
        {"an unscaled screen", {90, 50}, 1.0, {90, 50}},
        {"200 %: half as many window units", {640, 480}, 2.0, {320, 240}},
        {"200 %, odd size: one spare pixel, never a cut one", {101, 51}, 2.0, {51, 26}},
        {"150 %, exact", {300, 150}, 1.5, {200, 100}},
        // 67 units are 100.5 pixels, which Qt rounds to 101; 66 would be 99 and cut a column.
        {"150 %, not exact", {100, 101}, 1.5, {67, 67}},
        {"125 %", {5, 1280}, 1.25, {4, 1024}},
        {"a one-pixel picture", {1, 1}, 2.0, {1, 1}},
        {"an unknown ratio counts as 1", {90, 50}, 0.0, {90, 50}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NoteWindowSize(c.devicePixels, c.ratio), c.window) << c.name;
    }
}

namespace {

struct FakeNote : NoteView {
    FakeNote(int slotNumber, QImage image, std::vector<std::string>& events)
        : slot(slotNumber), picture(std::move(image)), log(events)
    {
    }
    void bringToFront() override { log.push_back("front:" + std::to_string(slot)); }
    void dispose() override
    {
        log.push_back("dispose:" + std::to_string(slot));
        delete this;
    }
    int slot;
    QImage picture;
    std::vector<std::string>& log;
};

QImage Solid(int w, int h, QRgb colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

struct Rig {
    Rig() { engine.recordLastCapture({CaptureSource::Region, CaptureDestination::Clipboard}); }

    FakeNote* note(int slot) { return static_cast<FakeNote*>(notes.note(slot)); }

    CaptureOptions options;
    CaptureBuffer buffer;
    FakeScreenGrabber screen{Solid(8, 8, 0xFF000000u)};
    FakeWindowSystem windows;
    FakeCursorSource cursor;
    RecordingClipboard clipboard;
    FakeTimerFactory timers;
    RecordingMessageBoxes boxes;
    FakeFileDialog fileDialog;
    std::string lastFolder = "/home/user/";
    std::vector<std::string> log;
    CaptureEngine engine{
        buffer, {screen, windows, cursor, clipboard, timers}, [this] { return options; }};
    CaptureSignalRecorder handOffs{engine};
    StickyNotes notes{{engine, buffer, clipboard, boxes, fileDialog, lastFolder},
                      [this](int slot, const QImage& picture, NoteActions&) -> NoteView* {
                          log.push_back("create:" + std::to_string(slot));
                          return new FakeNote(slot, picture, log);
                      }};
};

}  // namespace

TEST(StickyNotes, TextOnlyClipboardMakesNoNoteAndKeepsTheLastOperation)
{
    Rig r;
    r.notes.noteFromClipboard();
    EXPECT_EQ(r.notes.noteCount(), 0);
    EXPECT_TRUE(r.log.empty());
    EXPECT_TRUE(r.boxes.shown.empty());
    EXPECT_EQ(r.engine.lastCapture(),
              (CaptureRequest{CaptureSource::Region, CaptureDestination::Clipboard}));
}

TEST(StickyNotes, ANoteShowsTheClipboardColoursAndRecordsStickyNote)
{
    Rig r;
    r.options.reverseColours = true;
    r.clipboard.current = Solid(30, 20, qRgb(10, 200, 30));
    r.notes.noteFromClipboard();
    ASSERT_EQ(r.notes.noteCount(), 1);
    ASSERT_NE(r.note(1), nullptr);
    EXPECT_EQ(r.note(1)->picture, Solid(30, 20, qRgb(10, 200, 30))) << "never inverted";
    EXPECT_EQ(r.engine.lastCapture(),
              (CaptureRequest{CaptureSource::Clipboard, CaptureDestination::StickyNote}));
}

TEST(StickyNotes, SixteenNotesThenTheLimitMessage)
{
    Rig r;
    r.clipboard.current = Solid(4, 4, 0xFF112233u);
    for (int i = 0; i < 16; ++i) r.notes.noteFromClipboard();
    EXPECT_EQ(r.notes.noteCount(), 16);
    EXPECT_TRUE(r.boxes.shown.empty());
    r.engine.recordLastCapture({CaptureSource::Desktop, CaptureDestination::Printer});
    r.notes.noteFromClipboard();
    EXPECT_EQ(r.notes.noteCount(), 16) << "count unchanged";
    ASSERT_EQ(r.boxes.shown.size(), 1u);
    EXPECT_EQ(r.boxes.shown[0].caption, "トヴリモ");
    EXPECT_EQ(r.boxes.shown[0].text,
              "付せんの数が上限(16枚)を超えているので新たに生成できません。");
    EXPECT_EQ(r.boxes.shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(r.boxes.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(std::count_if(r.log.begin(), r.log.end(),
                            [](const std::string& s) { return s.rfind("create:", 0) == 0; }),
              16);
    EXPECT_EQ(r.engine.lastCapture(),
              (CaptureRequest{CaptureSource::Clipboard, CaptureDestination::StickyNote}))
        << "recorded before the limit check, so repeat tries again";
}

TEST(StickyNotes, PeelingOffFreesTheSlotForTheNextNote)
{
    Rig r;
    r.clipboard.current = Solid(4, 4, 0xFF112233u);
    for (int i = 0; i < 3; ++i) r.notes.noteFromClipboard();
    r.notes.closeNote(2);
    EXPECT_EQ(r.notes.noteCount(), 2);
    EXPECT_EQ(r.notes.note(2), nullptr);
    r.notes.noteFromClipboard();
    EXPECT_EQ(r.log.back(), "create:2");
    r.notes.closeNote(2);
    r.notes.closeNote(2);  // a second peel of the same slot changes nothing
    EXPECT_EQ(r.notes.noteCount(), 2);
}

TEST(StickyNotes, RemoveAllThenTheNextNoteIsNumberOne)
{
    Rig r;
    r.clipboard.current = Solid(4, 4, 0xFF112233u);
    for (int i = 0; i < 3; ++i) r.notes.noteFromClipboard();
    r.log.clear();
    r.notes.removeAllNotes();
    EXPECT_EQ(r.log, (std::vector<std::string>{"dispose:1", "dispose:2", "dispose:3"}));
    EXPECT_EQ(r.notes.noteCount(), 0);
    r.notes.noteFromClipboard();
    EXPECT_EQ(r.log.back(), "create:1");
    EXPECT_EQ(r.notes.noteCount(), 1);
}

TEST(StickyNotes, BringToFrontGoesInSlotOrder)
{
    Rig r;
    r.clipboard.current = Solid(4, 4, 0xFF112233u);
    for (int i = 0; i < 4; ++i) r.notes.noteFromClipboard();
    r.notes.closeNote(2);
    r.log.clear();
    r.notes.bringNotesToFront();
    EXPECT_EQ(r.log, (std::vector<std::string>{"front:1", "front:3", "front:4"}));
}

TEST(StickyNotes, PrintingANoteUsesItsPictureAsIsAndKeepsTheLastOperation)
{
    Rig r;
    r.options.reverseColours = true;
    r.clipboard.current = Solid(6, 5, qRgb(1, 2, 3));
    r.notes.noteFromClipboard();
    r.engine.recordLastCapture({CaptureSource::Region, CaptureDestination::Printer});
    r.notes.printNote(r.note(1)->picture);
    EXPECT_EQ(r.buffer.image, Solid(6, 5, qRgb(1, 2, 3)));
    EXPECT_EQ(r.handOffs.calls, (std::vector<std::string>{"printHardCopy"}));
    EXPECT_EQ(r.engine.lastCapture(),
              (CaptureRequest{CaptureSource::Region, CaptureDestination::Printer}));
}

TEST(StickyNotes, SaveAsksWithTheNoteDialogAndWritesABitmapUnderTheExactName)
{
    Rig r;
    QTemporaryDir dir;
    const QImage picture = Solid(7, 3, qRgb(200, 100, 50));
    r.notes.saveNote(picture, nullptr);  // cancelled: nothing written, folder kept
    EXPECT_EQ(r.lastFolder, "/home/user/");
    ASSERT_EQ(r.fileDialog.requests.size(), 1u);
    const FileDialogRequest& q = r.fileDialog.requests[0];
    EXPECT_EQ(q.acceptMode, FileDialogRequest::AcceptMode::Save);
    EXPECT_EQ(q.caption, "ピクチャ画像の保存");
    EXPECT_EQ(q.filter, "ビットマップファイル(*.BMP)|*.bmp|PNGファイル(*.png)|*.png|");
    EXPECT_EQ(q.selectedFilter, 0);
    EXPECT_TRUE(q.confirmOverwrite) << "ask before replacing a file";
    EXPECT_FALSE(q.fileMustExist);
    EXPECT_EQ(q.dir, "/home/user/");

    const std::string path = dir.filePath("note").toStdString();
    r.fileDialog.answers.push_back(path);
    r.notes.saveNote(picture, nullptr);
    QImage back(QString::fromStdString(path), "BMP");
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_EQ(r.lastFolder, path);
    EXPECT_TRUE(r.boxes.shown.empty());
}

TEST(StickyNotes, SaveIntoAMissingFolderShowsAMessage)
{
    Rig r;
    const std::string path = "/nonexistent-folder/note.bmp";
    r.fileDialog.answers.push_back(path);
    r.notes.saveNote(Solid(2, 2, 0xFF000000u), nullptr);
    ASSERT_EQ(r.boxes.shown.size(), 1u);
    EXPECT_EQ(r.boxes.shown[0].text, "ファイル「" + path + "」に保存できませんでした。");
}

TEST(StickyNotes, CopyPutsThePictureOnTheClipboard)
{
    Rig r;
    r.notes.copyNote(Solid(3, 3, qRgb(9, 8, 7)));
    ASSERT_EQ(r.clipboard.images.size(), 1u);
    EXPECT_EQ(r.clipboard.images[0], Solid(3, 3, qRgb(9, 8, 7)));
}
