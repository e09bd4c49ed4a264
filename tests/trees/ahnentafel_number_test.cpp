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

TEST(AhnentafelNumber, ZeroAndTheLargestStart) {
    AhnentafelNumber zero(0);
    zero.toParent(false);
    EXPECT_EQ(zero.text(), "0");
    zero.toParent(true);
    EXPECT_EQ(zero.text(), "1");
    zero.toChild();
    EXPECT_EQ(zero.text(), "0");

    AhnentafelNumber top(4294967295U);
    top.toParent(true);
    EXPECT_EQ(top.text(), "8589934591");
    std::string label = "#";
    top.appendTo(label);
    EXPECT_EQ(label, "#8589934591");
}

} // namespace
} // namespace stirpex
