// gensamples: writes a realistic synthetic sample file for Torrentix.
//
//   gensamples --output PATH [--samples N] [--families F] [--region REGION] [--seed S] [--taxa DIR]
//
//   --samples N    number of samples (rows), default 100.
//   --families F   number of taxon columns, default: the families typical of the region.
//   --region R     alpine, central-baltic, eastern-continental, mediterranean, northern,
//                  or any (every family equally likely), default central-baltic.
//   --seed S       seed of the random draws, default 1. The same options give the same file
//                  byte for byte.
//   --taxa DIR     folder of families.tsv and synonyms.tsv, default data/taxa of the sources.
//
// The file has the layout the program reads: a title line, the header (CODE, SAMPLE,
// CLASS, three test variables, one family per column), one sample per line, CR LF line
// ends. How the samples are drawn:
//   - Quality classes: about 20 % Reference, 20 % High, then Good, Moderate, Poor, Bad and
//     a few not classified; at least 6 Reference samples once there are 12 samples or more.
//   - Each sample gets a hidden quality between 0 and 1 from its class. A family's
//     sensitivity is its highest BMWP / Iberian BMWP score (EPT families a little more);
//     sensitive families only occur where the quality is high, tolerant ones everywhere
//     and are most abundant where it is low. The region's typical families are common,
//     the others rare. Presence is scaled so that about half the cells are zero.
//   - Abundances are log-normal counts spread over orders of magnitude; about one sample
//     in five is given as a density per square metre, with decimals.
//   - Test variables: EQR_NAT, a national quality ratio near 0..1 that follows the class;
//     URBAN_%, the share of urban land use upstream, which rises as quality falls; and
//     the altitude (ALT_M, Alpine, Mediterranean, Northern) or the conductivity in uS/cm
//     (COND, Central / Baltic, Eastern continental). About 3 % of these cells are
//     missing, written "" or "n.a.".
//   - Columns: the region's typical families first, then other families of the database,
//     then synonyms (older spellings, which the program merges into their family), then
//     repeated family names; in the order of families.tsv.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#ifndef DEFAULT_TAXA_DIR
#define DEFAULT_TAXA_DIR "data/taxa"
#endif

namespace {

// ---------------------------------------------------------------------------------------
// Random draws. Only the engine of the standard library is used: its distributions are
// not the same on every platform, these are.

class Random {
  public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}
    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    double uniform(double low, double high) { return low + (high - low) * uniform(); }
    bool chance(double p) { return uniform() < p; }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(uniform() * static_cast<double>(n)); }
    // Standard normal, Box-Muller.
    double normal() {
        const double u = 1.0 - uniform();
        return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * uniform());
    }
    double normal(double mean, double sd) { return mean + sd * normal(); }
    double logNormal(double median, double sigma) { return median * std::exp(sigma * normal()); }
    template <class T> void shuffle(std::vector<T>& items) {
        for (std::size_t i = items.size(); i > 1; --i) {
            std::swap(items[i - 1], items[below(i)]);
        }
    }

  private:
    std::mt19937_64 engine_;
};

// ---------------------------------------------------------------------------------------
// The taxa sources.

struct FamilyRow {
    std::size_t order = 0; // line in families.tsv
    std::string name;
    int group = 0;
    int bmwp = 0;
    int bmwpe = 0;
};

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream in(line);
    std::string cell;
    while (std::getline(in, cell, '\t')) {
        cells.push_back(cell);
    }
    return cells;
}

