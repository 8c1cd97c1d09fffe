#include "metrics/catalogue.h"

#include <gtest/gtest.h>

using namespace torrentix;

TEST(Catalogue, CaptionsCodesAndDescriptionsKeepTheirBlanks) {
    EXPECT_EQ(typeCaption(EasternContinental, 5), "R-E6 (Danube River:  middle and downstream)");
    EXPECT_EQ(typeCaption(EasternContinental, 2), "R-E3 (Plains: large and very large, lowland )");
    EXPECT_EQ(typeCaption(Northern, 0), "R-N1 (small lowland siliceous moderate alcalinity)");
    EXPECT_EQ(typeCode(Alpine, 1), "R-A2");
    EXPECT_EQ(gigShortName(CentralBaltic), "Cen");
    const int ntypes[] = {2, 5, 6, 5, 8};
    for (int g = 0; g < gigCount; ++g) {
        EXPECT_EQ(gigInfo(g).ntypes, ntypes[g]);
    }
    EXPECT_EQ(gigInfo(CentralBaltic).metricDescription, gigInfo(Northern).metricDescription);
    EXPECT_NE(
        std::string(gigInfo(EasternContinental).metricDescription).find("4. TAXA_N; Number of Families"),
        std::string::npos);
}

TEST(Catalogue, ReadsGigsAndTypeCodesInAnyCase) {
    EXPECT_EQ(parseGig("central / baltic"), CentralBaltic);
    EXPECT_EQ(parseGig("MED"), Mediterranean);
    EXPECT_EQ(parseGig("4"), Northern);
    EXPECT_FALSE(parseGig("Atlantic").has_value());
    EXPECT_EQ(parseTypeCode(Northern, "r-n8"), 7);
    EXPECT_FALSE(parseTypeCode(Alpine, "R-A3").has_value());
    EXPECT_FALSE(parseTypeCode(Alpine, "R-M1").has_value()); // a code of another GIG
}
