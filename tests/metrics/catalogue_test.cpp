#include "metrics/catalogue.h"
#include "metrics/metricdefinitions.h"

#include <gmock/gmock.h>

#include <algorithm>

using namespace torrentix;
using ::testing::HasSubstr;

TEST(Catalogue, CaptionsCodesAndDescriptionsKeepTheirBlanks) {
    EXPECT_EQ(typeCaption(EasternContinental, 5), "R-E6 (Danube River:  middle and downstream)");
    EXPECT_EQ(typeCaption(EasternContinental, 2), "R-E3 (Plains: large and very large, lowland )");
    EXPECT_EQ(typeCaption(Northern, 0), "R-N1 (small lowland siliceous moderate alcalinity)");
    EXPECT_EQ(typeCode(Alpine, 1), "R-A2");
    EXPECT_EQ(gigShortName(CentralBaltic), "Cen");
    const int riverTypeCount[] = {2, 5, 6, 5, 8};
    for (const Gig g : allGigs) {
        EXPECT_EQ(gigInfo(g).riverTypeCount, riverTypeCount[g]);
    }
}

// The panel numbers the metrics of the GIG index in its own order, each with the weight the
// index gives it; the texts keep their historical blanks and punctuation.
TEST(MetricDefinitions, PanelTextsCarryTheWeightsOfTheIndex) {
    EXPECT_EQ(metricDescription(CentralBaltic), metricDescription(Northern));
    EXPECT_EQ(metricDescription(EasternContinental),
              "1. ASPT: AverageScorePerTaxon (weight: 0.25)\r\n\r\n"
              "2. %EPT_A: Abundance of Ephemeroptera, Plecoptera, Trichoptera families/Total Abundance "
              "(weight: 0.25)\r\n\r\n3. DInd: Degradations Index (weight: 0.25)\r\n\r\n"
              "4. TAXA_N; Number of Families (weight: 0.25)");
    EXPECT_THAT(metricDescription(Mediterranean), HasSubstr("Total Number of families (weight:0.2)"));
    EXPECT_THAT(metricDescription(Alpine),
                HasSubstr("3. SelSens_N: Number of selected Sensitive families ( weight: 0.25)"));
}

// Each index's weights add up to 1, every sum position is used once, and every metric the
// indices read is normalised exactly once, so no index reads a raw value.
TEST(MetricDefinitions, WeightsSumToOneAndEveryTermIsNormalised) {
    for (const Gig g : allGigs) {
        for (const auto* metrics : {&starMetrics(), &gigMetrics(g)}) {
            double total = 0.0;
            std::vector<int> positions;
            for (const auto& d : *metrics) {
                total += d.weight;
                positions.push_back(d.sumPosition);
                int normalised = 0;
                for (const auto& step : normalisationSteps(g)) {
                    normalised += step.column == d.column ? 1 : 0;
                }
                EXPECT_EQ(normalised, 1) << g << " " << d.label;
            }
            std::sort(positions.begin(), positions.end());
            for (std::size_t k = 0; k < positions.size(); ++k) {
                EXPECT_EQ(positions[k], static_cast<int>(k)) << g;
            }
            EXPECT_NEAR(total, 1.0, 1e-12) << g;
        }
    }
}
