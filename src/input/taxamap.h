#pragma once
// A taxa map: the user's own answers to taxon names that the taxa database does not
// know, kept in a file so that every sample file of a survey is corrected the same way.
// The file is tab-separated text, one name per line: the name as the sample files write
// it, a TAB, then a family of the taxa database (or one of its synonyms) or IGNORE to
// leave the column out. Blank lines and lines starting with "#" are skipped, and so is a
// first line reading "name<TAB>family". Names and families are compared without regard to
// the case of their ASCII letters. UTF-8 or Windows-1252.

#include "input/nameresolution.h"
#include "input/taxadatabase.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace torrentix {

struct TaxaMapEntry {
    int familyId = 0;   // 0: ignore the column
    std::string family; // the family of the database, as it stores it; empty: ignore
    int line = 0;       // the map's line that gives it
};

class TaxaMap {
  public:
    // Reads a map file; throws Error naming the file, and the line of the first fault.
    static TaxaMap read(const std::string& path, const TaxaDatabase& taxa);
    // Reads the text of a map; `path` names it in messages.
    static TaxaMap parse(std::string_view content, const std::string& path, const TaxaDatabase& taxa);

    // The entry of an upper-cased name of a sample file (UTF-8 or Windows-1252 text).
    const TaxaMapEntry* find(const std::string& upperName, bool utf8) const;
    std::size_t size() const { return entries_.size(); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::unordered_map<std::string, TaxaMapEntry> entries_; // by upper-cased UTF-8 name
};

// Told of each name that the map answers.
using TaxaMapApplied = std::function<void(const UnknownTaxonQuestion&, const TaxaMapEntry&)>;

// A handler that answers the names of the map without asking, and passes every other
// name on to `next`. It keeps its own copy of the map.
UnknownTaxonHandler taxaMapHandler(TaxaMap map, UnknownTaxonHandler next, TaxaMapApplied applied = {});

} // namespace torrentix