std::vector<std::vector<std::string>> readTable(const std::string& path, std::size_t columns) {
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error("cannot open " + path);
    }
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        auto cells = splitTabs(line);
        if (cells.size() < columns) {
            throw std::runtime_error(path + ": line with fewer than " + std::to_string(columns) + " columns");
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

std::vector<FamilyRow> readFamilies(const std::string& taxaDir) {
    std::vector<FamilyRow> families;
    for (const auto& cells : readTable(taxaDir + "/families.tsv", 5)) {
        families.push_back(
            {families.size(), cells[1], std::stoi(cells[2]), std::stoi(cells[3]), std::stoi(cells[4])});
    }
    return families;
}

// Synonym -> family name.
std::vector<std::pair<std::string, std::string>> readSynonyms(const std::string& taxaDir) {
    std::vector<std::pair<std::string, std::string>> synonyms;
    for (const auto& cells : readTable(taxaDir + "/synonyms.tsv", 2)) {
        synonyms.emplace_back(cells[0], cells[1]);
    }
    return synonyms;
}

// ---------------------------------------------------------------------------------------
// Regions: typical families and the third test variable.

struct ThirdVariable {
    std::string_view name;
    double atBest;  // value at quality 1
    double atWorst; // value at quality 0
    double spread;  // standard deviation of the site-to-site variation
    double low;
    double high;
};

struct Region {
    std::string_view key;
    std::string_view caption;
    std::string_view codePrefix;
    ThirdVariable third;
    std::vector<std::string_view> typical; // empty: every family is typical
    std::vector<std::string_view> riverStems;
};

const std::vector<std::string_view> sharedTypical = {
    "NAIDIDAE",          "TUBIFICIDAE",      "LUMBRICULIDAE",   "ENCHYTRAEIDAE",  "ERPOBDELLIDAE",
    "GLOSSIPHONIIDAE",   "HYDRACARINA",      "BAETIDAE",        "HEPTAGENIIDAE",  "NEMOURIDAE",
    "LEUCTRIDAE",        "PERLODIDAE",       "RHYACOPHILIDAE",  "HYDROPSYCHIDAE", "LIMNEPHILIDAE",
    "POLYCENTROPODIDAE", "SERICOSTOMATIDAE", "ELMIDAE",         "HYDRAENIDAE",    "DYTISCIDAE",
    "CHIRONOMIDAE",      "SIMULIIDAE",       "CERATOPOGONIDAE", "LIMONIIDAE",     "TIPULIDAE",
    "EMPIDIDAE",         "ATHERICIDAE",      "PSYCHODIDAE",     "SPHAERIIDAE",    "ANCYLIDAE",
    "PLANARIIDAE",       "NEMATODA"};

std::vector<Region> regions() {
    return {
        {"alpine",
         "Alpine",
         "ALP",
         {"ALT_M", 1900, 350, 280, 200, 2700},
         {"CAPNIIDAE",       "CHLOROPERLIDAE",   "PERLIDAE",      "TAENIOPTERYGIDAE", "EPHEMERELLIDAE",
          "GLOSSOSOMATIDAE", "PHILOPOTAMIDAE",   "ODONTOCERIDAE", "GOERIDAE",         "BLEPHARICERIDAE",
          "THAUMALEIDAE",    "DIXIDAE",          "PEDICIIDAE",    "GAMMARIDAE",       "DUGESIIDAE",
          "APATANIIDAE",     "LEPIDOSTOMATIDAE", "PSYCHOMYIIDAE", "SCIRTIDAE",        "STRATIOMYIDAE",
          "LYMNAEIDAE",      "HYDROBIIDAE"},
         {"Val", "Ros", "Brei", "Tor", "Lau", "Fel", "Zan", "Mor", "Sar", "Ander"}},
        {"central-baltic",
         "Central / Baltic",
         "CB",
         {"COND", 220, 1250, 140, 40, 2400},
         {"GAMMARIDAE",      "ASELLIDAE",        "LYMNAEIDAE",      "PLANORBIDAE",    "BITHYNIIDAE",
          "HYDROBIIDAE",     "VALVATIDAE",       "PHYSIDAE",        "UNIONIDAE",      "DREISSENIDAE",
          "CAENIDAE",        "EPHEMERIDAE",      "LEPTOPHLEBIIDAE", "EPHEMERELLIDAE", "GOERIDAE",
          "LEPTOCERIDAE",    "LEPIDOSTOMATIDAE", "BRACHYCENTRIDAE", "PSYCHOMYIIDAE",  "CALOPTERYGIDAE",
          "GOMPHIDAE",       "COENAGRIONIDAE",   "PLATYCNEMIDIDAE", "SIALIDAE",       "CORIXIDAE",
          "APHELOCHEIRIDAE", "GYRINIDAE",        "HALIPLIDAE",      "ANTHOMYIIDAE",   "DENDROCOELIDAE",
          "PISCICOLIDAE",    "HIRUDINIDAE",      "TATEIDAE"},
         {"Bor", "Wend", "Lin", "Mar", "Osten", "Hav", "Kel", "Drav", "Ul", "Ves"}},
        {"eastern-continental",
         "Eastern continental",
         "EC",
         {"COND", 300, 1050, 120, 80, 2000},
         {"PALINGENIIDAE",  "POLYMITARCYIDAE", "OLIGONEURIIDAE",  "POTAMANTHIDAE",    "EPHEMERIDAE",
          "CAENIDAE",       "EPHEMERELLIDAE",  "LEPTOPHLEBIIDAE", "TAENIOPTERYGIDAE", "PERLIDAE",
          "PSYCHOMYIIDAE",  "ECNOMIDAE",       "LEPTOCERIDAE",    "BRACHYCENTRIDAE",  "GOMPHIDAE",
          "CALOPTERYGIDAE", "COROPHIIDAE",     "PONTOGAMMARIDAE", "GAMMARIDAE",       "ASELLIDAE",
          "DREISSENIDAE",   "UNIONIDAE",       "CYRENIDAE",       "VIVIPARIDAE",      "LITHOGLYPHIDAE",
          "NERITIDAE",      "BITHYNIIDAE",     "LYMNAEIDAE",      "PLANORBIDAE",      "APHELOCHEIRIDAE",
          "DUGESIIDAE",     "SIALIDAE",        "TABANIDAE"},
         {"Tis", "Mur", "Sav", "Kris", "Ibar", "Sio", "Zag", "Bod", "Olt", "Pru"}},
        {"mediterranean",
         "Mediterranean",
         "MED",
         {"ALT_M", 900, 80, 220, 5, 1900},
         {"CAENIDAE",          "LEPTOPHLEBIIDAE", "EPHEMERELLIDAE", "OLIGONEURIIDAE", "POLYMITARCYIDAE",
          "PROSOPISTOMATIDAE", "PERLIDAE",        "HYDROPTILIDAE",  "PHILOPOTAMIDAE", "PSYCHOMYIIDAE",
          "ECNOMIDAE",         "CALAMOCERATIDAE", "LEPTOCERIDAE",   "GOMPHIDAE",      "CALOPTERYGIDAE",
          "CORDULEGASTRIDAE",  "AESHNIDAE",       "LIBELLULIDAE",   "COENAGRIONIDAE", "DRYOPIDAE",
          "GYRINIDAE",         "HYDROPHILIDAE",   "HELOPHORIDAE",   "NAUCORIDAE",     "GERRIDAE",
          "VELIIDAE",          "CORIXIDAE",       "TABANIDAE",      "STRATIOMYIDAE",  "DIXIDAE",
          "PHYSIDAE",          "HYDROBIIDAE",     "MELANOPSIDAE",   "THIARIDAE",      "ATYIDAE",
          "PALAEMONIDAE",      "POTAMIDAE",       "GAMMARIDAE",     "LUMBRICIDAE",    "DUGESIIDAE",
          "LYMNAEIDAE"},
         {"Alc", "Gua", "Ter", "Seg", "Pen", "Vor", "Ebr", "Cal", "Mij", "Tur"}},
        {"northern",
         "Northern",
         "NOR",
         {"ALT_M", 520, 25, 130, 0, 1100},
         {"SIPHLONURIDAE",    "AMELETIDAE",       "METRETOPODIDAE",   "ARTHROPLEIDAE",  "LEPTOPHLEBIIDAE",
          "EPHEMERELLIDAE",   "CAPNIIDAE",        "TAENIOPTERYGIDAE", "CHLOROPERLIDAE", "APATANIIDAE",
          "LEPIDOSTOMATIDAE", "BRACHYCENTRIDAE",  "GLOSSOSOMATIDAE",  "PHILOPOTAMIDAE", "LEPTOCERIDAE",
          "PHRYGANEIDAE",     "PSYCHOMYIIDAE",    "GYRINIDAE",        "PEDICIIDAE",     "LYMNAEIDAE",
          "PLANORBIDAE",      "MARGARITIFERIDAE", "ASELLIDAE",        "GAMMARIDAE",     "SIALIDAE",
          "GOMPHIDAE",        "CORDULEGASTRIDAE", "CORIXIDAE"},
         {"Alt", "Tana", "Kal", "Lule", "Vindel", "Oulu", "Namsen", "Gau", "Iijo", "Torne"}},
        {"any",
         "all regions",
         "SMP",
         {"COND", 250, 1100, 150, 40, 2400},
         {},
         {"Mara", "Sela", "Tova", "Rin", "Ostra", "Lor", "Ves", "Pal", "Dun", "Vel"}},
    };
}

// Families that usually make up most of a sample: median count at average quality.
double medianCount(std::string_view family) {
    static const std::map<std::string_view, double> dominant = {
        {"CHIRONOMIDAE", 140},   {"BAETIDAE", 80},       {"SIMULIIDAE", 70},       {"GAMMARIDAE", 90},
        {"NAIDIDAE", 40},        {"TUBIFICIDAE", 45},    {"HYDROPSYCHIDAE", 40},   {"ASELLIDAE", 35},
        {"CAENIDAE", 30},        {"ELMIDAE", 30},        {"HEPTAGENIIDAE", 25},    {"LEUCTRIDAE", 25},
        {"NEMOURIDAE", 20},      {"EPHEMERELLIDAE", 20}, {"HYDROBIIDAE", 25},      {"SPHAERIIDAE", 15},
        {"HYDRACARINA", 12},     {"LIMNEPHILIDAE", 12},  {"OLIGOCHAETA", 30},      {"LUMBRICULIDAE", 12},
        {"ATYIDAE", 20},         {"MELANOPSIDAE", 25},   {"COROPHIIDAE", 30},      {"DREISSENIDAE", 25},
        {"CERATOPOGONIDAE", 10}, {"ENCHYTRAEIDAE", 10},  {"TAENIOPTERYGIDAE", 15}, {"CAPNIIDAE", 12}};
    static const std::map<std::string_view, double> scarce = {
        {"ASTACIDAE", 2},        {"UNIONIDAE", 2},     {"MARGARITIFERIDAE", 2}, {"AESHNIDAE", 2},
        {"CORDULEGASTRIDAE", 2}, {"PALINGENIIDAE", 3}, {"POTAMIDAE", 1.5},      {"CAMBARIDAE", 2},
        {"HIRUDINIDAE", 2},      {"NEPIDAE", 1.5}};
    if (auto it = dominant.find(family); it != dominant.end()) {
        return it->second;
    }
    if (auto it = scarce.find(family); it != scarce.end()) {
        return it->second;
    }
    return 5.0;
}

// ---------------------------------------------------------------------------------------
// Columns: which names, and how each one responds to quality.

// Columns of one family are written in this order.
enum class ColumnKind { Family, Synonym, RepeatedName };

struct Column {
    std::string header;
    const FamilyRow* family = nullptr;
    ColumnKind kind = ColumnKind::Family;
    double need = 0.0;         // quality at which the family is present half as often as it can be
    double prevalence = 0.0;   // how often it is present where quality suits it
    double median = 0.0;       // median count at quality 0.5
    double qualitySlope = 0.0; // change of log abundance per unit of quality
};

// Group codes of groups.tsv: Ephemeroptera, Plecoptera, Trichoptera.
bool isEpt(int group) {
    constexpr int ephemeroptera = 15, plecoptera = 17, trichoptera = 21;
    return group == ephemeroptera || group == plecoptera || group == trichoptera;
}

// 0 (tolerant) .. 1 (sensitive), from the family's scores; unscored families in between.
double sensitivity(const FamilyRow& f) {
    const int score = std::max(f.bmwp, f.bmwpe);
    double s = score == 0 ? 0.4 : score / 10.0;
    return std::min(1.0, isEpt(f.group) ? s + 0.1 : s);
}

Column makeColumn(std::string header, const FamilyRow& f, ColumnKind kind, bool typical, Random& rng) {
    Column c;
    c.header = std::move(header);
    c.family = &f;
    c.kind = kind;
    const double s = sensitivity(f);
    c.need = 0.85 * s - 0.15 + rng.normal(0.0, 0.05);
    c.prevalence = (typical ? 0.9 : 0.12) * rng.uniform(0.55, 1.0);
    c.median = medianCount(f.name) * rng.logNormal(1.0, 0.3);
    c.qualitySlope = 3.0 * (s - 0.45);
    return c;
}

bool isTypical(const Region& region, const std::string& family) {
    return region.typical.empty() ||
           std::find(sharedTypical.begin(), sharedTypical.end(), family) != sharedTypical.end() ||
           std::find(region.typical.begin(), region.typical.end(), family) != region.typical.end();
}

std::size_t typicalCount(const Region& region, const std::vector<FamilyRow>& families) {
    return static_cast<std::size_t>(std::count_if(
        families.begin(), families.end(), [&](const FamilyRow& f) { return isTypical(region, f.name); }));
}

const FamilyRow& familyNamed(const std::vector<FamilyRow>& families, std::string_view name) {
    for (const auto& f : families) {
        if (f.name == name) {
            return f;
        }
    }
    throw std::runtime_error("family " + std::string(name) + " is not in families.tsv");
}

void checkRegionFamilies(const Region& region, const std::vector<FamilyRow>& families) {
    for (auto name : sharedTypical) {
        familyNamed(families, name);
    }
    for (auto name : region.typical) {
        familyNamed(families, name);
    }
}

std::vector<Column> chooseColumns(const std::vector<FamilyRow>& families,
                                  const std::vector<std::pair<std::string, std::string>>& synonyms,
                                  const Region& region, std::size_t count, Random& rng) {
    std::vector<const FamilyRow*> typical, other;
    for (const auto& f : families) {
        (isTypical(region, f.name) ? typical : other).push_back(&f);
    }
    rng.shuffle(typical);
    rng.shuffle(other);
    std::vector<Column> columns;
    for (const auto* f : typical) {
        if (columns.size() < count) {
            columns.push_back(makeColumn(f->name, *f, ColumnKind::Family, true, rng));
        }
    }
    for (const auto* f : other) {
        if (columns.size() < count) {
            columns.push_back(makeColumn(f->name, *f, ColumnKind::Family, false, rng));
        }
    }
    auto synonymOrder = synonyms;
    rng.shuffle(synonymOrder);
    for (const auto& [synonym, family] : synonymOrder) {
        if (columns.size() < count) {
            const FamilyRow& f = familyNamed(families, family);
            columns.push_back(makeColumn(synonym, f, ColumnKind::Synonym, isTypical(region, f.name), rng));
        }
    }
    for (std::size_t i = 0; columns.size() < count; ++i) {
        const FamilyRow& f = *typical[i % typical.size()];
        columns.push_back(makeColumn(f.name, f, ColumnKind::RepeatedName, true, rng));
    }
    std::stable_sort(columns.begin(), columns.end(), [](const Column& a, const Column& b) {
        return a.family->order != b.family->order ? a.family->order < b.family->order : a.kind < b.kind;
    });
    return columns;
}

// ---------------------------------------------------------------------------------------
// Samples: class, hidden quality and test variables.

struct SampleSite {
    int sampleClass = 0; // 6 Reference .. 1 Bad, 0 not classified
    double quality = 0.0;
    bool density = false; // abundances per square metre
    double area = 1.0;    // sampled area in square metres, for densities
};

std::vector<int> drawClasses(std::size_t n, Random& rng) {
    // Reference, High, Good, Moderate, Poor, Bad, not classified.
    const std::vector<std::pair<int, double>> shares = {{6, 0.20}, {5, 0.20}, {4, 0.20}, {3, 0.17},
                                                        {2, 0.11}, {1, 0.07}, {0, 0.05}};
    std::vector<int> classes;
    for (std::size_t i = 0; i < n; ++i) {
        double u = rng.uniform();
        int c = 0;
        for (const auto& [cls, share] : shares) {
            c = cls;
            if ((u -= share) < 0.0) {
                break;
            }
        }
        classes.push_back(c);
    }
    const std::size_t minimumReference = n >= 12 ? 6 : 0;
    while (static_cast<std::size_t>(std::count(classes.begin(), classes.end(), 6)) < minimumReference) {
        classes[rng.below(n)] = 6;
    }
    return classes;
}

double qualityOfClass(int sampleClass, Random& rng) {
    static const double centre[] = {0.0, 0.12, 0.28, 0.45, 0.62, 0.78, 0.9};
    const double q = sampleClass == 0 ? rng.uniform(0.2, 0.85) : rng.normal(centre[sampleClass], 0.05);
    return std::clamp(q, 0.02, 0.99);
}

std::vector<SampleSite> drawSites(std::size_t n, Random& rng) {
    static const double areas[] = {0.1, 0.25, 0.5, 0.75, 1.25};
    std::vector<SampleSite> sites;
    for (int c : drawClasses(n, rng)) {
        SampleSite s;
        s.sampleClass = c;
        s.quality = qualityOfClass(c, rng);
        s.density = rng.chance(0.2);
        s.area = areas[rng.below(5)];
        sites.push_back(s);
    }
    return sites;
}

double logistic(double x) {
    return 1.0 / (1.0 + std::exp(-x));
}

// Chance that a column's family is present in a site, before the overall scaling.
double presencePropensity(const Column& c, double quality) {
    return c.prevalence * logistic(12.0 * (quality - c.need));
}

constexpr double highestPresence = 0.97;

// The factor of every presence chance that leaves about half the cells zero.
double presenceScale(const std::vector<Column>& columns, const std::vector<SampleSite>& sites) {
    const std::size_t probe = std::min<std::size_t>(sites.size(), 400);
    auto meanPresence = [&](double scale) {
        double sum = 0.0;
        for (std::size_t i = 0; i < probe; ++i) {
            for (const auto& c : columns) {
                sum += std::min(highestPresence, scale * presencePropensity(c, sites[i].quality));
            }
        }
        return sum / static_cast<double>(probe * columns.size());
    };
    double low = 0.05, high = 50.0;
    for (int step = 0; step < 40; ++step) {
        const double mid = std::sqrt(low * high);
        (meanPresence(mid) < 0.5 ? low : high) = mid;
    }
    return std::sqrt(low * high);
}

// ---------------------------------------------------------------------------------------
// Writing.

std::string formatNumber(double value, int decimals) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    if (decimals > 0) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text;
}

