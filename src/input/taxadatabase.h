#pragma once
// The taxa database ICMTAXA.db: families with their group and scores, the taxonomic
// groups, the synonyms, and the taxon dictionary of genera and species. Opened read-only; the family record
// set is loaded once, in the order of group name and then family name (compared without regard to case), and
// every look-up answers what a first-match walk in that order would, from in-memory
// indexes. Names are only ever data: no query is built from them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace torrentix {

struct FamilyRecord {
    int id = 0;
    std::string family; // as stored
    int idgroup = 0;
    std::string taxagroup; // group name
    int bmwp = 0;          // BMWP score, 0 where none
    int bmwpe = 0;         // Iberian BMWP score, 0 where none
    int structind = 0;     // degradation score, 0 where none
    // The family the score tables and family lists count this one as (its id): a family split
    // off after they were written is scored and listed as the family it was split from. 0
    // where the family counts as itself.
    int countedAs = 0;
};

// A name of the taxon dictionary: a genus, species, subgenus, species group or family, or an
// older name of one of them.
struct DictionaryEntry {
    std::string taxon;  // as the dictionary writes it ("Ephemera danica")
    std::string rank;   // "Genus", "Species", ..., "Older name"
    std::string family; // the family the dictionary gives, as it writes it
    int familyId = 0;   // the family of this database it stands for; 0 where the database holds none
};

// A name of a group above the family (an order, a class, a suborder ...) that sample files
// write when a taxon is not identified to family: never a family, nor guessed into one.
struct HigherGroup {
    std::string name; // as the database writes it ("EPHEMEROPTERA")
    std::string rank; // "Order", "Class", ...
    int familyId = 0; // the row of the database that stands for the group; 0 where none does
};

// The key under which a dictionary name is found: ASCII letters in capitals, blanks single.
std::string dictionaryKey(std::string_view name);

class TaxaDatabase {
  public:
    // Opens the database file read-only and loads it; throws Error naming the path.
    static TaxaDatabase open(const std::string& path);
    // Builds a database from records already in record-set order (for tests and tools).
    TaxaDatabase(std::vector<FamilyRecord> records, std::vector<std::pair<std::string, int>> synonyms,
                 std::vector<DictionaryEntry> dictionary = {}, std::vector<HigherGroup> higherGroups = {});

    const std::string& path() const { return path_; }
    // The record set, in group-name then family-name order.
    const std::vector<FamilyRecord>& records() const { return records_; }
    std::size_t recordCount() const { return records_.size(); }
    // Length in bytes of the longest family name.
    std::size_t longestName() const { return longestName_; }

    // First record whose upper-cased name equals `upperName`.
    const FamilyRecord* findByName(std::string_view upperName) const;
    // First record whose upper-cased name starts with `upperPrefix`.
    const FamilyRecord* findByPrefix(std::string_view upperPrefix) const;
    // First record with this id.
    const FamilyRecord* findById(int id) const;
    // The family id that a synonym stands for (first synonym in name order), if any.
    std::optional<int> synonymTarget(std::string_view upperName) const;
    // The family an upper-cased name stands for: the family of that name, else the family
    // of the synonym of that name; nullptr when it is neither.
    const FamilyRecord* findFamily(std::string_view upperName) const;
    // The dictionary's entry of a name, compared as dictionaryKey compares it.
    const DictionaryEntry* findInDictionary(std::string_view name) const;
    // The higher group of a name, compared as dictionaryKey compares it.
    const HigherGroup* findHigherGroup(std::string_view name) const;
    // The family a family was split from, as the metrics count it; nullptr where none.
    const FamilyRecord* olderFamily(const FamilyRecord& family) const;
    // The family a family record is counted as by the family lists and counts: the record
    // itself, or the oldest family of the line it was split from.
    const FamilyRecord& countedFamily(const FamilyRecord& family) const;
    // The family a score table counts a family as: the first of the family and the line it was
    // split from that the table scores (`score` above 0), else the oldest of them.
    const FamilyRecord& scoredFamily(const FamilyRecord& family, int FamilyRecord::*score) const;

  private:
    TaxaDatabase() = default;
    void buildIndexes();

    std::string path_;
    std::size_t longestName_ = 0;
    std::vector<FamilyRecord> records_;
    std::unordered_map<std::string, std::size_t> byName_;
    std::unordered_map<std::string, std::size_t> byPrefix_;
    std::unordered_map<int, std::size_t> byId_;
    std::unordered_map<std::string, int> synonyms_;
    std::unordered_map<std::string, DictionaryEntry> dictionary_;
    std::unordered_map<std::string, HigherGroup> higherGroups_;
};

// Where the programs look for the database: beside the executable, then in
// ../share/torrentix/ relative to it. Returns the first that exists, else the first.
std::string defaultTaxaDatabasePath(const std::string& executableFolder);

} // namespace torrentix
