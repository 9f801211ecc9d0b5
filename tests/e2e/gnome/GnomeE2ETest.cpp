#include <gtest/gtest.h>

TEST(GnomeE2E, Placeholder) {}