std::string abundanceText(const Column& c, const SampleSite& site, Random& rng) {
    const double median = c.median * std::exp(c.qualitySlope * (site.quality - 0.5));
    const double count = std::max(1.0, std::round(rng.logNormal(median, 1.2)));
    return site.density ? formatNumber(count / site.area, 2) : formatNumber(count, 0);
}

std::string missingOr(std::string text, Random& rng) {
    if (rng.chance(0.03)) {
        return rng.chance(0.5) ? "" : "n.a.";
    }
    return text;
}

std::string testCells(const Region& region, const SampleSite& site, Random& rng) {
    const double q = site.quality;
    const double eqr = std::clamp(q + rng.normal(0.0, 0.05), 0.01, 1.05);
    const double urban = std::min(95.0, 100.0 * std::pow(1.0 - q, 2.2) * rng.logNormal(1.0, 0.35));
    const ThirdVariable& t = region.third;
    const double third =
        std::clamp(t.atWorst + (t.atBest - t.atWorst) * q + rng.normal(0.0, t.spread), t.low, t.high);
    return missingOr(formatNumber(eqr, 3), rng) + "\t" + missingOr(formatNumber(urban, 1), rng) + "\t" +
           missingOr(formatNumber(third, 0), rng);
}

std::string classText(int sampleClass, Random& rng) {
    if (sampleClass != 0) {
        return std::to_string(sampleClass);
    }
    static const char* notClassified[] = {"0", "", "n.c."};
    return notClassified[rng.below(3)];
}

