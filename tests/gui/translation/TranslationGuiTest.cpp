// The program in another language. Qt's translation tools collect the program's texts from its
// sources; a stand-in translation made from that catalogue ("⟦source⟧" for every text) is
// installed as a user's translation would be, and every window is searched for Japanese that
// did not come through it: a text nobody marked, or one looked up in another context than the
// one it was collected in.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtTest/QTest>
#include <map>
#include <set>

#include "app/DialogCoordinator.h"
#include "app/Program.h"
#include "app/Session.h"
#include "capture/CaptureEngine.h"
#include "capture/RegionSelector.h"
#include "controls/TranslationLoader.h"
#include "core/CoreTexts.h"
#include "core/SettingsStore.h"
#include "doubles/FakePlatform.h"
#include "output/OutputTexts.h"
#include "output/PrintDialog.h"
#include "output/TitleOptionsDialog.h"
#include "platform/Translated.h"
#include "platform/qt/QtMessageBoxes.h"
#include "resident/AboutDialog.h"
#include "resident/CommandRouter.h"
#include "resident/OptionsDialog.h"
#include "resident/StickyNoteWindow.h"
#include "resident/TrayController.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

const std::string kFolder = "/opt/tovrimo/";

QString Tool(const char* name)
{
    return QLibraryInfo::path(QLibraryInfo::BinariesPath) + QLatin1Char('/') + QLatin1String(name);
}

bool Run(const QString& program, const QStringList& arguments, QString* output = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    const bool ended = p.waitForFinished(60000);
    if (output) *output = QString::fromUtf8(p.readAll());
    return ended && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The catalogue the translation tools collect from the sources, and the stand-in translation
// made from it, in tovrimo_en.qm of a translations folder. Made once for the whole run.
struct Catalogue {
    QTemporaryDir dir;
    std::map<QString, std::set<QString>> sources;  // by context
    QString translations;                          // the folder holding tovrimo_en.qm
    QString problem;                               // why there is none

    Catalogue()
    {
        const QString ts = dir.filePath(QStringLiteral("collected.ts"));
        QString said;
        if (!Run(Tool("lupdate"),
                 {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                  QStringLiteral(TOVRIMO_SOURCE_DIR "/src"), QStringLiteral("-ts"), ts},
                 &said)) {
            problem = QStringLiteral("lupdate failed: ") + said;
            return;
        }
        QFile in(ts);
        if (!in.open(QIODevice::ReadOnly)) {
            problem = QStringLiteral("lupdate wrote nothing");
            return;
        }
        QXmlStreamReader xml(&in);
        QString context;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement()) continue;
            if (xml.name() == QLatin1String("name")) context = xml.readElementText();
            if (xml.name() == QLatin1String("source"))
                sources[context].insert(xml.readElementText());
        }
        QDir().mkpath(dir.filePath(QStringLiteral("translations")));
        translations = dir.filePath(QStringLiteral("translations"));
        const QString standIn = dir.filePath(QStringLiteral("stand-in.ts"));
        QFile out(standIn);
        if (!out.open(QIODevice::WriteOnly)) {
            problem = QStringLiteral("cannot write the stand-in");
            return;
        }
        QXmlStreamWriter w(&out);
        w.writeStartDocument();
        w.writeStartElement(QStringLiteral("TS"));
        w.writeAttribute(QStringLiteral("version"), QStringLiteral("2.1"));
        w.writeAttribute(QStringLiteral("language"), QStringLiteral("en"));
        for (const auto& [name, texts] : sources) {
            w.writeStartElement(QStringLiteral("context"));
            w.writeTextElement(QStringLiteral("name"), name);
            for (const QString& text : texts) {
                w.writeStartElement(QStringLiteral("message"));
                w.writeTextElement(QStringLiteral("source"), text);
                w.writeTextElement(QStringLiteral("translation"),
                                   QStringLiteral("⟦") + text + QStringLiteral("⟧"));
                w.writeEndElement();
            }
            w.writeEndElement();
        }
        w.writeEndElement();
        w.writeEndDocument();
        out.close();
        if (!Run(Tool("lrelease"),
                 {QStringLiteral("-silent"), standIn, QStringLiteral("-qm"),
                  translations + QStringLiteral("/tovrimo_en.qm")},
                 &said)) {
            problem = QStringLiteral("lrelease failed: ") + said;
        }
    }

    bool holds(const QString& text) const
    {
        for (const auto& [name, texts] : sources)
            for (const QString& source : texts)
                if (source.contains(text)) return true;
        return false;
    }
};

Catalogue& Collected()
{
    static Catalogue* catalogue = new Catalogue;  // lives as long as the process
    return *catalogue;
}

