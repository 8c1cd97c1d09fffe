// maketaxadb SOURCE_DIR OUTPUT_DB
//
// Builds the taxa database from its text sources: groups.tsv, families.tsv, synonyms.tsv, the
// families the metrics count as older families (counted-as.tsv), the taxon dictionary
// dictionary.tsv with the families it is mapped to in dictionary-families.tsv, the genera it lacks
// (supplementary-genera.tsv) and the names of groups above the family (higher-groups.tsv)
// (tab separated, one header line, LF or CRLF line ends). Every problem found in the sources is
// reported as "file:line: message" and nothing is written. The database is built in a temporary
// file next to OUTPUT_DB and renamed over it only once complete.

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Line {
    int number = 0;
    std::vector<std::string> fields;
};

struct Group {
    int id = 0;
    std::string name;
};

struct Family {
    int id = 0;
    std::string name;
    int group = 0;
    int bmwp = 0;
    int bmwpe = 0;
    int structind = 0;
    std::string countedAs; // the family the metrics count this one as; empty: itself
};

struct Synonym {
    std::string name;
    std::string family;
};

// A name of the taxon dictionary: a genus, species, subgenus, species group or family, or an
// older name of one of them, with the family the dictionary gives and the family of this database
// it stands for (empty when the database does not hold that family).
struct DictionaryName {
    std::string taxon;
    std::string rank;
    std::string family;
    std::string databaseFamily;
};

// A name of a group above the family, with the family row that stands for it, if any.
struct HigherGroupName {
    std::string name;
    std::string rank;
    std::string family;
};

struct Sources {
    std::vector<Group> groups;
    std::vector<Family> families;
    std::vector<Synonym> synonyms;
    std::vector<DictionaryName> dictionary;
    std::vector<HigherGroupName> higherGroups;
};

// Collects the problems found in the sources, each with its file and line.
class Problems {
  public:
    void add(const fs::path& file, int line, const std::string& message) {
        std::cerr << file.string();
        if (line > 0)
            std::cerr << ':' << line;
        std::cerr << ": " << message << '\n';
        ++count_;
    }
    bool any() const { return count_ > 0; }

  private:
    int count_ = 0;
};

std::vector<std::string> splitTabs(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = text.find('\t', start);
        fields.push_back(text.substr(start, tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

// Reads the data lines of a source: header skipped (with any byte order mark in front of it),
// the CR of CRLF line ends removed, blank lines ignored.
std::optional<std::vector<Line>> readLines(const fs::path& file, Problems& problems) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        problems.add(file, 0, "cannot be read");
        return std::nullopt;
    }
    std::vector<Line> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (number == 1 || text.empty())
            continue;
        lines.push_back({number, splitTabs(text)});
    }
    return lines;
}

