#include <gtest/gtest.h>

#include <set>
#include <string>

#include "resident/AboutLink.h"

namespace tovrimo {
namespace {

TEST(AboutLinkTest, MakerPageFirstThenTheGuideBesideTheProgramThenTheInstalledOne)
{
    struct Case {
        const char* name;
        std::string makerUrl;
        std::set<std::string> files;
        std::optional<std::string> address;
        bool local;
    };
    const std::string beside = "/opt/tovrimo/bin/tovrimo.html";
    const std::string installed = "/usr/share/tovrimo/tovrimo.html";
    const Case cases[] = {
        {"maker page wins",
         "https://example.org/tovrimo/",
         {beside, installed},
         "https://example.org/tovrimo/",
         false},
        {"maker page without any guide", "https://example.org/", {}, "https://example.org/", false},
        {"guide beside the program", "", {beside, installed}, beside, true},
        {"installed guide", "", {installed}, installed, true},
        {"nothing to open", "", {}, std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto link = ResolveAboutLink(
            c.makerUrl, {"/opt/tovrimo/bin/", "", "/usr/share/tovrimo/"}, "tovrimo.html",
            [&](const std::string& path) { return c.files.count(path) != 0; });
        ASSERT_EQ(link.has_value(), c.address.has_value());
        if (!link) continue;
        EXPECT_EQ(link->address, *c.address);
        EXPECT_EQ(link->local, c.local);
    }
}

}  // namespace
}  // namespace tovrimo
