// The user's taxa map in the workflow: it answers the names it knows before the user is
// asked, keeps the answers the user asks to remember, and opens for editing.
#include "app/workflow.h"

#include "app/taxamapfile.h"
#include "graphs/displaytext.h"
#include "input/taxamap.h"

#include <QFileInfo>
#include <QUrl>

#include <optional>

namespace torrentix {

// The handler of one read: the map as it is when the read starts, then the user. `mapped`
// counts the names the map answered.
UnknownTaxonHandler Workflow::taxonHandler(int& mapped) {
    UnknownTaxonHandler ask = [this](const UnknownTaxonQuestion& question) {
        const TaxonChoice choice = askTaxon_(question);
        if (choice.remember) {
            rememberChoice(question, choice);
        }
        return choice.answer;
    };
    if (taxaMapPath_.isEmpty() || !QFileInfo::exists(taxaMapPath_)) {
        return ask;
    }
    std::optional<TaxaMap> map;
    try {
        map = TaxaMap::read(pathBytes(taxaMapPath_), taxa_);
    } catch (const std::exception& e) {
        dialogs_.showMessage(anyText(e.what()) +
                             QStringLiteral("\nUntil it is mended, the names it maps are asked about."));
        return ask;
    }
    return taxaMapHandler(std::move(*map), std::move(ask),
                          [&mapped](const UnknownTaxonQuestion&, const TaxaMapEntry&) { ++mapped; });
}

void Workflow::rememberChoice(const UnknownTaxonQuestion& question, const TaxonChoice& choice) {
    if (taxaMapPath_.isEmpty()) {
        return;
    }
    try {
        rememberAnswer(pathBytes(taxaMapPath_), question, choice.answer);
    } catch (const std::exception& e) {
        dialogs_.showMessage(QStringLiteral("The answer could not be remembered: ") + anyText(e.what()));
    }
}

void Workflow::openTaxaMap() {
    if (taxaMapPath_.isEmpty()) {
        return;
    }
    try {
        ensureTaxaMap(pathBytes(taxaMapPath_));
    } catch (const std::exception& e) {
        dialogs_.showMessage(anyText(e.what()));
        return;
    }
    if (!dialogs_.openUrl(QUrl::fromLocalFile(taxaMapPath_))) {
        dialogs_.showMessage(QStringLiteral("No program opened the taxa map ") + taxaMapPath_ +
                             QStringLiteral(". It is a text file: name, TAB, family or IGNORE."));
    }
}

} // namespace torrentix
