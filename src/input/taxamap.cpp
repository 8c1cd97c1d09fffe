#include "input/taxamap.h"

#include "base/error.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/text.h"

#include <memory>

namespace torrentix {
namespace {

// Upper-cased UTF-8 text of a map cell or a sample file's name.
std::string key(std::string_view text, bool utf8) {
    return toUpperAscii(trimBlanks(utf8 ? std::string(text) : cp1252ToUtf8(text)));
}

bool isHeading(const std::vector<std::string_view>& cells) {
    return cells.size() == 2 && key(cells[0], true) == "NAME" && key(cells[1], true) == "FAMILY";
}

} // namespace

TaxaMap TaxaMap::read(const std::string& path, const TaxaDatabase& taxa) {
    return parse(readWholeFile(path), path, taxa);
}

TaxaMap TaxaMap::parse(std::string_view content, const std::string& path, const TaxaDatabase& taxa) {
    const bool utf8 = isValidUtf8(content);
    TaxaMap map;
    map.path_ = path;
    LineReader lines(withoutByteOrderMark(content));
    int number = 0;
    while (const auto line = lines.next()) {
        ++number;
        const auto fault = [&](const std::string& what) {
            return Error("The taxa map " + path + ", line " + std::to_string(number) + ": " + what);
        };
        std::vector<std::string_view> cells = splitTabs(*line);
        while (cells.size() > 2 && trimBlanks(cells.back()).empty()) {
            cells.pop_back(); // the empty cells a spreadsheet leaves at the end of a line
        }
        if (trimBlanks(*line).empty() || trimBlanks(*line).front() == '#' ||
            (number == 1 && isHeading(cells))) {
            continue;
        }
        if (cells.size() != 2 || key(cells[0], utf8).empty() || key(cells[1], utf8).empty()) {
            throw fault("expected a name, a TAB and a family (or IGNORE).");
        }
        const std::string name = key(cells[0], utf8);
        const std::string family = key(cells[1], utf8);
        TaxaMapEntry entry{0, {}, number};
        if (family != "IGNORE") {
            const FamilyRecord* record = taxa.findFamily(family);
            if (!record) {
                throw fault("the family \"" + std::string(trimBlanks(cells[1])) +
                            "\" is not in the taxa database.");
            }
            entry = {record->id, record->family, number};
        }
        const auto [earlier, added] = map.entries_.emplace(name, entry);
        if (!added && earlier->second.familyId != entry.familyId) {
            const std::string& earlierFamily = earlier->second.family;
            throw fault("\"" + std::string(trimBlanks(cells[0])) + "\" is already mapped to " +
                        (earlierFamily.empty() ? std::string("IGNORE") : earlierFamily) + " on line " +
                        std::to_string(earlier->second.line) + ".");
        }
    }
    return map;
}

const TaxaMapEntry* TaxaMap::find(const std::string& upperName, bool utf8) const {
    const auto found = entries_.find(key(upperName, utf8));
    return found == entries_.end() ? nullptr : &found->second;
}

UnknownTaxonHandler taxaMapHandler(TaxaMap map, UnknownTaxonHandler next, TaxaMapApplied applied) {
    auto shared = std::make_shared<const TaxaMap>(std::move(map));
    return [shared, next = std::move(next), applied = std::move(applied)](const UnknownTaxonQuestion& q) {
        const TaxaMapEntry* entry = shared->find(q.name, q.utf8);
        if (!entry) {
            return next ? next(q) : UnknownTaxonAnswer::abort();
        }
        if (applied) {
            applied(q, *entry);
        }
        const std::string line = "line " + std::to_string(entry->line);
        return entry->familyId == 0
                   ? UnknownTaxonAnswer::ignore(AnswerSource::TaxaMap, "taxa map, " + line)
                   : UnknownTaxonAnswer::family(entry->familyId, entry->family, AnswerSource::TaxaMap, line);
    };
}

} // namespace torrentix
