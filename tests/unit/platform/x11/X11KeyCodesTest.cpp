#include <gtest/gtest.h>

#include "platform/x11/X11KeyCodes.h"

using namespace tovrimo;

TEST(X11KeyCodes, IdentifierNamesCarryTheSlotDigit)
{
    EXPECT_EQ(HotKeyAtomName(0), "TVRMHOTKEY0");
    EXPECT_EQ(HotKeyAtomName(5), "TVRMHOTKEY5");
    EXPECT_EQ(HotKeyAtomName(9), "TVRMHOTKEY9");
}