std::optional<int> toInt(const std::string& text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Checks the number of fields of a line; the last `optional` fields may be missing.
bool hasFields(const fs::path& file, const Line& line, std::size_t count, std::size_t optional,
               Problems& problems) {
    if (line.fields.size() <= count && line.fields.size() + optional >= count)
        return true;
    problems.add(file, line.number,
                 "expected " + std::to_string(count) + " columns, found " +
                     std::to_string(line.fields.size()));
    return false;
}

std::optional<int> intField(const fs::path& file, const Line& line, std::size_t column, const char* name,
                            Problems& problems) {
    auto value = toInt(line.fields[column]);
    if (!value)
        problems.add(file, line.number,
                     std::string(name) + " is not an integer: '" + line.fields[column] + "'");
    return value;
}

// Ids and names defined by a file, each with the line that defines it.
using IdLines = std::map<int, int>;
using NameLines = std::map<std::string, int>;

template <typename Key>
bool defineOnce(const fs::path& file, const Line& line, const Key& key, const std::string& what,
                std::map<Key, int>& defined, Problems& problems) {
    auto [first, isNew] = defined.emplace(key, line.number);
    if (!isNew)
        problems.add(file, line.number,
                     "duplicate " + what + " (first on line " + std::to_string(first->second) + ")");
    return isNew;
}

std::optional<int> idField(const fs::path& file, const Line& line, const char* name, IdLines& defined,
                           Problems& problems) {
    auto id = intField(file, line, 0, name, problems);
    if (!id)
        return std::nullopt;
    if (*id <= 0) {
        problems.add(file, line.number, std::string(name) + " must be positive: " + std::to_string(*id));
        return std::nullopt;
    }
    if (!defineOnce(file, line, *id, std::string(name) + " " + std::to_string(*id), defined, problems))
        return std::nullopt;
    return id;
}

bool nameField(const fs::path& file, const Line& line, std::size_t column, NameLines& defined,
               Problems& problems) {
    const std::string& name = line.fields[column];
    if (name.empty()) {
        problems.add(file, line.number, "empty name");
        return false;
    }
    return defineOnce(file, line, name, "name " + name, defined, problems);
}

// The read* functions return every id or name their file defines, faulty rows included, so that
// one faulty row is not reported again from the files that refer to it.
IdLines readGroups(const fs::path& file, const std::vector<Line>& lines, Sources& sources,
                   Problems& problems) {
    IdLines ids;
    NameLines names;
    for (const Line& line : lines) {
        if (!hasFields(file, line, 2, 0, problems))
            continue;
        auto id = idField(file, line, "ID_GC", ids, problems);
        bool named = nameField(file, line, 1, names, problems);
        if (id && named)
            sources.groups.push_back({*id, line.fields[1]});
    }
    return ids;
}

NameLines readFamilies(const fs::path& file, const std::vector<Line>& lines, const IdLines& groups,
                       Sources& sources, Problems& problems) {
    IdLines ids;
    NameLines names;
    for (const Line& line : lines) {
        if (!hasFields(file, line, 7, 1, problems)) // the note column is for readers only
            continue;
        auto id = idField(file, line, "id", ids, problems);
        bool named = nameField(file, line, 1, names, problems);
        auto group = intField(file, line, 2, "idgroup", problems);
        auto bmwp = intField(file, line, 3, "bmwp", problems);
        auto bmwpe = intField(file, line, 4, "bmwpe", problems);
        auto structind = intField(file, line, 5, "structind", problems);
        if (group && !groups.contains(*group)) {
            problems.add(file, line.number, "unknown group " + std::to_string(*group));
            continue;
        }
        if (id && named && group && bmwp && bmwpe && structind)
            sources.families.push_back({*id, line.fields[1], *group, *bmwp, *bmwpe, *structind, {}});
    }
    return names;
}

void readSynonyms(const fs::path& file, const std::vector<Line>& lines, const NameLines& families,
                  Sources& sources, Problems& problems) {
    NameLines names;
    for (const Line& line : lines) {
        if (!hasFields(file, line, 2, 0, problems) || !nameField(file, line, 0, names, problems))
            continue;
        const std::string& synonym = line.fields[0];
        const std::string& family = line.fields[1];
        if (families.contains(synonym))
            problems.add(file, line.number, "synonym " + synonym + " is itself a family");
        else if (!families.contains(family))
            problems.add(file, line.number, "unknown family " + family);
        else
            sources.synonyms.push_back({synonym, family});
    }
}

// Follows the line of older families from a family; false when it comes back to a family.
bool endsWithoutLoop(const Family& start, const std::map<std::string, Family*>& byName) {
    std::set<std::string> seen{start.name};
    for (const Family* f = &start; !f->countedAs.empty();) {
        f = byName.at(f->countedAs);
        if (!seen.insert(f->name).second)
            return false;
    }
    return true;
}

// The families the score tables and family lists count as an older family (counted-as.tsv): a
// family split off after they were written. A family the BMWP table scores counts as itself; the
// older family holds a score, or is itself counted as one that does, without a loop.
void readCountedAs(const fs::path& file, const std::vector<Line>& lines, Sources& sources,
                   Problems& problems) {
    std::map<std::string, Family*> byName;
    for (Family& f : sources.families)
        byName[f.name] = &f;
    NameLines names;
    for (const Line& line : lines) {
        if (!hasFields(file, line, 3, 0, problems) || !nameField(file, line, 0, names, problems))
            continue;
        const auto family = byName.find(line.fields[0]);
        const auto older = byName.find(line.fields[1]);
        if (family == byName.end())
            problems.add(file, line.number, "unknown family " + line.fields[0]);
        else if (older == byName.end())
            problems.add(file, line.number, "unknown family " + line.fields[1]);
        else if (family == older)
            problems.add(file, line.number, line.fields[0] + " is counted as itself");
        else if (family->second->bmwp != 0)
            problems.add(file, line.number, line.fields[0] + " has a BMWP score of its own");
        else if (line.fields[2].empty())
            problems.add(file, line.number, "the source of the split is missing");
        else
            family->second->countedAs = line.fields[1];
    }
    for (const Line& line : lines) {
        const auto family = byName.find(line.fields[0]);
        if (family == byName.end() || family->second->countedAs.empty())
            continue;
        if (!endsWithoutLoop(*family->second, byName)) {
            problems.add(file, line.number, line.fields[0] + " is counted as itself through older families");
            continue;
        }
        bool scored = false;
        for (const Family* f = family->second; !scored && !f->countedAs.empty();) {
            f = byName.at(f->countedAs);
            scored = f->bmwp != 0 || f->bmwpe != 0;
        }
        if (!scored)
            problems.add(file, line.number,
                         line.fields[1] + " has no score to count " + line.fields[0] + " by");
    }
}

// --- The taxon dictionary ----------------------------------------------------------------------

// A dictionary name as the program compares it: ASCII letters in capitals, blanks single.
std::string nameKey(const std::string& name) {
    std::string key;
    for (char c : name) {
        if (c == ' ' || c == '\t') {
            if (!key.empty() && key.back() != ' ')
                key += ' ';
        } else {
            key += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
    }
    if (!key.empty() && key.back() == ' ')
        key.pop_back();
    return key;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The genus of a dictionary name: its first word.
std::string genusOf(const std::string& taxon) {
    return taxon.substr(0, taxon.find(' '));
}

// An older name of the dictionary's last column that reads as a taxon name ("Anheteromeyenia
// ryderi", "Limnophila (Eloeophila)"), not as a remark ("Baetis scambus and Baetis fuscatus").
bool readsAsTaxonName(const std::string& name) {
    std::size_t words = 0;
    bool subgenus = false;
    std::size_t start = 0;
    while (start < name.size()) {
        const std::size_t end = std::min(name.find(' ', start), name.size());
        const std::string word = name.substr(start, end - start);
        const bool lowerWord = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || c == '-';
        });
        const bool capitalWord =
            word.size() > 1 && word[0] >= 'A' && word[0] <= 'Z' &&
            std::all_of(word.begin() + 1, word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
        const bool inParentheses =
            word.size() > 3 && word.front() == '(' && word.back() == ')' && words == 1 && !subgenus;
        if (words == 0 ? !capitalWord : !(lowerWord || inParentheses) || words > 3)
            return false;
        subgenus = subgenus || inParentheses;
        ++words;
        start = end + 1;
    }
    return words > 0;
}

// The families of this database that genera or whole families of the dictionary are sent to
// instead of the family the dictionary gives (dictionary-families.tsv): a genus filed under an
// older family, a family the database holds under another spelling or as one higher taxon.
struct FamilyRules {
    std::map<std::string, std::string> byName; // dictionary genus or family -> family of the database
    std::map<std::string, int> lineOf;
    std::set<std::string> used;
};

FamilyRules readFamilyRules(const fs::path& file, const std::vector<Line>& lines, const NameLines& families,
                            Problems& problems) {
    FamilyRules rules;
    for (const Line& line : lines) {
        if (!hasFields(file, line, 3, 1, problems) || !nameField(file, line, 0, rules.lineOf, problems))
            continue;
        if (!families.contains(line.fields[1]))
            problems.add(file, line.number, "unknown family " + line.fields[1]);
        else
            rules.byName[line.fields[0]] = line.fields[1];
    }
    return rules;
}

// Reads the dictionary; returns the keys of its names.
NameLines readDictionary(const fs::path& file, const std::vector<Line>& lines, const fs::path& rulesFile,
                         FamilyRules& rules, const std::map<std::string, std::string>& synonyms,
                         const NameLines& families, Sources& sources, Problems& problems) {
    NameLines keys;
    std::map<std::string, std::pair<std::string, std::string>> olderNames; // key -> family, family here
    std::set<std::string> ambiguous;
    std::vector<std::string> olderNameOrder;
    std::set<std::string> dictionaryFamilies;
    for (const Line& line : lines) {
        if (!hasFields(file, line, 5, 2, problems))
            continue;
        DictionaryName name{trimmed(line.fields[0]), trimmed(line.fields[1]), trimmed(line.fields[2]), {}};
        if (name.taxon.empty() || name.rank.empty() || name.family.empty()) {
            problems.add(file, line.number, "a name, its rank and its family are needed");
            continue;
        }
        if (!defineOnce(file, line, nameKey(name.taxon), "name " + name.taxon, keys, problems))
            continue;
        dictionaryFamilies.insert(name.family);
        std::string upperFamily = nameKey(name.family);
        if (auto rule = rules.byName.find(genusOf(name.taxon)); rule != rules.byName.end()) {
            name.databaseFamily = rule->second;
            rules.used.insert(rule->first);
        } else if (auto familyRule = rules.byName.find(name.family); familyRule != rules.byName.end()) {
            name.databaseFamily = familyRule->second;
            rules.used.insert(familyRule->first);
        } else if (families.contains(upperFamily)) {
            name.databaseFamily = upperFamily;
        } else if (auto synonym = synonyms.find(upperFamily); synonym != synonyms.end()) {
            name.databaseFamily = synonym->second;
        }
        sources.dictionary.push_back(name);
        if (line.fields.size() < 5)
            continue;
        std::size_t start = 0;
        const std::string& older = line.fields[4];
        while (start <= older.size()) {
            const std::size_t end = std::min(older.find(';', start), older.size());
            const std::string alias = trimmed(older.substr(start, end - start));
            start = end + 1;
            if (!readsAsTaxonName(alias))
                continue;
            const std::string key = nameKey(alias);
            auto [known, isNew] = olderNames.emplace(key, std::make_pair(name.family, name.databaseFamily));
            if (isNew)
                olderNameOrder.push_back(alias);
            else if (known->second != std::make_pair(name.family, name.databaseFamily))
                ambiguous.insert(key);
        }
    }
    for (const auto& [name, _] : rules.byName)
        if (!rules.used.contains(name))
            problems.add(
                rulesFile, rules.lineOf.at(name),
                name + " sends no dictionary name to a family" +
                    (dictionaryFamilies.contains(name) ? " (every genus of it has a rule of its own)" : ""));
    // Older names that are names of the dictionary themselves, or stand for two families, are left out.
    for (const std::string& alias : olderNameOrder) {
        const std::string key = nameKey(alias);
        if (keys.contains(key) || ambiguous.contains(key))
            continue;
        const auto& [family, databaseFamily] = olderNames.at(key);
        sources.dictionary.push_back({alias, "Older name", family, databaseFamily});
    }
    return keys;
}

// Genera of European rivers the dictionary lacks (supplementary-genera.tsv), each with the family
// of this database it belongs to and the source that places it there.
void readSupplementaryGenera(const fs::path& file, const std::vector<Line>& lines, const NameLines& families,
                             NameLines& dictionaryKeys, Sources& sources, Problems& problems) {
    for (const Line& line : lines) {
        if (!hasFields(file, line, 4, 0, problems))
            continue;
        DictionaryName name{trimmed(line.fields[0]), trimmed(line.fields[1]), trimmed(line.fields[2]), {}};
        if (name.taxon.empty() || name.rank.empty() || line.fields[3].empty()) {
            problems.add(file, line.number, "a name, its rank and the source of its family are needed");
            continue;
        }
        if (!families.contains(name.family)) {
            problems.add(file, line.number, "unknown family " + name.family);
            continue;
        }
        auto [first, isNew] = dictionaryKeys.emplace(nameKey(name.taxon), line.number);
        if (!isNew) {
            problems.add(file, line.number, name.taxon + " is already a name of the dictionary");
            continue;
        }
        name.databaseFamily = name.family;
        sources.dictionary.push_back(name);
    }
}

// Names of groups above the family (higher-groups.tsv), with the family row that stands for the
// group where the database has one. Such a name is never a genus of the dictionary, and never
// a family or a synonym other than its own row.
void readHigherGroups(const fs::path& file, const std::vector<Line>& lines, const NameLines& families,
                      const std::map<std::string, std::string>& synonyms, const NameLines& dictionaryKeys,
                      Sources& sources, Problems& problems) {
    NameLines names;
    for (const Line& line : lines) {
        if (!hasFields(file, line, 3, 1, problems) || !nameField(file, line, 0, names, problems))
            continue;
        HigherGroupName group{line.fields[0], line.fields[1], line.fields.size() > 2 ? line.fields[2] : ""};
        const auto synonym = synonyms.find(group.name);
        const std::string standsFor = families.contains(group.name) ? group.name
                                      : synonym != synonyms.end()   ? synonym->second
                                                                    : std::string();
        if (group.rank.empty())
            problems.add(file, line.number, "the rank of " + group.name + " is missing");
        else if (!group.family.empty() && !families.contains(group.family))
            problems.add(file, line.number, "unknown family " + group.family);
        else if (!standsFor.empty() && standsFor != group.family)
            problems.add(file, line.number, group.name + " is a name of the family " + standsFor);
        else if (dictionaryKeys.contains(nameKey(group.name)))
            problems.add(file, line.number, group.name + " is a name of the taxon dictionary");
        else
            sources.higherGroups.push_back(group);
    }
}

std::optional<Sources> readSources(const fs::path& dir) {
    Problems problems;
    const fs::path groupFile = dir / "groups.tsv";
    const fs::path familyFile = dir / "families.tsv";
    const fs::path synonymFile = dir / "synonyms.tsv";
    const fs::path dictionaryFile = dir / "dictionary.tsv";
    const fs::path rulesFile = dir / "dictionary-families.tsv";
    const fs::path countedAsFile = dir / "counted-as.tsv";
    const fs::path generaFile = dir / "supplementary-genera.tsv";
    const fs::path higherGroupFile = dir / "higher-groups.tsv";
    auto groupLines = readLines(groupFile, problems);
    auto familyLines = readLines(familyFile, problems);
    auto synonymLines = readLines(synonymFile, problems);
    auto dictionaryLines = readLines(dictionaryFile, problems);
    auto ruleLines = readLines(rulesFile, problems);
    auto countedAsLines = readLines(countedAsFile, problems);
    auto generaLines = readLines(generaFile, problems);
    auto higherGroupLines = readLines(higherGroupFile, problems);
    if (problems.any())
        return std::nullopt;

    Sources sources;
    auto groups = readGroups(groupFile, *groupLines, sources, problems);
    auto families = readFamilies(familyFile, *familyLines, groups, sources, problems);
    readSynonyms(synonymFile, *synonymLines, families, sources, problems);
    readCountedAs(countedAsFile, *countedAsLines, sources, problems);
    std::map<std::string, std::string> synonyms;
    for (const Synonym& s : sources.synonyms)
        synonyms[s.name] = s.family;
    FamilyRules rules = readFamilyRules(rulesFile, *ruleLines, families, problems);
    NameLines dictionaryKeys = readDictionary(dictionaryFile, *dictionaryLines, rulesFile, rules, synonyms,
                                              families, sources, problems);
    readSupplementaryGenera(generaFile, *generaLines, families, dictionaryKeys, sources, problems);
    readHigherGroups(higherGroupFile, *higherGroupLines, families, synonyms, dictionaryKeys, sources,
                     problems);
    if (problems.any())
        return std::nullopt;
    return sources;
}

// --- SQLite ------------------------------------------------------------------------------------

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
    throw std::runtime_error(what + ": " + sqlite3_errmsg(db));
}

Database openDatabase(const fs::path& file) {
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Database db(raw);
    if (rc != SQLITE_OK)
        fail(db.get(), "cannot create " + file.string());
    return db;
}

void execute(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(db, sql);
}

Statement prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK)
        fail(db, sql);
    return Statement(raw);
}