bool Japanese(const QString& text)
{
    // Kana and kanji; full-width signs alone ("＋" on a button) are pictures, not words.
    static const QRegularExpression kana(
        QStringLiteral("[\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}]"));
    return text.contains(kana);
}

// The Japanese a window shows that did not come through the translation: its title, labels,
// buttons, frames, tabs, menus, their items and tool tips, as one line each. What the user typed
// or chose (text boxes, the entries of lists: printers, paper sizes, keys; the name of the
// title's font) is data and not looked at.
std::string UntranslatedTexts(QWidget* window)
{
    QStringList found;
    const auto look = [&found](const QObject* where, const QString& text) {
        if (Japanese(text) && !text.contains(QStringLiteral("⟦")))
            found << where->metaObject()->className() + QStringLiteral(" ") + where->objectName() +
                         QStringLiteral(": ") + text;
    };
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (w->isWindow()) look(w, w->windowTitle());
        look(w, w->toolTip());
        look(w, w->accessibleName());
        auto* label = qobject_cast<QLabel*>(w);
        if (label && label->objectName() != QLatin1String("fontSummary")) look(w, label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w)) look(w, button->text());
        if (auto* frame = qobject_cast<QGroupBox*>(w)) look(w, frame->title());
        if (auto* menu = qobject_cast<QMenu*>(w)) look(w, menu->title());
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i) look(w, tabs->tabText(i));
        for (QAction* a : w->actions()) {
            look(a, a->text());
            look(a, a->toolTip());
        }
    }
    return found.join(QLatin1Char('\n')).toStdString();
}

template <typename Window>
Window* Shown()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<Window*>(w); found && found->isVisible()) return found;
    return nullptr;
}

// Reads the next message box that opens, then closes it.
struct BoxReader {
    QString title;
    QString text;
    void arm()
    {
        QTimer::singleShot(50, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                arm();  // not up yet
                return;
            }
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
    }
};

class Translation : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(Collected().problem.isEmpty()) << Collected().problem.toStdString();
    }
};

}  // namespace

TEST_F(Translation, EveryJapaneseTextInTheSourcesIsCollected)
{
    // Texts that are data rather than words for the user: names of paper sizes (the lists show
    // the printer's own), the title fields written into the settings file, the default title
    // and font of a new settings file, the terminal's usage (printed before any translation
    // is loaded), the login entry's name for the desktop, and comments.
    const QStringList dataFiles{
        QStringLiteral("core/PaperNames.cpp"),      QStringLiteral("core/PaperNames.h"),
        QStringLiteral("core/TitleFields.h"),       QStringLiteral("core/TitleFields.cpp"),
        QStringLiteral("core/TerminalOptions.cpp"), QStringLiteral("platform/LoginStart.cpp")};
    const QStringList dataTexts{QStringLiteral("ルスクさんのためのトヴリモ"),
                                QStringLiteral("ＭＳ Ｐゴシック")};
    const QRegularExpression literal(QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\""));
    QStringList missing;
    int looked = 0;
    QDirIterator it(QStringLiteral(TOVRIMO_SOURCE_DIR "/src"),
                    {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative =
            QDir(QStringLiteral(TOVRIMO_SOURCE_DIR "/src")).relativeFilePath(path);
        if (dataFiles.contains(relative)) continue;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        for (int n = 0; n < lines.size(); ++n) {
            QString line = lines[n];
            const qsizetype comment = line.indexOf(QStringLiteral("//"));
            if (comment >= 0 && line.left(comment).count(QLatin1Char('"')) % 2 == 0)
                line.truncate(comment);
            for (const QRegularExpressionMatch& m : literal.globalMatch(line)) {
                QString text = m.captured(1);
                if (!Japanese(text) || dataTexts.contains(text)) continue;
                ++looked;
                text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
                text.replace(QStringLiteral("\\\""), QStringLiteral("\""));
                if (!Collected().holds(text))
                    missing << relative + QLatin1Char(':') + QString::number(n + 1) +
                                   QStringLiteral(": ") + text;
            }
        }
    }
    EXPECT_GT(looked, 200) << "the search found the program's texts";
    EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char('\n')).toStdString();
}

TEST_F(Translation, OnlyALanguageWithATranslationIsInstalled)
{
    const QStringList folders{Collected().translations};
    EXPECT_TRUE(
        InstallProgramTranslation(folders, QLocale(QLocale::Japanese, QLocale::Japan)).isEmpty())
        << "Japanese is what the program is written in";
    EXPECT_TRUE(InstallProgramTranslation({QStringLiteral("/nonexistent")},
                                          QLocale(QLocale::English, QLocale::UnitedStates))
                    .isEmpty());
    EXPECT_EQ(Translated(kMessageBoxContext, texts::kNoPrinter).toStdString(), texts::kNoPrinter)
        << "nothing installed: the text as written";
}

