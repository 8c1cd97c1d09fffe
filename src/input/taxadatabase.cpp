#include "input/taxadatabase.h"

#include "base/files.h"
#include "base/text.h"

#include <algorithm>
#include <memory>
#include <sqlite3.h>

namespace torrentix {
namespace {

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

[[noreturn]] void fail(const std::string& path, const std::string& reason) {
    throw Error("The taxa database " + path + " could not be opened: " + reason + ".");
}

// "file:" URI with mode=ro; the characters that a URI gives a meaning are escaped. An
// absolute path gets an empty authority ("file://" + path), so that a path starting with
// "//" is not read as the name of a host.
std::string readOnlyUri(const std::string& path) {
    std::string uri = path.starts_with('/') ? "file://" : "file:";
    for (char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            static const char* hex = "0123456789ABCDEF";
            uri += '%';
            uri += hex[(static_cast<unsigned char>(c) >> 4) & 0xF];
            uri += hex[static_cast<unsigned char>(c) & 0xF];
        } else {
            uri += c;
        }
    }
    return uri + "?mode=ro";
}

DatabaseHandle openReadOnly(const std::string& path) {
    if (!fileExists(path)) {
        fail(path, "no such file");
    }
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(readOnlyUri(path).c_str(), &raw,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    DatabaseHandle db(raw);
    if (rc != SQLITE_OK) {
        fail(path, raw ? sqlite3_errmsg(raw) : "out of memory");
    }
    return db;
}

StatementHandle prepare(sqlite3* db, const std::string& path, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        fail(path, sqlite3_errmsg(db));
    }
    return StatementHandle(raw);
}

std::string textColumn(sqlite3_stmt* statement, int column) {
    const auto* text = sqlite3_column_text(statement, column);
    return text ? reinterpret_cast<const char*>(text) : std::string();
}

// Scores and codes stored as whole numbers; an empty field reads as 0.
int intColumn(sqlite3_stmt* statement, int column) {
    return sqlite3_column_int(statement, column);
}

std::vector<FamilyRecord> loadFamilies(sqlite3* db, const std::string& path) {
    auto statement = prepare(db, path,
                             "SELECT Family.id, Family.family, Family.idgroup, TaxaGroup.TaxaGroup, "
                             "Family.bmwp, Family.bmwpe, Family.structind, Family.counted_as "
                             "FROM TaxaGroup INNER JOIN Family ON TaxaGroup.ID_GC = Family.idgroup "
                             "ORDER BY TaxaGroup.TaxaGroup COLLATE NOCASE, Family.family COLLATE NOCASE, "
                             "Family.id");
    std::vector<FamilyRecord> records;
    int rc = 0;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        FamilyRecord r;
        r.id = intColumn(statement.get(), 0);
        r.family = textColumn(statement.get(), 1);
        r.idgroup = intColumn(statement.get(), 2);
        r.taxagroup = textColumn(statement.get(), 3);
        r.bmwp = intColumn(statement.get(), 4);
        r.bmwpe = intColumn(statement.get(), 5);
        r.structind = intColumn(statement.get(), 6);
        r.countedAs = intColumn(statement.get(), 7);
        records.push_back(std::move(r));
    }
    if (rc != SQLITE_DONE) {
        fail(path, sqlite3_errmsg(db));
    }
    return records;
}

std::vector<std::pair<std::string, int>> loadSynonyms(sqlite3* db, const std::string& path) {
    auto statement =
        prepare(db, path, "SELECT family, id_tax FROM syn ORDER BY family COLLATE NOCASE, rowid");
    std::vector<std::pair<std::string, int>> synonyms;
    int rc = 0;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        synonyms.emplace_back(textColumn(statement.get(), 0), intColumn(statement.get(), 1));
    }
    if (rc != SQLITE_DONE) {
        fail(path, sqlite3_errmsg(db));
    }
    return synonyms;
}

bool hasTable(sqlite3* db, const std::string& path, const char* table) {
    auto exists = prepare(db, path, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
    sqlite3_bind_text(exists.get(), 1, table, -1, SQLITE_STATIC);
    return sqlite3_step(exists.get()) == SQLITE_ROW;
}

// The taxon dictionary, where the database has one (a database without it is read as before).
std::vector<DictionaryEntry> loadDictionary(sqlite3* db, const std::string& path) {
    std::vector<DictionaryEntry> entries;
    if (!hasTable(db, path, "dictionary")) {
        return entries;
    }
    auto statement = prepare(db, path, "SELECT taxon, rank, family, id_tax FROM dictionary ORDER BY rowid");
    int rc = 0;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        entries.push_back({textColumn(statement.get(), 0), textColumn(statement.get(), 1),
                           textColumn(statement.get(), 2), intColumn(statement.get(), 3)});
    }
    if (rc != SQLITE_DONE) {
        fail(path, sqlite3_errmsg(db));
    }
    return entries;
}

// The names of groups above the family, where the database has them.
std::vector<HigherGroup> loadHigherGroups(sqlite3* db, const std::string& path) {
    std::vector<HigherGroup> groups;
    if (!hasTable(db, path, "highergroup")) {
        return groups;
    }
    auto statement = prepare(db, path, "SELECT name, rank, id_tax FROM highergroup ORDER BY rowid");
    int rc = 0;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        groups.push_back(
            {textColumn(statement.get(), 0), textColumn(statement.get(), 1), intColumn(statement.get(), 2)});
    }
    if (rc != SQLITE_DONE) {
        fail(path, sqlite3_errmsg(db));
    }
    return groups;
}