std::string siteName(const Region& region, std::size_t index, Random& rng) {
    const auto& stem = region.riverStems[rng.below(region.riverStems.size())];
    static const char* endings[] = {"a", "ena", "ach", "ona", "is", "ava", "o"};
    return std::string(stem) + endings[rng.below(7)] + " " + std::to_string(1 + index % 9) + " " +
           std::to_string(2015 + rng.below(9));
}

// A name no other sample of the file has in the 15 characters the results file keeps: a
// name met before gets a letter after its year ("Vorona 1 2015b"), the year written with two
// digits where the name would otherwise be longer than that. No draw is taken for it.
std::string uniqueName(const std::string& drawn, std::set<std::string>& used) {
    constexpr std::size_t kept = 15;
    std::string name = drawn;
    for (char letter = 'b'; !used.insert(name.substr(0, kept)).second; ++letter) {
        name = (drawn.size() + 1 > kept ? drawn.substr(0, drawn.size() - 4) + drawn.substr(drawn.size() - 2)
                                        : drawn) +
               letter;
    }
    return name;
}

// Which families a site holds. A real sample always holds something: when the draws leave
// a site empty, its most likely family is put in.
std::vector<bool> drawPresence(const std::vector<Column>& columns, const SampleSite& site, double scale,
                               Random& rng) {
    std::vector<bool> present;
    present.reserve(columns.size());
    for (const auto& c : columns) {
        present.push_back(rng.chance(std::min(highestPresence, scale * presencePropensity(c, site.quality))));
    }
    if (std::find(present.begin(), present.end(), true) == present.end()) {
        const auto likeliest =
            std::max_element(columns.begin(), columns.end(), [&](const Column& a, const Column& b) {
                return presencePropensity(a, site.quality) < presencePropensity(b, site.quality);
            });
        present[static_cast<std::size_t>(likeliest - columns.begin())] = true;
    }
    return present;
}