TEST_F(Translation, EveryWindowShowsTheInstalledLanguage)
{
    const QString installed =
        InstallProgramTranslation({QStringLiteral("/nonexistent"), Collected().translations},
                                  QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_EQ(installed, Collected().translations + QStringLiteral("/tovrimo_en.qm"));

    FakePlatform world(FakePlatform::PlainScreen(64, 48));
    Program program(world.services());
    ASSERT_TRUE(program.startUp(AppFolders{kFolder, kFolder}, {}).resident);
    const auto settle = [] {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    };
    settle();
    TrayController* tray = program.residentWindow();
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(UntranslatedTexts(tray), "");

    // A hard copy through the print dialog, and its title options.
    program.session().data.settings.confirmBeforePrint = true;
    program.commands().run(CaptureRequest{CaptureSource::Desktop, CaptureDestination::Printer});
    world.timers.advance(1000);
    settle();
    PrintDialog* print = program.dialogs().printDialog();
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(UntranslatedTexts(print), "");
    QTest::mouseClick(print->findChild<QPushButton*>(QStringLiteral("titleOptionsButton")),
                      Qt::LeftButton);
    ASSERT_NE(print->titleOptionsDialog(), nullptr);
    EXPECT_EQ(UntranslatedTexts(print->titleOptionsDialog()), "");
    print->titleOptionsDialog()->cancel();
    print->cancel();
    settle();

    // The repeat item is composed of three texts, each translated.
    EXPECT_EQ(tray->repeatItem()->text(), "⟦繰り返し - ⟦ハードコピー⟧ ＞ ⟦デスクトップ⟧⟧");

    // The region screen's menu.
    program.commands().run(CaptureRequest{CaptureSource::Region, CaptureDestination::Clipboard});
    world.timers.advance(1000);
    settle();
    ASSERT_NE(program.regionScreen(), nullptr);
    EXPECT_EQ(UntranslatedTexts(program.regionScreen()), "");
    QTest::keyClick(program.regionScreen(), Qt::Key_Escape);
    settle();

    // A sticky note and its menu.
    world.clipboard.current = FakePlatform::PlainScreen(30, 20);
    program.commands().run(
        CaptureRequest{CaptureSource::Clipboard, CaptureDestination::StickyNote});
    settle();
    auto* note = Shown<StickyNoteWindow>();
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(UntranslatedTexts(note), "");

    // The options, on every page, and the about box.
    program.commands().run(ProgramAction::OpenOptions);
    settle();
    ASSERT_NE(program.dialogs().optionsDialog(), nullptr);
    EXPECT_EQ(UntranslatedTexts(program.dialogs().optionsDialog()), "");
    program.commands().run(ProgramAction::OpenAbout);
    settle();
    auto* about = Shown<AboutDialog>();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(UntranslatedTexts(about), "");
    about->close();
    program.dialogs().optionsDialog()->close();
    settle();
}

TEST_F(Translation, MessageBoxesAndComposedMessagesComeThroughIt)
{
    ASSERT_FALSE(InstallProgramTranslation({Collected().translations},
                                           QLocale(QLocale::English, QLocale::UnitedStates))
                     .isEmpty());
    QtMessageBoxes boxes;
    BoxReader reader;
    reader.arm();
    boxes.show(texts::kAppCaption, texts::kNoPrinter, MsgButtons::Ok, MsgIcon::None);
    EXPECT_EQ(reader.title, "⟦トヴリモ⟧");
    EXPECT_EQ(reader.text,
              QStringLiteral("⟦") + QString::fromUtf8(texts::kNoPrinter) + QStringLiteral("⟧"));

    // A composed message is translated as a whole pattern, the name put in afterwards; a box
    // shows it as it is (there is no translation of the composed text itself).
    const std::string unavailable = texts::PrinterUnavailable("Office", "");
    EXPECT_EQ(unavailable, "⟦プリンタ「Office」で印刷できませんでした。⟧");
    reader.arm();
    boxes.show(texts::kAppCaption, unavailable, MsgButtons::Ok, MsgIcon::None);
    EXPECT_EQ(reader.text.toStdString(), unavailable);
    EXPECT_EQ(texts::WithReason(texts::kPaperSizeErrorCaption, "紙切れ"),
              "⟦⟦用紙サイズエラー⟧\n理由: 紙切れ⟧");

    // The name goes in byte for byte: not UTF-8, or holding a placeholder of its own.
    EXPECT_EQ(TranslatedWith(kMessageBoxContext, "ファイル「%1」に保存できませんでした。",
                             {"\xff%2.png"}),
              "⟦ファイル「\xff%2.png」に保存できませんでした。⟧");

    // The core's own texts go through the same translation.
    EXPECT_EQ(TranslatedText(kMessageBoxContext, settings_texts::kUnknownReadError),
              "⟦読み込みエラー⟧");
}
