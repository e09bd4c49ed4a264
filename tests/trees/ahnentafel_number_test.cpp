#include "trees/ahnentafel_number.h"

#include <gtest/gtest.h>

namespace stirpex {
namespace {

TEST(AhnentafelNumber, ParentsDoubleWithCarriesAndChildrenHalveBack) {
    AhnentafelNumber number(4999);
    number.toParent(true);
    EXPECT_EQ(number.text(), "9999");
    number.toParent(false);
    EXPECT_EQ(number.text(), "19998");
    number.toChild();
    EXPECT_EQ(number.text(), "9999");
    number.toChild();
    EXPECT_EQ(number.text(), "4999");
    EXPECT_FALSE(number.isOne());
}

// 2^101 - 1: the line through mothers a hundred generations up.
TEST(AhnentafelNumber, HundredGenerationsOfMothersAndBack) {
    AhnentafelNumber number(1);
    EXPECT_TRUE(number.isOne());
    for (int i = 0; i < 100; ++i) {
        number.toParent(true);
    }
    EXPECT_EQ(number.text(), "2535301200456458802993406410751");
    EXPECT_EQ(number.digitCount(), 31U);
    for (int i = 0; i < 100; ++i) {
        number.toChild();
    }
    EXPECT_EQ(number.text(), "1");
    EXPECT_TRUE(number.isOne());
}

} // namespace
} // namespace stirpex