std::string sampleRow(const Region& region, std::size_t index, const SampleSite& site,
                      const std::vector<Column>& columns, double scale, Random& rng, std::set<std::string>& names) {
    char code[32];
    std::snprintf(code, sizeof code, "%s-%04zu", std::string(region.codePrefix).c_str(), index + 1);
    std::string row = std::string(code) + "\t" + uniqueName(siteName(region, index, rng), names) + "\t" +
                      classText(site.sampleClass, rng) + "\t" + testCells(region, site, rng);
    const auto present = drawPresence(columns, site, scale, rng);
    for (std::size_t j = 0; j < columns.size(); ++j) {
        row += "\t";
        row += present[j] ? abundanceText(columns[j], site, rng) : "0";
    }
    return row + "\r\n";
}

// ---------------------------------------------------------------------------------------
// Command line.

struct Options {
    std::size_t samples = 100;
    std::size_t families = 0; // 0: the region's typical families
    std::string region = "central-baltic";
    std::uint64_t seed = 1;
    std::string taxaDir = DEFAULT_TAXA_DIR;
    std::string output;
};

const char* usageText =
    "Usage: gensamples --output PATH [--samples N] [--families F] [--region REGION] [--seed S] [--taxa DIR]\n"
    "Writes a synthetic tab-separated sample file. REGION: alpine, central-baltic, eastern-continental,\n"
    "mediterranean, northern or any (default central-baltic). Defaults: 100 samples, the region's\n"
    "typical families, seed 1, taxa sources in " DEFAULT_TAXA_DIR ".\n";