void bind(sqlite3_stmt* statement, int index, int value) {
    sqlite3_bind_int(statement, index, value);
}
void bind(sqlite3_stmt* statement, int index, std::nullptr_t) {
    sqlite3_bind_null(statement, index);
}
void bind(sqlite3_stmt* statement, int index, const std::string& value) {
    sqlite3_bind_text(statement, index, value.c_str(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
}

template <typename... Values> void insert(sqlite3* db, sqlite3_stmt* statement, const Values&... values) {
    int index = 0;
    (bind(statement, ++index, values), ...);
    if (sqlite3_step(statement) != SQLITE_DONE)
        fail(db, "insert");
    sqlite3_reset(statement);
}

void writeDatabase(const fs::path& file, const Sources& sources) {
    Database db = openDatabase(file);
    execute(db.get(), "PRAGMA foreign_keys = ON");
    execute(db.get(), "BEGIN");
    execute(db.get(), "CREATE TABLE TaxaGroup(ID_GC INTEGER PRIMARY KEY, TaxaGroup TEXT NOT NULL)");
    execute(db.get(), "CREATE TABLE Family(id INTEGER PRIMARY KEY, family TEXT NOT NULL, idgroup INTEGER NOT "
                      "NULL REFERENCES TaxaGroup(ID_GC), bmwp INTEGER, bmwpe INTEGER, structind INTEGER, "
                      "counted_as INTEGER REFERENCES Family(id) DEFERRABLE INITIALLY DEFERRED)");
    execute(db.get(),
            "CREATE TABLE syn(family TEXT NOT NULL, id_tax INTEGER NOT NULL REFERENCES Family(id))");
    // id_tax is empty where the database does not hold the family the dictionary gives.
    execute(db.get(),
            "CREATE TABLE dictionary(taxon TEXT NOT NULL, rank TEXT NOT NULL, family TEXT NOT NULL, "
            "id_tax INTEGER REFERENCES Family(id))");
    execute(db.get(), "CREATE TABLE highergroup(name TEXT NOT NULL, rank TEXT NOT NULL, "
                      "id_tax INTEGER REFERENCES Family(id))");

    Statement group = prepare(db.get(), "INSERT INTO TaxaGroup(ID_GC, TaxaGroup) VALUES(?, ?)");
    for (const Group& g : sources.groups)
        insert(db.get(), group.get(), g.id, g.name);

    std::map<std::string, int> familyIds;
    for (const Family& f : sources.families)
        familyIds[f.name] = f.id;
    Statement family = prepare(db.get(), "INSERT INTO Family(id, family, idgroup, bmwp, bmwpe, structind, "
                                         "counted_as) VALUES(?, ?, ?, ?, ?, ?, ?)");
    for (const Family& f : sources.families) {
        if (f.countedAs.empty())
            insert(db.get(), family.get(), f.id, f.name, f.group, f.bmwp, f.bmwpe, f.structind, nullptr);
        else
            insert(db.get(), family.get(), f.id, f.name, f.group, f.bmwp, f.bmwpe, f.structind,
                   familyIds.at(f.countedAs));
    }

    Statement synonym = prepare(db.get(), "INSERT INTO syn(family, id_tax) VALUES(?, ?)");
    for (const Synonym& s : sources.synonyms)
        insert(db.get(), synonym.get(), s.name, familyIds.at(s.family));

    Statement name =
        prepare(db.get(), "INSERT INTO dictionary(taxon, rank, family, id_tax) VALUES(?, ?, ?, ?)");
    for (const DictionaryName& n : sources.dictionary) {
        if (n.databaseFamily.empty())
            insert(db.get(), name.get(), n.taxon, n.rank, n.family, nullptr);
        else
            insert(db.get(), name.get(), n.taxon, n.rank, n.family, familyIds.at(n.databaseFamily));
    }

    Statement higher = prepare(db.get(), "INSERT INTO highergroup(name, rank, id_tax) VALUES(?, ?, ?)");
    for (const HigherGroupName& g : sources.higherGroups) {
        if (g.family.empty())
            insert(db.get(), higher.get(), g.name, g.rank, nullptr);
        else
            insert(db.get(), higher.get(), g.name, g.rank, familyIds.at(g.family));
    }
    execute(db.get(), "COMMIT");
}

void removeLeftovers(const fs::path& temporary) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    // A journal left by an interrupted run would otherwise be played back into the new file.
    fs::remove(fs::path(temporary) += "-journal", ignored);
}

// Builds the database under a temporary name in the target folder, then renames it into place,
// so that OUTPUT_DB is either the previous database or the complete new one.
void replaceDatabase(const fs::path& output, const Sources& sources) {
    fs::path temporary = output;
    temporary += ".building";
    removeLeftovers(temporary);
    try {
        writeDatabase(temporary, sources);
        fs::rename(temporary, output);
    } catch (...) {
        removeLeftovers(temporary);
        throw;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: maketaxadb SOURCE_DIR OUTPUT_DB\n";
        return 2;
    }
    auto sources = readSources(argv[1]);
    if (!sources) {
        std::cerr << "maketaxadb: the taxa sources have errors; " << argv[2] << " was not written\n";
        return 1;
    }
    try {
        replaceDatabase(argv[2], *sources);
    } catch (const std::exception& e) {
        std::cerr << "maketaxadb: " << e.what() << '\n';
        return 1;
    }
    std::cout << "maketaxadb: " << argv[2] << ": " << sources->groups.size() << " groups, "
              << sources->families.size() << " families ("
              << std::count_if(sources->families.begin(), sources->families.end(),
                               [](const Family& f) { return !f.countedAs.empty(); })
              << " counted as an older family), " << sources->synonyms.size() << " synonyms, "
              << sources->dictionary.size() << " dictionary names ("
              << std::count_if(sources->dictionary.begin(), sources->dictionary.end(),
                               [](const DictionaryName& n) { return !n.databaseFamily.empty(); })
              << " with a family of the database), " << sources->higherGroups.size() << " higher groups\n";
    return 0;
}
