#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "doubles/RecordingMessageBoxes.h"
#include "resident/AboutDialog.h"

namespace tovrimo {
namespace {

using test::RecordingMessageBoxes;

class AboutDialogTest : public ::testing::Test {
protected:
    RecordingMessageBoxes boxes;
    QPointer<AboutDialog> about;
    std::vector<QUrl> opened;
    int closed = 0;

    void TearDown() override { delete about.data(); }

    void open(std::optional<AboutLink> link)
    {
        about = new AboutDialog(boxes, std::move(link));
        QObject::connect(about, &AboutDialog::closed, about, [this] { ++closed; });
        about->openUrl = [this](const QUrl& url) {
            opened.push_back(url);
            return true;
        };
        about->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(about));
    }

    QLabel* label(const char* name) { return about->findChild<QLabel*>(QLatin1String(name)); }
};

TEST_F(AboutDialogTest, ShowsNameVersionNoticeBannerAndAddress)
{
    open(AboutLink{"https://example.org/tovrimo/", false});
    EXPECT_EQ(about->windowTitle(), QStringLiteral("トヴリモ のバージョン情報"));
    ASSERT_NE(label("nameLabel"), nullptr);
    EXPECT_EQ(label("nameLabel")->text(), QStringLiteral("トヴリモ"));
    EXPECT_TRUE(label("nameLabel")->font().bold());
    EXPECT_EQ(label("versionLabel")->text(), QStringLiteral("ver.2.80"));
    EXPECT_EQ(label("versionLabel")->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_FALSE(label("noticeLabel")->text().isEmpty());
    EXPECT_EQ(label("linkCaptionLabel")->text(), QStringLiteral("ホームページURL"));
    EXPECT_EQ(label("linkLabel")->text(), QStringLiteral("https://example.org/tovrimo/"));
    EXPECT_EQ(label("linkLabel")->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_EQ(label("bannerLabel")->size(), QSize(207, 60));
    EXPECT_EQ(label("iconLabel")->size(), QSize(32, 32));
    // The built-in icon really loads from the compiled-in resources.
    EXPECT_FALSE(label("iconLabel")->pixmap().isNull());
    EXPECT_FALSE(about->windowIcon().isNull());
    // 5016 x 3096 twips at 96 dpi, or more when the fonts need it; never resizable.
    EXPECT_GE(about->width(), 334);
    EXPECT_GE(about->height(), 206);
    EXPECT_EQ(about->minimumSize(), about->maximumSize());
    // Nothing is cut off.
    for (QWidget* child : about->findChildren<QWidget*>()) {
        if (!child->isVisible()) continue;
        EXPECT_GE(child->width(), child->minimumSizeHint().width())
            << child->objectName().toStdString();
        EXPECT_TRUE(about->rect().contains(child->geometry())) << child->objectName().toStdString();
    }
    const QByteArray dir = qgetenv("TOVRIMO_SCREENSHOT_DIR");
    const QString path = QDir(dir.isEmpty() ? QDir::currentPath() : QString::fromLocal8Bit(dir))
                             .filePath("about.png");
    EXPECT_TRUE(about->grab().save(path));
}

TEST_F(AboutDialogTest, AddressAndBannerAskBeforeOpeningTheMakersPage)
{
    for (const char* control : {"linkLabel", "bannerLabel"}) {
        for (MsgResult answer : {MsgResult::Cancel, MsgResult::Ok}) {
            SCOPED_TRACE(std::string(control) + (answer == MsgResult::Ok ? " ok" : " cancel"));
            boxes.shown.clear();
            opened.clear();
            open(AboutLink{"https://example.org/tovrimo/", false});
            boxes.answers = {answer};
            QTest::mouseClick(label(control), Qt::LeftButton);
            ASSERT_EQ(boxes.shown.size(), 1u);
            EXPECT_EQ(boxes.shown[0].caption, "インターネットへの接続確認");
            EXPECT_EQ(boxes.shown[0].text, "https://example.org/tovrimo/");
            EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::OkCancel);
            if (answer == MsgResult::Ok) {
                EXPECT_EQ(opened, (std::vector<QUrl>{QUrl("https://example.org/tovrimo/")}));
            } else {
                EXPECT_TRUE(opened.empty());
            }
            EXPECT_TRUE(about->isVisible());
            EXPECT_EQ(closed, 0);
            delete about.data();
        }
    }
}

TEST_F(AboutDialogTest, WithoutAMakersPageTheLinkOpensTheGuideAtOnce)
{
    open(AboutLink{"/usr/share/tovrimo/tovrimo.html", true});
    EXPECT_EQ(label("linkCaptionLabel")->text(), QStringLiteral("ヘルプファイル"));
    QTest::mouseClick(label("linkLabel"), Qt::LeftButton);
    QTest::mouseClick(label("bannerLabel"), Qt::LeftButton);
    EXPECT_TRUE(boxes.shown.empty());
    const QUrl guide = QUrl::fromLocalFile("/usr/share/tovrimo/tovrimo.html");
    EXPECT_EQ(opened, (std::vector<QUrl>{guide, guide}));
}

TEST_F(AboutDialogTest, WithNothingToOpenThereIsNoLink)
{
    open(std::nullopt);
    EXPECT_FALSE(label("linkLabel")->isVisible());
    EXPECT_FALSE(label("linkCaptionLabel")->isVisible());
    QTest::mouseClick(label("bannerLabel"), Qt::LeftButton);
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(AboutDialogTest, OkAndClosingEndTheWindowOnce)
{
    for (bool viaOk : {true, false}) {
        SCOPED_TRACE(viaOk);
        closed = 0;
        open(std::nullopt);
        if (viaOk) {
            about->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        } else {
            about->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(about.isNull());
        EXPECT_EQ(closed, 1);
    }
}

}  // namespace
}  // namespace tovrimo