std::uint64_t positiveNumber(const std::string& option, const std::string& text) {
    std::uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw std::invalid_argument(option + " expects a whole number, not \"" + text + "\"");
    }
    return value;
}

std::optional<Options> parseOptions(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            throw std::invalid_argument("unknown option or missing value: " + arg);
        }
        const std::string& value = args[++i];
        if (arg == "--samples") {
            o.samples = positiveNumber(arg, value);
        } else if (arg == "--families") {
            o.families = positiveNumber(arg, value);
        } else if (arg == "--region") {
            o.region = value;
        } else if (arg == "--seed") {
            o.seed = positiveNumber(arg, value);
        } else if (arg == "--taxa") {
            o.taxaDir = value;
        } else if (arg == "--output" || arg == "-o") {
            o.output = value;
        } else {
            throw std::invalid_argument("unknown option " + arg);
        }
    }
    if (o.output.empty()) {
        throw std::invalid_argument("--output is required");
    }
    if (o.samples == 0) {
        throw std::invalid_argument("--samples must be at least 1");
    }
    return o;
}

const Region& regionNamed(const std::vector<Region>& all, const std::string& key) {
    for (const auto& r : all) {
        if (r.key == key) {
            return r;
        }
    }
    throw std::invalid_argument("unknown region \"" + key + "\"");
}

