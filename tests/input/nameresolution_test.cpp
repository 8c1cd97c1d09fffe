#include "input/nameresolution.h"
#include "support/taxa.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

using namespace torrentix;
using torrentix::testing::realTaxa;

namespace {

struct Recorder {
    std::vector<UnknownTaxonQuestion> questions;
    UnknownTaxonAnswer answer = UnknownTaxonAnswer::ignore();
    UnknownTaxonHandler handler() {
        return [this](const UnknownTaxonQuestion& q) {
            questions.push_back(q);
            return answer;
        };
    }
};

const TaxaTree& realTree() {
    static const TaxaTree tree = albero(realTaxa().records());
    return tree;
}

Resolution resolve(const std::string& name, Recorder& r) {
    return cercafam(realTaxa(), realTree(), name, false, r.handler());
}

} // namespace

TEST(NameResolution, FamiliesAndSynonymsNeedNoQuestion) {
    Recorder r;
    auto direct = resolve("GAMMARIDAE", r);
    EXPECT_EQ(direct.kind, Resolution::Kind::Family);
    EXPECT_EQ(direct.family, "GAMMARIDAE");
    EXPECT_FALSE(direct.askedUser);
    auto synonym = resolve("RHYACHOPHILIDAE", r);
    EXPECT_EQ(synonym.family, "RHYACOPHILIDAE");
    EXPECT_FALSE(synonym.askedUser);
    EXPECT_TRUE(r.questions.empty());
}

TEST(NameResolution, SuggestionUsesTheLongestPrefixDownToSixCharacters) {
    // "GAMMARIDEA": 9 characters of it start GAMMARIDAE? No - "GAMMARIDE" does not; "GAMMARID" does.
    auto s = suggestFamily(realTaxa(), "GAMMARIDEA", false);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->family, "GAMMARIDAE");
    // A 7-character name is tried with its first 6 characters only.
    auto seven = suggestFamily(realTaxa(), "BAETIDX", false);
    ASSERT_TRUE(seven.has_value());
    EXPECT_EQ(seven->family, "BAETIDAE");
    // A 6-character name gets no suggestion, nor does a name no family starts like.
    EXPECT_FALSE(suggestFamily(realTaxa(), "BAETID", false).has_value());
    EXPECT_FALSE(suggestFamily(realTaxa(), "ZZZZZZZZZ", false).has_value());
    // A trailing blank is part of the name: the name less one character is the family.
    EXPECT_EQ(suggestFamily(realTaxa(), "BAETIDAE ", false)->family, "BAETIDAE");
    // A very long name is no problem.
    EXPECT_FALSE(suggestFamily(realTaxa(), std::string(1 << 20, 'Q'), false).has_value());
}

TEST(NameResolution, TheThreeAnswersOfTheQuestion) {
    Recorder r;
    r.answer = UnknownTaxonAnswer::family(7, "BAETIDAE");
    auto picked = resolve("BETIDAE X", r);
    EXPECT_EQ(picked.kind, Resolution::Kind::Family);
    EXPECT_EQ(picked.family, "BAETIDAE");
    EXPECT_TRUE(picked.askedUser);
    ASSERT_EQ(r.questions.size(), 1u);
    EXPECT_EQ(r.questions[0].name, "BETIDAE X");
    EXPECT_NE(r.questions[0].tree, nullptr);

    r.answer = UnknownTaxonAnswer::ignore();
    EXPECT_EQ(resolve("UNKNOWNIDAE", r).kind, Resolution::Kind::Ignore);
    r.answer = UnknownTaxonAnswer::abort();
    EXPECT_EQ(resolve("UNKNOWNIDAE", r).kind, Resolution::Kind::Abort);
    // A group picked after a family keeps the family's text: the family is taken.
    r.answer = {24, "LEUCTRIDAE"};
    EXPECT_EQ(resolve("UNKNOWNIDAE", r).family, "LEUCTRIDAE");
    // Only a group picked: no family name, so the column is ignored.
    r.answer = {24, ""};
    EXPECT_EQ(resolve("UNKNOWNIDAE", r).kind, Resolution::Kind::Ignore);
}

TEST(NameResolution, SynonymWithoutItsFamilyFallsThroughToTheQuestion) {
    TaxaDatabase taxa({FamilyRecord{1, "BAETIDAE", 15, "EPHEMEROPTERA", 4, 4, 0}}, {{"LOSTIDAE", 42}});
    const TaxaTree tree = albero(taxa.records());
    Recorder r;
    auto res = cercafam(taxa, tree, "LOSTIDAE", false, r.handler());
    EXPECT_EQ(res.kind, Resolution::Kind::Ignore);
    EXPECT_EQ(r.questions.size(), 1u);
}
