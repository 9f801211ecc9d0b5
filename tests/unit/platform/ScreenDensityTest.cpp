#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "platform/ScreenDensity.h"

using namespace tovrimo;

TEST(ScreenDensity, XftDpiIsReadFromTheResourceDatabase)
{
    struct Case {
        const char* name;
        std::string resources;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"as xrdb -query prints it", "Xft.dpi:\t192\n", 192.0},
        {"among other resources, no final newline",
         "Xcursor.size:\t24\nXft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1", 144.0},
        {"spaces around the colon", "Xft.dpi : 120 \n", 120.0},
        {"a fractional density", "Xft.dpi:\t110.5\n", 110.5},
        {"the last entry wins", "Xft.dpi:\t96\nXft.dpi:\t192\n", 192.0},
        {"a broken last entry leaves no density", "Xft.dpi:\t192\nXft.dpi:\tbig\n", std::nullopt},
        {"no database", "", std::nullopt},
        {"no Xft.dpi", "Xcursor.size:\t24\n", std::nullopt},
        {"another program's dpi is not the desktop's", "XTerm.dpi:\t192\n", std::nullopt},
        {"a longer name that starts alike", "Xft.dpiScale:\t2\n", std::nullopt},
        {"no value", "Xft.dpi:\n", std::nullopt},
        {"trailing garbage", "Xft.dpi:\t192dpi\n", std::nullopt},
        {"zero", "Xft.dpi:\t0\n", std::nullopt},
        {"negative", "Xft.dpi:\t-96\n", std::nullopt},
        {"absurdly large", "Xft.dpi:\t1e9\n", std::nullopt},
        {"carriage returns", "Xft.dpi:\t168\r\n", 168.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(XftDpiFromResources(c.resources), c.expected) << c.name;
    }
}

TEST(ScreenDensity, TwipsPerDevicePixel)
{
    struct Case {
        const char* name;
        double dpi;
        double twips;
    };
    const Case cases[] = {
        {"an ordinary screen", 96, 15},
        {"a 200 % screen", 192, 7.5},
        {"a 150 % screen", 144, 10},
        {"a 125 % screen", 120, 12},
        {"nothing known counts as 96 dpi", 0, 15},
        {"a negative density counts as 96 dpi", -192, 15},
        {"not a number counts as 96 dpi", std::numeric_limits<double>::quiet_NaN(), 15},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(TwipsPerDevicePixel(c.dpi), c.twips) << c.name;
    }
}
