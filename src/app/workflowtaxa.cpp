// The user's taxa map in the workflow: it answers the names it knows before the user is
// asked, keeps the answers the user asks to remember, and opens for editing.
#include "app/workflow.h"

#include "app/taxamapfile.h"
#include "graphs/displaytext.h"
#include "input/taxamap.h"

#include <QFileInfo>

#include <memory>
#include <optional>

namespace torrentix {

namespace {

// The names from the question's on that the taxon dictionary (or the database, once their
// qualifiers are set aside) answers and the taxa map does not.
int knownRemaining(const TaxaDatabase& taxa, const UnknownTaxonQuestion& q, const TaxaMap* map) {
    int count = 0;
    const auto* names = q.place.unknownNames;
    for (std::size_t k = q.place.unknown > 0 ? q.place.unknown - 1 : 0; names && k < names->size(); ++k) {
        const std::string& name = (*names)[k];
        if ((!map || !map->find(name, q.utf8)) && familyEvidence(taxa, name, q.utf8).knownAnswer()) {
            ++count;
        }
    }
    return count;
}

} // namespace

// The handler of one read: the map as it is when the read starts, then the user. `mapped`
// counts the names the map answered, `differing` those it answers otherwise than the taxon
// dictionary. Once the user chose the dictionary's family for every remaining name, the
// names it knows are answered without asking.
// Runs on the work's thread: the user's answers are asked on the window's thread.
UnknownTaxonHandler Workflow::taxonHandler(int& mapped, std::vector<std::string>& differing,
                                           UserDialogs& dialogs) {
    std::optional<TaxaMap> map;
    if (!taxaMapPath_.isEmpty() && QFileInfo::exists(taxaMapPath_)) {
        try {
            map = TaxaMap::read(pathBytes(taxaMapPath_), taxa_);
        } catch (const std::exception& e) {
            dialogs.showMessage(anyText(e.what()) +
                                QStringLiteral("\nUntil it is mended, the names it maps are asked about."));
        }
    }
    auto mapCopy = map ? std::make_shared<const TaxaMap>(*map) : nullptr;
    auto byDictionary = std::make_shared<std::optional<bool>>(); // set: remember those answers
    UnknownTaxonHandler ask = [this, mapCopy, byDictionary, &dialogs](const UnknownTaxonQuestion& question) {
        const auto known = question.evidence.knownAnswer();
        TaxonChoice choice;
        if (*byDictionary && known) {
            choice = TaxonChoice(UnknownTaxonAnswer::family(known->id, known->family,
                                                            answerSourceOf(known->source), known->matched),
                                 **byDictionary);
        } else {
            UnknownTaxonQuestion asked = question;
            asked.knownRemaining = knownRemaining(taxa_, question, mapCopy.get());
            choice = job_->ask<TaxonChoice>([&] { return askTaxon_(asked); });
            if (choice.dictionaryForRemaining) {
                *byDictionary = choice.remember;
                if (known && choice.answer.selectionKey == known->id) { // the dictionary's family, taken
                    choice.answer.source = answerSourceOf(known->source);
                    choice.answer.evidence = known->matched;
                }
            }
        }
        if (choice.remember) {
            rememberChoice(question, choice, dialogs);
        }
        return choice.answer;
    };
    if (!map) {
        return ask;
    }
    return taxaMapHandler(std::move(*map), std::move(ask),
                          [&mapped, &differing](const UnknownTaxonQuestion& q, const TaxaMapEntry& e) {
                              ++mapped;
                              const auto known = q.evidence.knownAnswer();
                              if (known && known->id != e.familyId) {
                                  differing.push_back(q.name + " (dictionary: " + known->family + ")");
                              }
                          });
}

void Workflow::rememberChoice(const UnknownTaxonQuestion& question, const TaxonChoice& choice,
                              UserDialogs& dialogs) {
    if (taxaMapPath_.isEmpty()) {
        return;
    }
    try {
        rememberAnswer(pathBytes(taxaMapPath_), question, choice.answer);
    } catch (const std::exception& e) {
        dialogs.showMessage(QStringLiteral("The answer could not be remembered: ") + anyText(e.what()));
    }
}

void Workflow::openTaxaMap() {
    if (taxaMapPath_.isEmpty() || busy()) {
        return;
    }
    try {
        ensureTaxaMap(pathBytes(taxaMapPath_));
    } catch (const std::exception& e) {
        dialogs_.showMessage(anyText(e.what()));
        return;
    }
    emit taxaMapEditRequested(taxaMapPath_);
}

} // namespace torrentix