std::string titleLine(const Region& region, const Options& o, std::size_t columns) {
    return "Synthetic macro-invertebrate samples, " + std::string(region.caption) + ", " +
           std::to_string(o.samples) + " samples, " + std::to_string(columns) + " taxa, seed " +
           std::to_string(o.seed) + "\r\n";
}

std::string headerLine(const Region& region, const std::vector<Column>& columns) {
    std::string line = "CODE\tSAMPLE\tCLASS\tEQR_NAT\tURBAN_%\t" + std::string(region.third.name);
    for (const auto& c : columns) {
        line += "\t" + c.header;
    }
    return line + "\r\n";
}

void writeFile(const Options& o) {
    const auto allRegions = regions();
    const Region& region = regionNamed(allRegions, o.region);
    const auto families = readFamilies(o.taxaDir);
    const auto synonyms = readSynonyms(o.taxaDir);
    checkRegionFamilies(region, families);
    Random rng(o.seed);
    const std::size_t count = o.families == 0 ? typicalCount(region, families) : o.families;
    const auto columns = chooseColumns(families, synonyms, region, count, rng);
    const auto sites = drawSites(o.samples, rng);
    const double scale = presenceScale(columns, sites);

    std::ofstream out(o.output, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw std::runtime_error("cannot write " + o.output);
    }
    out << titleLine(region, o, columns.size()) << headerLine(region, columns);
    std::set<std::string> names;
    for (std::size_t i = 0; i < sites.size(); ++i) {
        out << sampleRow(region, i, sites[i], columns, scale, rng, names);
    }
    out.close();
    if (!out) {
        throw std::runtime_error("writing " + o.output + " failed");
    }
    if (o.samples < 12) {
        std::cerr << "gensamples: with fewer than 12 samples the file may hold too few reference samples.\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    try {
        const auto options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (!options) {
            std::cout << usageText;
            return 0;
        }
        writeFile(*options);
        return 0;
    } catch (const std::invalid_argument& e) {
        std::cerr << "gensamples: " << e.what() << "\n" << usageText;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "gensamples: " << e.what() << "\n";
        return 1;
    }
}
