#include "base/numberforms.h"

#include <gtest/gtest.h>

using namespace torrentix;

TEST(FixedForm, RoundsHalfAwayFromZeroOnTheExactBinaryValue) {
    EXPECT_EQ(formatF2(0.125), "0.13"); // exactly representable tie
    EXPECT_EQ(formatF2(-0.125), "-0.13");
    EXPECT_EQ(formatF2(2.675), "2.67"); // the double lies below 2.675
    EXPECT_EQ(formatF2(1.005), "1.00");
    EXPECT_EQ(formatF3(0.0625), "0.063");
    EXPECT_EQ(formatF3(1.0005), "1.000"); // below the tie in binary
    EXPECT_EQ(formatF2(9.995), "9.99");
    EXPECT_EQ(formatF2(9.999), "10.00");
    EXPECT_EQ(formatF2(99.875), "99.88");
}

TEST(FixedForm, KeepsOneIntegerDigitAndDropsTheMinusOfZero) {
    EXPECT_EQ(formatF2(0.0), "0.00");
    EXPECT_EQ(formatF2(-0.001), "0.00");
    EXPECT_EQ(formatF2(-0.0), "0.00");
    EXPECT_EQ(formatF3(-12.5), "-12.500");
    EXPECT_EQ(formatF2(123456.789), "123456.79");
    EXPECT_EQ(formatF3(-1000.0), "-1000.000");
}

TEST(PercentForm, MultipliesByAHundred) {
    EXPECT_EQ(formatPercent(0.25), "25.00%");
    EXPECT_EQ(formatPercent(1.0 / 3.0), "33.33%");
    EXPECT_EQ(formatPercent(0.0), "0.00%");
    EXPECT_EQ(formatPercent(1.0), "100.00%");
}

TEST(GeneralForm, ShortestTextThatReadsBack) {
    EXPECT_EQ(formatGeneral(0.5), "0.5");
    EXPECT_EQ(formatGeneral(12.0), "12");
    EXPECT_EQ(formatGeneral(-7.0), "-7");
    EXPECT_EQ(formatGeneral(0.334), "0.334");
    EXPECT_EQ(formatGeneral(0.1 + 0.2), "0.3"); // 17 digits needed: 15 are kept
    EXPECT_EQ(formatGeneral(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(formatGeneral(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(formatGeneral(0.0), "0");
    EXPECT_EQ(formatGeneral(-0.0), "0");
}

TEST(GeneralForm, UsesExponentsOutsideMinusFourToFourteen) {
    EXPECT_EQ(formatGeneral(0.0001), "0.0001");
    EXPECT_EQ(formatGeneral(0.000015), "1.5E-05");
    EXPECT_EQ(formatGeneral(1e15), "1E+15");
    EXPECT_EQ(formatGeneral(123456789012345.0), "123456789012345");
    EXPECT_EQ(formatGeneral(1e100), "1E+100");
    EXPECT_EQ(formatGeneral(-2.5e-7), "-2.5E-07");
    EXPECT_EQ(formatGeneral(1234567.0), "1234567");
}

TEST(GeneralForm, ThirtyTwoBitValuesInBothForms) {
    EXPECT_EQ(formatGeneral32(0.95f), "0.95");
    EXPECT_EQ(formatGeneral(static_cast<double>(0.95f)), "0.949999988079071");
    EXPECT_EQ(formatGeneral32(2.0f), "2");
    EXPECT_EQ(formatGeneral32(-7.0f), "-7");
    EXPECT_EQ(formatGeneral32(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(formatGeneral32(1000000.0f), "1000000");
    EXPECT_EQ(formatGeneral32(6.5f), "6.5");
}

TEST(WholeNumbers, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(22.5), 22);
    EXPECT_EQ(roundHalfEven(6.6), 7);
    EXPECT_EQ(roundHalfEven(0.4), 0);
}
