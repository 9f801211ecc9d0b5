#include <gtest/gtest.h>

#include "output/NamedSettingsTable.h"

using namespace tovrimo;

namespace {

struct Table {
    std::array<PrintLayout, kNamedSettingsMax> slots{};
    int16_t count = 0;
    NamedSettingsTable table{slots, count};

    void add(const std::string& name, PagePosition pos = PagePosition::TopLeft)
    {
        slots[count].name = name;
        slots[count].position = pos;
        ++count;
    }
};

PrintLayout Named(const std::string& name, PagePosition pos)
{
    PrintLayout l;
    l.name = name;
    l.position = pos;
    return l;
}

}  // namespace

TEST(NamedSettingsTable, SavePlansFollowNamesAndAnswers)
{
    struct Case {
        const char* why;
        std::vector<std::string> existing;
        std::string name;
        bool answerYes;
        NamedSettingsTable::SaveOutcome outcome;
        int target;
        bool overwrite;
        int questions;
    } cases[] = {
        {"new name goes to the end",
         {"a", "b"},
         "c",
         true,
         NamedSettingsTable::SaveOutcome::Store,
         2,
         false,
         0},
        {"same name, yes: overwrite in place",
         {"a", "b", "c"},
         "b",
         true,
         NamedSettingsTable::SaveOutcome::Store,
         1,
         true,
         1},
        {"same name, no: nothing",
         {"a", "b"},
         "a",
         false,
         NamedSettingsTable::SaveOutcome::Cancelled,
         -1,
         false,
         1},
        {"case differs: a new entry",
         {"Office"},
         "office",
         true,
         NamedSettingsTable::SaveOutcome::Store,
         1,
         false,
         0},
        {"width differs: a new entry",
         {"Ａ"},
         "A",
         true,
         NamedSettingsTable::SaveOutcome::Store,
         1,
         false,
         0},
        {"duplicates in a file: the last confirmed wins",
         {"x", "y", "x"},
         "x",
         true,
         NamedSettingsTable::SaveOutcome::Store,
         2,
         true,
         2},
        {"empty table", {}, "first", true, NamedSettingsTable::SaveOutcome::Store, 0, false, 0},
    };
    for (const auto& c : cases) {
        Table t;
        for (const auto& n : c.existing) t.add(n);
        int asked = 0;
        const auto plan = t.table.planSave(c.name, [&](int) {
            ++asked;
            return c.answerYes;
        });
        EXPECT_EQ(plan.outcome, c.outcome) << c.why;
        EXPECT_EQ(plan.target, c.target) << c.why;
        EXPECT_EQ(plan.overwrite, c.overwrite) << c.why;
        EXPECT_EQ(asked, c.questions) << c.why;
    }
}

TEST(NamedSettingsTable, OverwriteKeepsOrderAndLength)
{
    Table t;
    t.add("a", PagePosition::TopLeft);
    t.add("b", PagePosition::TopRight);
    t.add("c", PagePosition::Centre);
    const auto plan = t.table.planSave("b", [](int) { return true; });
    EXPECT_EQ(t.table.store(plan, Named("b", PagePosition::BottomRight)), 1);
    EXPECT_EQ(t.count, 3);
    EXPECT_EQ(t.table.names(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(t.slots[1].position, PagePosition::BottomRight);
    EXPECT_EQ(t.slots[2].position, PagePosition::Centre);
}

TEST(NamedSettingsTable, FullTableRefusesNewNamesButStillOverwrites)
{
    Table t;
    for (int i = 0; i < kNamedSettingsMax; ++i) t.add("s" + std::to_string(i));
    const auto before = t.slots;
    const auto fresh = t.table.planSave("new", [](int) { return true; });
    EXPECT_EQ(fresh.outcome, NamedSettingsTable::SaveOutcome::NoRoom);
    EXPECT_EQ(t.table.store(fresh, Named("new", PagePosition::BottomLeft)), -1);
    EXPECT_EQ(t.count, kNamedSettingsMax);
    EXPECT_EQ(t.slots, before);

    const auto again = t.table.planSave("s100", [](int) { return true; });
    EXPECT_EQ(again.outcome, NamedSettingsTable::SaveOutcome::Store);
    EXPECT_EQ(t.table.store(again, Named("s100", PagePosition::BottomLeft)), 100);
    EXPECT_EQ(t.count, kNamedSettingsMax);
    EXPECT_EQ(t.slots[100].position, PagePosition::BottomLeft);
}

TEST(NamedSettingsTable, OneBelowFullStillTakesANewName)
{
    Table t;
    for (int i = 0; i < kNamedSettingsMax - 1; ++i) t.add("s" + std::to_string(i));
    const auto plan = t.table.planSave("last", nullptr);
    ASSERT_EQ(plan.outcome, NamedSettingsTable::SaveOutcome::Store);
    EXPECT_EQ(t.table.store(plan, Named("last", PagePosition::TopRight)), 100);
    EXPECT_EQ(t.count, kNamedSettingsMax);
    EXPECT_TRUE(t.table.full());
}

TEST(NamedSettingsTable, RemovingMovesTheRestUp)
{
    struct Case {
        int removed;
        std::vector<std::string> left;
    } cases[] = {
        {0, {"b", "c"}},       {1, {"a", "c"}},
        {2, {"a", "b"}},       {3, {"a", "b", "c"}},  // not in use: nothing happens
        {-1, {"a", "b", "c"}},
    };
    for (const auto& c : cases) {
        Table t;
        t.add("a", PagePosition::TopLeft);
        t.add("b", PagePosition::TopRight);
        t.add("c", PagePosition::Centre);
        t.table.remove(c.removed);
        EXPECT_EQ(t.table.names(), c.left) << c.removed;
        EXPECT_EQ(t.count, static_cast<int16_t>(c.left.size())) << c.removed;
    }
    Table t;
    t.add("a", PagePosition::TopLeft);
    t.add("b", PagePosition::TopRight);
    t.add("c", PagePosition::Centre);
    t.table.remove(1);
    EXPECT_EQ(t.slots[1].position, PagePosition::Centre);
    EXPECT_EQ(t.slots[2], PrintLayout{});
}

TEST(NamedSettingsTable, CountFromADamagedFileStaysInsideTheTable)
{
    Table t;
    t.count = 500;
    EXPECT_EQ(t.table.count(), kNamedSettingsMax);
    t.count = -3;
    EXPECT_EQ(t.table.count(), 0);
    EXPECT_TRUE(t.table.names().empty());
}

TEST(NamedSettingsTable, ReleaseDecision)
{
    struct Case {
        const char* why;
        bool loading;
        int lastSet, selected, count;
        bool release;
        int slot;
    } cases[] = {
        {"loading: never", true, 1, 1, 3, false, -1},
        {"nothing chosen", false, -1, -1, 3, false, -1},
        {"chosen and selected", false, 1, 1, 3, true, 1},
        {"list selection wins", false, 0, 2, 3, true, 2},
        {"typed text lost the selection: the chosen one", false, 1, -1, 3, true, 1},
        {"chosen slot no longer exists", false, 5, -1, 3, true, -1},
    };
    for (const auto& c : cases) {
        const auto r = NamedSettingsTable::decideRelease(c.loading, c.lastSet, c.selected, c.count);
        EXPECT_EQ(r.release, c.release) << c.why;
        EXPECT_EQ(r.slot, c.slot) << c.why;
    }
}
