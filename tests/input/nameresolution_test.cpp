#include "input/nameresolution.h"
#include "support/taxa.h"

#include <gtest/gtest.h>

using namespace torrentix;
using namespace torrentix::testing;

using Kind = Resolution::Kind;

TEST(NameResolution, SuggestionStartsWithTheLongestPrefixOfSixCharactersOrMore) {
    const std::pair<std::string, std::string> cases[] = {
        {"GAMMARIDEA", "GAMMARIDAE"}, // "GAMMARID" is the longest prefix a family starts with
        {"BAETIDX", "BAETIDAE"},      // a 7-character name is tried with its first 6 only
        {"BAETIDAE ", "BAETIDAE"},    // a trailing blank is part of the name
        {"BAETID", ""},               // a 6-character name has no shorter prefix to try
        {"ZZZZZZZZZ", ""},
        {"", ""},
        {std::string(1 << 20, 'Q'), ""}};
    for (const auto& [name, family] : cases) {
        const auto s = suggestFamily(realTaxa(), name, false);
        EXPECT_EQ(s ? s->family : "", family) << name.substr(0, 12);
    }
}

// Families and synonyms resolve without a question; any other name takes the answer.
TEST(NameResolution, FamiliesSynonymsAndTheAnswersOfTheQuestion) {
    // An answer is a selection key (a family id, 0: ignore, negative: abort) and the family text;
    // a group picked after a family keeps the family's text, a group alone names no family.
    const struct {
        const char* name;
        int key;
        const char* text;
        Kind kind;
        std::string family;
    } cases[] = {{"GAMMARIDAE", -1, "", Kind::Family, "GAMMARIDAE"},
                 {"RHYACHOPHILIDAE", -1, "", Kind::Family, "RHYACOPHILIDAE"},
                 {"BAETIDAX", 7, "BAETIDAE", Kind::Family, "BAETIDAE"},
                 {"BAETIDAX", 0, "", Kind::Ignore, ""},
                 {"BAETIDAX", -1, "", Kind::Abort, ""},
                 {"BAETIDAX", 24, "LEUCTRIDAE", Kind::Family, "LEUCTRIDAE"},
                 {"BAETIDAX", 24, "", Kind::Ignore, ""}};
    for (const auto& c : cases) {
        std::vector<UnknownTaxonQuestion> questions;
        const Resolution r = resolveTaxonName(realTaxa(), realTree(), c.name, false, [&](const auto& q) {
            questions.push_back(q);
            return UnknownTaxonAnswer{c.key, c.text, AnswerSource::User, {}};
        });
        EXPECT_EQ(r.kind, c.kind) << c.name;
        EXPECT_EQ(r.family, c.family) << c.name;
        EXPECT_EQ(r.askedUser, c.name == std::string("BAETIDAX"));
        EXPECT_EQ(questions.size(), r.askedUser ? 1u : 0u);
        for (const auto& q : questions) {
            EXPECT_EQ(q.name, "BAETIDAX");
            EXPECT_EQ(q.suggestion->family, "BAETIDAE");
            EXPECT_EQ(q.tree, &realTree());
        }
    }
    // Without anyone to ask the read stops, also for a synonym whose family is not there.
    EXPECT_EQ(resolveTaxonName(realTaxa(), realTree(), "BAETIDAX", false, {}).kind, Kind::Abort);
    const TaxaDatabase lost({FamilyRecord{1, "BAETIDAE", 15, "EPHEMEROPTERA", 4, 4, 0}}, {{"LOSTIDAE", 42}});
    EXPECT_EQ(resolveTaxonName(lost, realTree(), "LOSTIDAE", false, {}).kind, Kind::Abort);
}