// Shortest prefix the name resolution ever looks up.
constexpr std::size_t shortestPrefix = 6;

} // namespace

TaxaDatabase TaxaDatabase::open(const std::string& path) {
    auto db = openReadOnly(path);
    TaxaDatabase taxa(loadFamilies(db.get(), path), loadSynonyms(db.get(), path),
                      loadDictionary(db.get(), path), loadHigherGroups(db.get(), path));
    taxa.path_ = path;
    if (taxa.records_.empty()) {
        fail(path, "it holds no family");
    }
    return taxa;
}

TaxaDatabase::TaxaDatabase(std::vector<FamilyRecord> records,
                           std::vector<std::pair<std::string, int>> synonyms,
                           std::vector<DictionaryEntry> dictionary, std::vector<HigherGroup> higherGroups)
    : records_(std::move(records)) {
    buildIndexes();
    for (auto& [name, id] : synonyms) {
        synonyms_.try_emplace(toUpperAscii(name), id);
    }
    for (auto& entry : dictionary) {
        std::string key = dictionaryKey(entry.taxon);
        dictionary_.try_emplace(std::move(key), std::move(entry));
    }
    for (auto& group : higherGroups) {
        std::string key = dictionaryKey(group.name);
        higherGroups_.try_emplace(std::move(key), std::move(group));
    }
}

void TaxaDatabase::buildIndexes() {
    for (std::size_t i = 0; i < records_.size(); ++i) {
        std::string upper = toUpperAscii(records_[i].family);
        longestName_ = std::max(longestName_, upper.size());
        byName_.try_emplace(upper, i);
        byId_.try_emplace(records_[i].id, i);
        for (std::size_t k = shortestPrefix; k <= upper.size(); ++k) {
            byPrefix_.try_emplace(upper.substr(0, k), i);
        }
    }
}

const FamilyRecord* TaxaDatabase::findByName(std::string_view upperName) const {
    auto it = byName_.find(std::string(upperName));
    return it == byName_.end() ? nullptr : &records_[it->second];
}

const FamilyRecord* TaxaDatabase::findByPrefix(std::string_view upperPrefix) const {
    if (upperPrefix.size() < shortestPrefix) {
        for (const auto& r : records_) {
            if (toUpperAscii(r.family).starts_with(upperPrefix)) {
                return &r;
            }
        }
        return nullptr;
    }
    auto it = byPrefix_.find(std::string(upperPrefix));
    return it == byPrefix_.end() ? nullptr : &records_[it->second];
}

const FamilyRecord* TaxaDatabase::findById(int id) const {
    auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : &records_[it->second];
}

std::optional<int> TaxaDatabase::synonymTarget(std::string_view upperName) const {
    auto it = synonyms_.find(std::string(upperName));
    if (it == synonyms_.end()) {
        return std::nullopt;
    }
    return it->second;
}

const FamilyRecord* TaxaDatabase::findFamily(std::string_view upperName) const {
    if (const FamilyRecord* family = findByName(upperName)) {
        return family;
    }
    const auto target = synonymTarget(upperName);
    return target ? findById(*target) : nullptr;
}

const DictionaryEntry* TaxaDatabase::findInDictionary(std::string_view name) const {
    auto it = dictionary_.find(dictionaryKey(name));
    return it == dictionary_.end() ? nullptr : &it->second;
}

const HigherGroup* TaxaDatabase::findHigherGroup(std::string_view name) const {
    auto it = higherGroups_.find(dictionaryKey(name));
    return it == higherGroups_.end() ? nullptr : &it->second;
}

const FamilyRecord* TaxaDatabase::olderFamily(const FamilyRecord& family) const {
    return family.countedAs > 0 && family.countedAs != family.id ? findById(family.countedAs) : nullptr;
}

const FamilyRecord& TaxaDatabase::countedFamily(const FamilyRecord& family) const {
    const FamilyRecord* counted = &family;
    // The database builder refuses a loop; the bound keeps a hand-made one from hanging.
    for (std::size_t step = 0; step < records_.size(); ++step) {
        const FamilyRecord* older = olderFamily(*counted);
        if (older == nullptr) {
            break;
        }
        counted = older;
    }
    return *counted;
}

const FamilyRecord& TaxaDatabase::scoredFamily(const FamilyRecord& family, int FamilyRecord::*score) const {
    const FamilyRecord* scored = &family;
    for (std::size_t step = 0; step < records_.size() && scored->*score == 0; ++step) {
        const FamilyRecord* older = olderFamily(*scored);
        if (older == nullptr) {
            break;
        }
        scored = older;
    }
    return *scored;
}

std::string dictionaryKey(std::string_view name) {
    std::string key;
    for (char c : name) {
        if (c == ' ' || c == '\t') {
            if (!key.empty() && key.back() != ' ') {
                key += ' ';
            }
        } else {
            key += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
    }
    if (!key.empty() && key.back() == ' ') {
        key.pop_back();
    }
    return key;
}

std::string defaultTaxaDatabasePath(const std::string& executableFolder) {
    std::string beside = pathInFolder(executableFolder, "ICMTAXA.db");
    std::string shared = pathInFolder(executableFolder, "../share/torrentix/ICMTAXA.db");
    if (!fileExists(beside) && fileExists(shared)) {
        return shared;
    }
    return beside;
}

} // namespace torrentix
