#include <gtest/gtest.h>

#include <QTabBar>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "controls/cTabStrip.h"

namespace tovrimo {
namespace {

// A host on screen with a tab strip of three tabs; records the events with the selection
// each one saw.
struct Strip {
    QWidget host;
    cTabStrip strip;
    std::vector<std::string> events;
    int16_t cancelNext = 0;

    Strip()
    {
        host.resize(320, 200);
        strip.setHotTracking(true);
        strip.setPictureBox(&host);
        strip.TabsAdd(0, QStringLiteral("基本設定"));
        strip.TabsAdd(1, QStringLiteral("ホットキー設定"));
        strip.TabsAdd(2, QStringLiteral("その他"));
        QObject::connect(&strip, &cTabStrip::BeforeClick, [this](int16_t& cancel) {
            events.push_back("before:" + std::to_string(strip.SelectedItem()));
            cancel = cancelNext;
        });
        QObject::connect(&strip, &cTabStrip::Click, [this] {
            events.push_back("click:" + std::to_string(strip.SelectedItem()));
        });
        host.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    void clickTab(int index)
    {
        QTabBar* bar = strip.tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
};

TEST(TabStripTest, HasNoTabsBeforeItHasAHost)
{
    cTabStrip strip;
    EXPECT_EQ(strip.TabsCount(), 0);
    EXPECT_EQ(strip.TabsAdd(0, QStringLiteral("a")), -1);
    EXPECT_EQ(strip.TabsCount(), 0);
    EXPECT_EQ(strip.SelectedItem(), 0);
    EXPECT_EQ(strip.tabBar(), nullptr);
}

TEST(TabStripTest, IndexesPastTheEndAppendInOrder)
{
    QWidget host;
    host.resize(300, 150);
    cTabStrip strip;
    strip.setPictureBox(&host);
    EXPECT_EQ(strip.TabsAdd(0, QStringLiteral("一")), 0);
    EXPECT_EQ(strip.TabsAdd(2, QStringLiteral("二")), 1);
    EXPECT_EQ(strip.TabsAdd(3, QStringLiteral("三")), 2);
    ASSERT_EQ(strip.TabsCount(), 3);
    EXPECT_EQ(strip.TabCaption(0), QStringLiteral("一"));
    EXPECT_EQ(strip.TabCaption(1), QStringLiteral("二"));
    EXPECT_EQ(strip.TabCaption(2), QStringLiteral("三"));
    // An index inside the row inserts there.
    EXPECT_EQ(strip.TabsAdd(1, QStringLiteral("間")), 1);
    EXPECT_EQ(strip.TabCaption(1), QStringLiteral("間"));
    EXPECT_EQ(strip.TabCaption(2), QStringLiteral("二"));
    EXPECT_EQ(strip.TabsCount(), 4);
}

TEST(TabStripTest, SelectingFromTheProgramRaisesNoEvent)
{
    Strip s;
    EXPECT_EQ(s.strip.SelectedItem(), 1);  // the first tab comes selected
    s.strip.setSelectedItem(3);
    EXPECT_EQ(s.strip.SelectedItem(), 3);
    EXPECT_EQ(s.strip.tabBar()->currentIndex(), 2);
    s.strip.setSelectedItem(1);
    EXPECT_EQ(s.strip.SelectedItem(), 1);
    // Out of range: nothing changes.
    s.strip.setSelectedItem(0);
    s.strip.setSelectedItem(4);
    EXPECT_EQ(s.strip.SelectedItem(), 1);
    EXPECT_TRUE(s.events.empty());
}

TEST(TabStripTest, UserChangesRaiseBeforeClickThenClickAndTheSelectedTabRaisesNothing)
{
    struct Step {
        const char* name;
        int clickedTab;  // from 0
        std::vector<std::string> events;
    };
    const std::vector<Step> steps = {
        {"another tab", 1, {"before:1", "click:2"}},
        {"the selected tab", 1, {}},
        {"the last tab", 2, {"before:2", "click:3"}},
        {"back to the first", 0, {"before:3", "click:1"}},
        {"the first again", 0, {}},
    };
    Strip s;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        s.events.clear();
        s.clickTab(step.clickedTab);
        EXPECT_EQ(s.events, step.events);
        EXPECT_EQ(s.strip.SelectedItem(), step.clickedTab + 1);
    }
}

TEST(TabStripTest, KeyboardChangesAreUserChangesToo)
{
    Strip s;
    s.strip.tabBar()->setFocus();
    QTest::keyClick(s.strip.tabBar(), Qt::Key_Right);
    EXPECT_EQ(s.events, (std::vector<std::string>{"before:1", "click:2"}));
}

TEST(TabStripTest, CancelInBeforeClickKeepsTheOldTab)
{
    Strip s;
    s.cancelNext = 1;
    s.clickTab(2);
    EXPECT_EQ(s.events, (std::vector<std::string>{"before:1"}));
    EXPECT_EQ(s.strip.SelectedItem(), 1);
    EXPECT_EQ(s.strip.tabBar()->currentIndex(), 0);
}

TEST(TabStripTest, FillsItsHostAndFollowsItsSize)
{
    Strip s;
    QTabBar* bar = s.strip.tabBar();
    EXPECT_EQ(bar->parentWidget(), &s.host);
    EXPECT_EQ(bar->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(bar->width(), 320);
    QRect client = s.strip.ClientRect();
    EXPECT_GE(client.top(), bar->height());
    EXPECT_TRUE(QRect(0, 0, 320, 200).contains(client));

    s.host.resize(400, 260);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->width(), 400);
    client = s.strip.ClientRect();
    EXPECT_TRUE(QRect(0, 0, 400, 260).contains(client));
    EXPECT_GT(client.width(), 380);
    EXPECT_GT(client.height(), 260 - bar->height() - 20);
}

TEST(TabStripTest, ANewHostReplacesTheEarlierControl)
{
    QWidget first, second;
    first.resize(200, 100);
    second.resize(200, 100);
    cTabStrip strip;
    strip.setPictureBox(&first);
    strip.TabsAdd(0, QStringLiteral("a"));
    strip.setPictureBox(&second);
    EXPECT_TRUE(first.findChildren<QTabBar*>().isEmpty());
    EXPECT_EQ(second.findChildren<QTabBar*>().size(), 1);
    EXPECT_EQ(strip.TabsCount(), 0);
}

TEST(TabStripTest, OutlivingItsHostIsHarmless)
{
    auto host = std::make_unique<QWidget>();
    cTabStrip strip;
    strip.setPictureBox(host.get());
    strip.TabsAdd(0, QStringLiteral("a"));
    host.reset();
    EXPECT_EQ(strip.TabsCount(), 0);
    EXPECT_EQ(strip.TabsAdd(0, QStringLiteral("b")), -1);
}

}  // namespace
}  // namespace tovrimo
