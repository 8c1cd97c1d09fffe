// The batch command: in process through runBatch, and a few runs of the real program for
// what only a process shows (exit status, the locale, the database beside the program).

#include "base/numberforms.h"
#include "base/platform.h"
#include "cli/batch.h"
#include "metrics/catalogue.h"
#include "report/resultsfile.h"
#include "support/samplefile.h"
#include "support/testsupport.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <ctime>
#include <set>
#include <sstream>

using namespace torrentix;
using namespace torrentix::testing;
namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status;
    std::string out, err;
};

const std::string dbFolder = fs::path(TAXA_DB_PATH).parent_path().string();

Outcome batch(const std::vector<std::string>& args, const cli::BatchEnvironment& env = {dbFolder, "d", "t"}) {
    std::ostringstream out, err;
    const int status = cli::runBatch(args, env, out, err);
    return {status, out.str(), err.str()};
}

// An argument quoted for the system's command interpreter.
std::string quoted(const std::string& argument) {
    return posixSystem ? "'" + argument + "'" : "\"" + argument + "\"";
}

// The real program, with quoted arguments after an optional environment prefix (POSIX only).
Outcome process(const TempDir& dir, const std::string& args, const std::string& environment = "") {
    const std::string program = fs::absolute(CLI_PATH).make_preferred().string();
    std::string command = environment + " " + quoted(program) + " " + args + " >" +
                          quoted(dir.file("stdout")) + " 2>" + quoted(dir.file("stderr"));
    if (!posixSystem) {
        command = "\"" + command + "\""; // the Windows interpreter takes off the outer quotes
    }
    const int raw = std::system(command.c_str());
    return {exitStatusOf(raw), readFile(dir.file("stdout")), readFile(dir.file("stderr"))};
}

std::set<std::string> entriesOf(const TempDir& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

using Rows = std::vector<std::vector<std::string>>;

// Lines split at `lineEnd`, then cells at TAB.
Rows cellsOf(const std::string& text, const std::string& lineEnd) {
    Rows rows;
    for (std::size_t at = 0, end; (end = text.find(lineEnd, at)) != std::string::npos;
         at = end + lineEnd.size()) {
        std::stringstream line(text.substr(at, end - at));
        rows.emplace_back();
        for (std::string cell; std::getline(line, cell, '\t');) {
            rows.back().push_back(cell);
        }
    }
    return rows;
}

// The rows of the results file after the line `heading`, up to the next blank one.
Rows section(const Rows& results, const std::string& heading) {
    auto first =
        std::find_if(results.begin(), results.end(), [&](auto& r) { return !r.empty() && r[0] == heading; });
    return Rows(first + 1, std::find_if(first, results.end(), [](auto& r) { return r.empty(); }));
}

std::vector<std::string> runOn(const std::string& file, std::vector<std::string> extra = {}) {
    extra.insert(extra.end(), {"--gig", "Mediterranean", "--type", "R-M1", "--bio", "1", file});
    return extra;
}

const std::string typical = SampleFile::typical().text();
const std::string refused = SampleFile::typical(SampleFile::classes(3, 2, 4, 3)).text();
const std::string binary("\x7F\x45LF\0\x01\xFF\xFE\t\r\n\x00\x9C", 13); // the start of a program file
// Two unknown names: one with an escape byte and a suggested family, one without a suggestion.
const std::string unknownNames = [] {
    SampleFile f = SampleFile::typical();
    f.header[SampleFile::firstFamily + 6] = "MYSTERYIDAE";
    f.header[SampleFile::firstFamily + 7] = "SIMULI\x1BIDAE";
    return f.text();
}();

// A species the dictionary lacks, of a beetle genus whose name is also the stem of a snail family.
const std::string disputed = [] {
    SampleFile f = SampleFile::typical();
    f.header[SampleFile::firstFamily + 6] = "Hydrobius novus";
    return f.text();
}();

// Two groups above the family, one the database holds as a row.
const std::string higherGroups = [] {
    SampleFile f = SampleFile::typical();
    f.header[SampleFile::firstFamily + 6] = "Heteroptera";
    f.header[SampleFile::firstFamily + 7] = "Harpacticoida";
    return f.text();
}();

// What a read takes otherwise than written: two cells that are not plain numbers, a sample
// with nothing found (file line 16), a line after a blank one and a column to ignore.
const std::string takenAsRead = [] {
    SampleFile f = SampleFile::typical();
    f.header[SampleFile::firstFamily + 6] = "MYSTERYIDAE";
    f.cell(1, SampleFile::firstFamily + 1) = "3a";
    f.cell(5, SampleFile::firstFamily + 2) = "<1";
    for (std::size_t c = SampleFile::firstFamily; c < f.header.size(); ++c) {
        f.cell(13, c) = "0";
    }
    return f.text() + "\r\nS99\tlate\r\n";
}();

// A sample code and a sample name held twice, and two test-variable names that print alike.
const std::string sameNames = [] {
    SampleFile f = SampleFile::typical();
    f.header[3] = "Nitrate_2019";
    f.header[4] = "Nitrate_2020";
    f.cell(3, 0) = f.cell(1, 0);
    f.cell(7, 1) = f.cell(2, 1);
    return f.text();
}();

// The last sample after an empty line.
const std::string afterBlank = [] {
    std::string text = SampleFile::typical().text();
    return text.insert(text.rfind("\r\n", text.size() - 3) + 2, "\r\n");
}();

// The test values and one abundance per row written with a decimal comma.
const std::string decimalCommas = [] {
    SampleFile f = SampleFile::typical();
    for (auto& row : f.rows) {
        std::replace(row[3].begin(), row[3].end(), '.', ',');
        row[SampleFile::firstFamily + 1] += ",25";
    }
    return f.text();
}();

// Classes written as words count as Not Classified, so that the run is refused.
const std::string classWords = [] {
    SampleFile f = SampleFile::typical();
    for (auto& row : f.rows) {
        row[2] = row[2] == "6" ? "Reference" : row[2] == "5" ? " high" : row[2] == "0" ? "n.c." : row[2];
    }
    return f.text();
}();

const std::string tooFewCells = [] {
    SampleFile f = SampleFile::typical();
    f.rows[4].resize(f.rows[4].size() - 2);
    return f.text();
}();

} // namespace

TEST(CliArguments, GoodOptionSets) {
    auto a = cli::parseArgs({"--gig", "central / baltic", "--type", "r-c5", "--min", "2=0.5",
                             "--observed-min", "1", "--min", "1=3", "--bio", "3", "--unknown", "suggest",
                             "--force", "f.txt", "g.txt"});
    EXPECT_EQ(std::pair(a.gig, a.riverType), std::pair(CentralBaltic, 4));
    for (const char* written : {"Central Baltic", "central-baltic", "CENTRAL/BALTIC", "Cen", "1"}) {
        EXPECT_EQ(cli::parseArgs({"--gig", written, "--type", "R-C1", "f"}).gig, CentralBaltic) << written;
    }
    EXPECT_EQ(a.testVariables[1].minText, "0.5");
    EXPECT_TRUE(a.testVariables[0].observedMin);
    EXPECT_EQ(a.testVariables[0].minText, ""); // "Observed Min" empties "Min Value"
    EXPECT_TRUE(a.testVariables[2].biological);
    EXPECT_EQ(a.unknown, cli::UnknownTaxa::Suggest);
    EXPECT_TRUE(a.force);
    EXPECT_EQ(a.files, (std::vector<std::string>{"f.txt", "g.txt"}));
    a = cli::parseArgs({"--taxa-db", "t.db", "--gig", "2", "--type", "R-E6", "--", "--force"});
    EXPECT_EQ(std::pair(a.gig, a.riverType), std::pair(EasternContinental, 5));
    EXPECT_EQ(a.taxaDb, "t.db");
    EXPECT_FALSE(a.force); // after "--" every argument is a file
    EXPECT_EQ(a.files, std::vector<std::string>{"--force"});
    EXPECT_TRUE(cli::parseArgs({"-h", "--gig", "Atlantic"}).help); // no other check after --help
}

TEST(CliArguments, UsageErrorsExitWithStatus2) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--type", "R-A1", "f"}, "--gig is required"},
        {{"--gig", "Alp", "f"}, "--type is required"},
        {{"--gig", "Alp", "--type", "R-M1", "f"}, "not a river type of the Alpine GIG (R-A1 to R-A2)"},
        {{"--gig", "Alp", "--type", "r-a3", "f"}, "not a river type of the Alpine GIG (R-A1 to R-A2)"},
        {{"--gig", "Atlantic", "--type", "R-A1", "f"}, "Unknown GIG \"Atlantic\". The GIGs are Alpine, "},
        {{"--gig", "/", "--type", "R-A1", "f"}, "Unknown GIG \"/\""},
        {{"--gig", "Alp", "--type", "R-A1"}, "No sample file"},
        {{"--gig", "Alp", "--type", "R-A1", "--bio", "4", "f"}, "--bio: the test variable must be 1, 2 or 3"},
        {{"--gig", "Alp", "--type", "R-A1", "--min", "1=abc", "f"}, "\"abc\" is not a number"},
        {{"--gig", "Alp", "--type", "R-A1", "--min", "1", "f"}, "K=VALUE"},
        {{"--gig", "Alp", "--type", "R-A1", "--unknown", "maybe", "f"},
         "abort, ignore, suggest or dictionary"},
        {{"--gig", "Alp", "--type", "R-A1", "--bogus", "f"}, "Unknown option --bogus"},
        {{"--gig", "Alp", "--type", "R-A1", "-f.txt"}, "Unknown option -f.txt"},
        {{"--gig"}, "--gig needs a value"},
    };
    for (const auto& [args, fact] : cases) {
        const Outcome o = batch(args);
        EXPECT_EQ(o.status, 2) << fact;
        EXPECT_THAT(o.err, Mentions(fact, "Try torrentix-cli --help."));
        EXPECT_EQ(o.out, "");
    }
}

TEST(CliBatch, VersionAndMissingTaxaDatabase) {
    EXPECT_EQ(batch({"--version"}).out, "torrentix-cli " + std::string(programVersion) + "\n");
    TempDir dir;
    const Outcome given = batch(runOn("f.txt", {"--taxa-db", dir.file("none.db")}));
    EXPECT_EQ(given.status, 1);
    EXPECT_THAT(given.err, HasSubstr(dir.file("none.db")));
}

struct FileCase {
    std::string name;
    const std::string& content;
    std::vector<std::string> args;
    int earlier; // a results file "earlier" is there before the run (2: read-only)
    int status;
    std::set<std::string> written; // the files beside s.txt after the run
    std::vector<std::string> errFacts;

    // Spelled out for compilers that build aggregates from braces only (clang 14 of emscripten).
    FileCase(std::string n, const std::string& c, std::vector<std::string> a, int e, int s,
             std::set<std::string> w, std::vector<std::string> f)
        : name(std::move(n)), content(c), args(std::move(a)), earlier(e), status(s), written(std::move(w)),
          errFacts(std::move(f)) {}
};

void PrintTo(const FileCase& c, std::ostream* out) {
    *out << c.name;
}

class CliFiles : public ::testing::TestWithParam<FileCase> {};

TEST_P(CliFiles, OutcomeMessagesAndFilesLeft) {
    const FileCase& c = GetParam();
    TempDir dir;
    const std::string input = dir.file("s.txt");
    writeFile(input, c.content);
    if (c.earlier) {
        writeFile(dir.file("s_OUT.txt"), "earlier");
        platform::setReadOnly(dir.file("s_OUT.txt"), c.earlier == 2);
    }
    const Outcome o = batch(runOn(input, c.args));
    EXPECT_EQ(o.status, c.status) << o.err;
    for (const auto& fact : c.errFacts) { // what the report says on standard output counts too
        EXPECT_THAT(o.err + o.out, HasSubstr(fact));
    }
    EXPECT_THAT(o.err, HasSubstr(c.status == 0 ? "" : input + ": ")); // a failure names the file
    EXPECT_EQ(readFile(input), c.content);
    std::set<std::string> expected = c.written;
    expected.insert("s.txt");
    EXPECT_EQ(entriesOf(dir), expected); // no partial or temporary file
    for (const std::string& name : c.status == 0 ? c.written : std::set<std::string>{}) {
        EXPECT_THAT(o.out, HasSubstr(dir.file(name) + "\n"));
    }
    if (c.earlier) {
        EXPECT_EQ(readFile(dir.file("s_OUT.txt")) == "earlier", c.status != 0);
        EXPECT_EQ(platform::isReadOnly(dir.file("s_OUT.txt")), c.earlier == 2); // replaced, it stays so
        platform::setReadOnly(dir.file("s_OUT.txt"), false);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, CliFiles,
    ::testing::Values(
        FileCase("KeepsResultsWithoutForce", unknownNames, {"--unknown", "suggest"}, true, 1, {"s_OUT.txt"},
                 {"already exists", "--force"}),
        FileCase("ReplacesResultsWithForce", typical, {"--force"}, true, 0, {"s_OUT.txt", "s_taxa.tsv"}, {}),
        FileCase("KeepsReadOnlyResultsWithoutForce", typical, {}, 2, 1, {"s_OUT.txt"},
                 {"s_OUT.txt already exists and is read-only. Use --force to replace it."}),
        FileCase("ReplacesReadOnlyResultsWithForce", typical, {"--force"}, 2, 0, {"s_OUT.txt", "s_taxa.tsv"},
                 {"s_OUT.txt was replaced (--force); it stays read-only."}),
        FileCase("TooFewReferenceSamples", refused, {}, false, 1, {},
                 {"Number of Refs(6)+Highs(5) < 6. The file holds 3 Reference and 2 High samples.\n"}),
        FileCase("ClassWordsAreNamedInTheRefusal", classWords, {}, false, 1, {},
                 {"The file holds 0 Reference and 0 High samples. The class column names 9 classes in words, "
                  "the first "
                  "\"Reference\" in line 3, which count as Not Classified: write the classes as numbers, 6 "
                  "Reference, 5 High"}),
        FileCase("RefusedKeepsResultsEvenWithForce", refused, {"--force"}, true, 1, {"s_OUT.txt"}, {}),
        FileCase(
            "UnknownNamesAbort", unknownNames, {"--unknown", "abort"}, false, 1, {},
            {"unknown taxon \"SIMULI\\x1BIDAE\" (suggested family: SIMULIIDAE (leading letters: SIMULI, a "
             "guess))",
             "unknown taxon \"MYSTERYIDAE\" (no family suggested)", "Process aborted: 2 taxon name(s)"}),
        FileCase("UnknownNamesSuggested", unknownNames, {"--unknown", "suggest"}, false, 0,
                 {"s_OUT.txt", "s_taxa.tsv", "s_adj.txt"},
                 {"The corrected file has been saved", "The following taxa were ignored:\nMYSTERYIDAE\n"}),
        FileCase("HigherGroupIsIgnoredNotGuessed", higherGroups, {"--unknown", "suggest"}, false, 0,
                 {"s_OUT.txt", "s_taxa.tsv", "s_adj.txt"},
                 {"HETEROPTERA → ignored (HETEROPTERA is a higher group (Suborder), not a family)\n",
                  "HARPACTICOIDA → COPEPODA (higher group: HARPACTICOIDA)\n"}),
        FileCase("DisputedNameIsNotDecided", disputed, {"--unknown", "suggest"}, false, 1, {},
                 {"unknown taxon \"HYDROBIUS NOVUS\" (two families: HYDROPHILIDAE (taxon dictionary: "
                  "Hydrobius) and HYDROBIIDAE (type genus: HYDROBIUS))",
                  "Process aborted: 1 taxon name(s) have two families. Answer them in a taxa map"}),
        FileCase("BinaryFile", binary, {}, false, 1, {}, {}),
        FileCase("RowWithTooFewCells", tooFewCells, {}, false, 1, {}, {"Too few columns in row 5"}),
        FileCase("DecimalCommaRefused", decimalCommas, {}, false, 1, {},
                 {"(\"0,9\" in line 3, column 4 (EQR); 28 cells). Read it with --decimal-comma"}),
        FileCase("DecimalCommaReadWhenAsked", decimalCommas, {"--decimal-comma"}, false, 0,
                 {"s_OUT.txt", "s_taxa.tsv"}, {}),
        FileCase("TakenAsReadIsTold", takenAsRead, {"--unknown", "ignore"}, false, 0,
                 {"s_OUT.txt", "s_taxa.tsv", "s_adj.txt"},
                 {": 2 abundance cells are not a plain number",
                  "\n  line 4, column 8 (HEPTAGENIIDAE): \"3a\" read as 3\n  line 8, column 9 (LEUCTRIDAE): "
                  "\"<1\" read as 0\n",
                  ": The data end at the blank line 17: 1 non-blank line after it was not read.\n",
                  "  Note: The data end at the blank line 17: 1 non-blank line after it was not read.\n",
                  ": 1 sample with a total abundance of 0 was left out (file line 16).\n"}),
        FileCase(
            "StrictFailsOnCellsNotPlainNumbers", takenAsRead, {"--unknown", "ignore", "--strict"}, false, 1,
            {},
            {"\"<1\" read as 0\n", "Process aborted (--strict): 2 abundance cell(s)",
             "Process aborted (--strict): The data end at the blank line 17: 1 non-blank line after it was "
             "not read. Read them with --read-past-blank-lines"}),
        FileCase("StrictFailsOnLinesAfterABlankLine", afterBlank, {"--strict"}, false, 1, {},
                 {"Process aborted (--strict): The data end at the blank line 16: "}),
        FileCase("LinesAfterABlankLineReadWhenAsked", afterBlank, {"--read-past-blank-lines", "--strict"},
                 false, 0, {"s_OUT.txt", "s_taxa.tsv"},
                 {": 1 empty line inside the data was read past, as asked (the first: line 16).\n",
                  "14 samples"}),
        FileCase("SameNamesAreListed", sameNames, {}, false, 0, {"s_OUT.txt", "s_taxa.tsv"},
                 {"Names the outputs cannot tell apart:\n  sample code \"S2\" in lines 4, 6\n  sample name "
                  "\"Site 3\" in lines 5, 10\n  test variables \"Nitrate_2019\" and \"Nitrate_2020\" "
                  "(columns 4 and 5) "
                  "both print as \"Nitrate_\"\n"}),
        FileCase("StrictFailsOnSameNames", sameNames, {"--strict"}, false, 1, {},
                 {"Process aborted (--strict): 3 name(s) cannot be told apart in the outputs."})),
    [](const ::testing::TestParamInfo<FileCase>& param) { return param.param.name; });

// An earlier record of the names, table or intervals file stops only a run that would write
// one anew.
TEST(CliBatch, EarlierTableAndIntervalsStopOnlyARunThatWritesThem) {
    TempDir dir;
    writeFile(dir.file("s.txt"), typical);
    writeFile(dir.file("s_table.tsv"), "earlier");
    writeFile(dir.file("s_ci_regressions.tsv"), "earlier");
    EXPECT_EQ(batch(runOn(dir.file("s.txt"))).status, 0);
    std::filesystem::remove(dir.file("s_OUT.txt"));
    EXPECT_THAT(batch(runOn(dir.file("s.txt"))).err, HasSubstr("s_taxa.tsv already exists"));
    EXPECT_EQ(batch(runOn(dir.file("s.txt"), {"--no-taxa-record"})).status, 0);
    std::filesystem::remove(dir.file("s_OUT.txt"));
    std::filesystem::remove(dir.file("s_taxa.tsv"));
    EXPECT_THAT(batch(runOn(dir.file("s.txt"), {"--table"})).err, HasSubstr("s_table.tsv already exists"));
    std::filesystem::remove(dir.file("s_OUT.txt"));
    EXPECT_THAT(batch(runOn(dir.file("s.txt"), {"--bootstrap", "10"})).err,
                HasSubstr("s_ci_regressions.tsv already exist"));
    EXPECT_EQ(readFile(dir.file("s_table.tsv")) + readFile(dir.file("s_ci_regressions.tsv")),
              "earlierearlier");
    EXPECT_FALSE(fs::exists(dir.file("s_OUT.txt")));
}

// Every text field of a sample file starting as a formula: the title, codes, names, the
// test variables' names and a text among their values, an ignored family name.
const std::string formulas = [] {
    SampleFile f = SampleFile::typical(SampleFile::defaultClasses(), SampleFile::defaultFamilies(),
                                       {"=EQR", "-URBAN", "@ALT"});
    f.title = "=TITLE()";
    f.header[SampleFile::firstFamily + 6] = "+MYSTERYIDAE"; // ignored: the corrected file is written
    const char* codes[] = {"@SUM(A1)", "+A2", "-A3", "=A4"};
    const char* names[] = {"=1+1", "=HYPERLINK(\"http://x\";\"click\")", "Site #3", "+x", "-y", "@z"};
    for (std::size_t i = 0; i < 6; ++i) {
        f.cell(i, 0) = i < 4 ? codes[i] : f.cell(i, 0);
        f.cell(i, 1) = names[i];
    }
    f.cell(2, 3) = "-0.5";
    f.cell(4, 4) = "=2+2"; // not a number: missing
    return f.text();
}();

// What a spreadsheet evaluates: a cell (its quotes taken off) that starts with "=", "+",
// "-", "@", TAB or CR and is not a plain decimal number (signs, digits, point, exponent).
bool evaluated(std::string cell) {
    if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"') {
        cell = cell.substr(1, cell.size() - 2);
    }
    char* end = nullptr;
    const bool number = cell.find_first_not_of("0123456789.eE+-") == std::string::npos &&
                        (std::strtod(cell.c_str(), &end), end == cell.c_str() + cell.size());
    return !cell.empty() && std::string_view("=+-@\t\r").find(cell.front()) != std::string_view::npos &&
           !number;
}

// No text of the sample file reaches a spreadsheet as a formula: every text cell of every
// file for people and spreadsheets (the results file, the table, both interval files; the
// page offers these same files) starts with an apostrophe instead. Numbers (a negative
// test value too) stay as written, and so does the corrected file, a copy of the user's
// own that the program reads again. The intervals are two tables, each with the settings
// on its first line and as many cells on every other, read whole by R and pandas told to
// skip comments.
TEST(CliBatch, FormulasOfTheSampleFileReachNoSpreadsheetAndTheIntervalsAreTwoTables) {
    TempDir dir;
    writeFile(dir.file("s.txt"), formulas);
    const Outcome o = batch(runOn(dir.file("s.txt"), {"--unknown", "ignore", "--table", "--bootstrap", "5"}));
    ASSERT_EQ(o.status, 0) << o.err;
    for (const std::string name : {"s_OUT.txt", "s_table.tsv", "s_ci.tsv", "s_ci_regressions.tsv"}) {
        const Rows rows = cellsOf(readFile(dir.file(name)), "\n");
        for (const auto& row : rows) {
            for (const std::string& cell : row) {
                EXPECT_FALSE(evaluated(cell.substr(0, cell.find('\r')))) << name << ": " << cell;
            }
            EXPECT_TRUE(name.find("_ci") == std::string::npos || row.size() == rows[1].size() ||
                        &row == &rows[0])
                << name;
        }
    }
    EXPECT_THAT(readFile(dir.file("s_OUT.txt")),
                Mentions("\r\n'=TITLE()\r\n", "\r\n'+MYSTERYIDAE\r\n", "\r\n'@SUM(A1)\t'=1+1      ",
                         "\r\n'-A3\tSite #3", "\t'=EQR\t'-URBAN\t'@ALT\r\n", "\r\n'-URBAN\t0 "));
    EXPECT_THAT(readFile(dir.file("s_table.tsv")),
                Mentions("\tURBAN_raw\t", "\n'@SUM(A1)\t'=1+1\t", "\t\"'=HYPERLINK(\"\"http", "\t-0.5\t"));
    EXPECT_THAT(readFile(dir.file("s_ci.tsv")),
                Mentions("# replicates=5 counted=5 seed=1 rule=median\nCODE\t", "\n'+A2\t\"'=HYPERLINK(",
                         "\n'=A4\t'+x\t"));
    EXPECT_THAT(readFile(dir.file("s_ci_regressions.tsv")),
                Mentions("# replicates=5 counted=5 seed=1 rule=median\nindex\t", "\nGIG\tURBAN\t"));
    EXPECT_EQ(cellsOf(readFile(dir.file("s_ci.tsv")), "\n").size() +
                  cellsOf(readFile(dir.file("s_ci_regressions.tsv")), "\n").size(),
              (1 + 1 + 14) + (1 + 1 + 6));
    EXPECT_THAT(readFile(dir.file("s_adj.txt")), HasSubstr("\n@SUM(A1)\t=1+1      "));
}

TEST(CliBatch, UnwritableCorrectedFileIsToldAndTheResultsAreStillWritten) {
    TempDir dir;
    writeFile(dir.file("s.txt"), unknownNames);
    fs::create_directory(dir.file("s_adj.txt")); // takes the corrected file's name
    const Outcome o = batch(runOn(dir.file("s.txt"), {"--unknown", "ignore"}));
    EXPECT_EQ(o.status, 1);
    EXPECT_THAT(o.err,
                Mentions(dir.file("s.txt") + ": The corrected file could not be saved",
                         dir.file("s_adj.txt") + " could not be written",
                         "The results file " + dir.file("s_OUT.txt") + " has been written all the same"));
    EXPECT_THAT(o.out, AllOf(HasSubstr(dir.file("s_OUT.txt")), Not(HasSubstr(dir.file("s_adj.txt")))));
    EXPECT_EQ(entriesOf(dir), (std::set<std::string>{"s.txt", "s_OUT.txt", "s_adj.txt", "s_taxa.tsv"}));
    EXPECT_TRUE(fs::is_empty(dir.file("s_adj.txt")));
    // A results file that cannot be written points to --output-dir.
    fs::create_directory(dir.file("t_OUT.txt"));
    writeFile(dir.file("t.txt"), typical);
    EXPECT_THAT(batch(runOn(dir.file("t.txt"), {"--force"})).err, HasSubstr("Give --output-dir DIR"));
}

// Any number of threads writes the same files, the intervals included; another seed draws
// other intervals.
TEST(CliBatch, ThreadsChangeNoByteOfTheFilesWrittenAndTheSeedChangesTheIntervals) {
    TempDir dir;
    writeFile(dir.file("s.txt"), typical);
    const auto files = [&](const std::string& threads, const std::string& seed = "9") {
        const Outcome o = batch(runOn(dir.file("s.txt"), {"--force", "--table", "--bootstrap", "20", "--seed",
                                                          seed, "--threads", threads}));
        EXPECT_EQ(o.status, 0) << o.err;
        return readFile(dir.file("s_OUT.txt")) + readFile(dir.file("s_table.tsv")) +
               readFile(dir.file("s_ci.tsv"));
    };
    const std::string one = files("1");
    EXPECT_EQ(files("2"), one);
    EXPECT_EQ(files("5"), one);
    EXPECT_NE(files("2", "10"), one);
    EXPECT_THAT(readFile(dir.file("s_ci.tsv")), HasSubstr("seed=10"));
    EXPECT_THAT(batch(runOn(dir.file("s.txt"), {"--threads", "0"})).err, HasSubstr("--threads"));
}

// A file that fails, whatever the reason, leaves the next ones to be done.
TEST(CliBatch, NextFilesAreDoneAfterAFailingOneAndTheScreenGetsLfLineEnds) {
    TempDir dir;
    writeFile(dir.file("a.txt"), decimalCommas);
    writeFile(dir.file("c.txt"), typical);
    const Outcome o = batch(runOn(dir.file("c.txt"), {dir.file("a.txt"), dir.file("b.txt")}));
    EXPECT_EQ(o.status, 1);
    EXPECT_THAT(o.err, Mentions(dir.file("a.txt") + ": The file", dir.file("b.txt") + ": File not found."));
    EXPECT_THAT(o.out, Mentions("filename: c.txt\n", dir.file("c_OUT.txt") + "\n"));
    EXPECT_THAT(o.out + o.err, Not(HasSubstr("\r")));
}

TEST(CliBatch, DoubleDashReadsAFileNamedLikeAnOption) {
    TempDir dir;
    writeFile(dir.file("-s.txt"), typical);
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    const Outcome o = batch({"--gig", "Med", "--type", "R-M1", "--", "-s.txt"});
    fs::current_path(before);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(fs::exists(dir.file("-s_OUT.txt")));
}

TEST(CliProcess, ExitStatusAndHelp) {
    TempDir dir;
    const std::string good = quoted(dir.file("good.txt"));
    writeFile(dir.file("good.txt"), typical);
    const Outcome done = process(dir, "--gig Med --type R-M1 " + good); // the database beside the program
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(
        process(dir, "--force --gig Med --type R-M1 " + good + " " + quoted(dir.file("none.txt"))).status, 1);
    EXPECT_EQ(process(dir, "--gig Med --type R-A1 x.txt").status, 2);
    const Outcome help = process(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("Usage: torrentix-cli --gig GIG --type CODE"));
}

// The date and time of the results file follow the user's time locale (LC_ALL, else LC_TIME,
// else LANG), in ISO 8601 under the C and POSIX locales; no number follows any locale: under
// German settings (a decimal comma) the rest of the results file is the same, byte for byte.
TEST(CliProcess, DateFollowsTheTimeLocaleAndNoNumberDoes) {
    if (!posixSystem) {
        GTEST_SKIP() << "locales built by localedef are POSIX only";
    }
    TempDir dir;
    for (const std::string locale : {"de_DE", "en_US"}) {
        const std::string build =
            "localedef -i " + locale + " -f UTF-8 '" + dir.file(locale + ".UTF-8") + "' >/dev/null 2>&1";
        (void)std::system(build.c_str());
        if (!fs::exists(dir.file(locale + ".UTF-8/LC_TIME"))) {
            GTEST_SKIP() << "no " << locale << " locale could be built (Debian package locales)";
        }
    }
    // The date and time lines with every digit written 9 and PM as AM.
    const auto shape = [](std::string text) {
        std::replace_if(
            text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }, '9');
        return text.ends_with("PM") ? text.replace(text.size() - 2, 1, "A") : text;
    };
    const std::string iso = "9999-99-99\r\n99:99:99";
    const struct {
        std::string environment, dateAndTime;
    } cases[] = {
        {"", iso},
        {"LANG=de_DE.UTF-8 LC_TIME=POSIX", iso},
        {"LC_ALL=C.UTF-8 LC_TIME=de_DE.UTF-8", iso},
        {"LANG=de_DE.UTF-8", "99.99.9999\r\n99:99:99"},
        {"LC_NUMERIC=de_DE.UTF-8 LC_TIME=en_US.UTF-8", "99/99/9999\r\n99:99:99 AM"},
    };
    SampleFile f = SampleFile::typical();
    for (auto& row : f.rows) {
        row[SampleFile::firstFamily + 1] += ".25";
    }
    writeFile(dir.file("s.txt"), f.text());
    // The C library's newlocale keeps the search path LOCPATH gives it to the end of the
    // program: its leak, not ours, which LeakSanitizer would otherwise report at exit.
    writeFile(dir.file("leaks.supp"), "leak:__argz_add_sep\n");
    const auto today = [](std::time_t now = std::time(nullptr)) { // in UTC, as the runs are told
        std::array<char, 11> day{};
        return std::string(day.data(), std::strftime(day.data(), day.size(), "%Y-%m-%d", std::gmtime(&now)));
    };
    for (const auto& c : cases) {
        const std::string environment = "env -u LC_ALL -u LC_TIME -u LANG TZ=UTC LOCPATH='" + dir.path() +
                                        "' LSAN_OPTIONS=suppressions='" + dir.file("leaks.supp") + "' " +
                                        c.environment;
        const std::string dayBefore = today();
        const Outcome run =
            process(dir, "--force --gig Nor --type R-N2 '" + dir.file("s.txt") + "'", environment);
        ASSERT_EQ(run.status, 0) << c.environment << "\n" << run.err;
        const std::string written = readFile(dir.file("s_OUT.txt"));
        // Lines 3 and 4 (after the title and an empty line) hold the date and time of the run.
        const std::size_t date = written.find("\r\n\r\n") + 4, time = written.find("\r\n", date) + 2;
        const std::size_t end = written.find("\r\n", time);
        EXPECT_EQ(shape(written.substr(date, end - date)), c.dateAndTime) << c.environment;
        const std::string day = written.substr(date, 10); // the day the run began or, past midnight, ended
        EXPECT_TRUE(c.dateAndTime != iso || day == dayBefore || day == today()) << day << c.environment;
        const cli::BatchEnvironment sameClock{dbFolder, written.substr(date, time - 2 - date),
                                              written.substr(time, end - time)};
        ASSERT_EQ(batch({"--force", "--gig", "Nor", "--type", "R-N2", dir.file("s.txt")}, sameClock).status,
                  0);
        EXPECT_EQ(readFile(dir.file("s_OUT.txt")), written) << c.environment;
    }
}

// The table holds at full precision the indices and test values the results file of the
// same run writes rounded; the summary on the screen tells the regressions of the results
// file and the indices' spread.
TEST(CliTable, TableAndSummaryAgreeWithTheResultsFileOfTheSameRun) {
    SampleFile f = SampleFile::typical();
    f.emptyTestValuesFrom(2, 3);            // ALT: 3 values, neither normalised nor regressed
    f.cell(4, 3) = "n.a.";                  // EQR: one value missing
    f.cell(0, 1) = "Gu\xE9 \"A\" 34567890"; // Windows-1252, 16 characters
    for (auto& row : f.rows) {
        row[4] = "5"; // URBAN: all equal, its regressions cannot be computed
    }
    for (const Gig gig : allGigs) {
        TempDir dir;
        writeFile(dir.file("s.txt"), f.text());
        const Outcome o =
            batch({"--gig", std::to_string(gig), "--type", typeCode(gig, 0), "--table", dir.file("s.txt")});
        ASSERT_EQ(o.status, 0) << o.err;
        const Rows table = cellsOf(readFile(dir.file("s_table.tsv")), "\n");
        const std::string resultsText = readFile(dir.file("s_OUT.txt"));
        const Rows results = cellsOf(resultsText, "\r\n"), indices = section(results, "N");
        ASSERT_EQ(table.size(), indices.size() + 1);
        EXPECT_EQ(table[1][1], "\"Gu\xC3\xA9 \"\"A\"\" 34567890\""); // whole, quoted
        const auto cell = [&](std::size_t i, const std::string& name) {
            const auto column = std::find(table[0].begin(), table[0].end(), name) - table[0].begin();
            return table.at(i + 1).at(static_cast<std::size_t>(column));
        };
        const std::string gigIndex = std::string(gigInfo(gig).caption) + " GIG ICMi";
        std::vector<double> star;
        for (std::size_t i = 0; i < indices.size(); ++i) {
            star.push_back(std::stod(cell(i, "STAR_ICMi")));
            EXPECT_EQ(cell(i, "CODE"), indices[i][0]);
            EXPECT_EQ(formatF3(std::stod(cell(i, "GIG_ICMi"))), indices[i][3]);
            for (std::size_t k = 0; k < 3; ++k) {
                const std::string tv = f.header.at(3 + k); // the columns carry the variables' names
                EXPECT_EQ(cell(i, tv + "_raw"), f.cell(i, 3 + k) == "n.a." ? "" : f.cell(i, 3 + k));
                EXPECT_EQ(cell(i, tv + "_norm").empty(), k == 2 || f.cell(i, 3 + k) == "n.a.");
                const std::string shown = cell(i, tv + (k == 2 ? "_raw" : "_norm")); // ALT is written as read
                EXPECT_EQ(shown.empty() ? "N/A" : formatF3(std::stod(shown)), indices[i][4 + k]);
            }
        }
        // The three lines after the heading: "m = …", "b = …", "r² = …".
        std::array<std::string, 3> m;
        std::size_t at = resultsText.find("STAR_ICMi vs EQR regression:\r\n");
        ASSERT_NE(at, std::string::npos);
        for (auto& value : m) {
            at = resultsText.find(" = ", at) + 3;
            value = resultsText.substr(at, resultsText.find('\r', at) - at);
        }
        std::sort(star.begin(), star.end());
        EXPECT_THAT(o.out,
                    Mentions("     STAR_ICMi vs EQR: n = 13, m = " + m[0] + ", b = " + m[1] +
                                 ", r\xC2\xB2 = " + m[2] + "\n",
                             "     " + gigIndex + " vs URBAN: could not be computed",
                             "     " + gigIndex + " vs ALT: not calculated: 3 numeric value(s), 6 needed\n",
                             "     STAR_ICMi: median " + formatF3((star[6] + star[7]) / 2) + ", range " +
                                 formatF3(star.front()) + " to " + formatF3(star.back()) + "\n"));
    }
}

// No output replaces the sample file, whatever name it takes there: each output found to
// be a link to the sample file fails the file, even with --force, and the link stays.
TEST(CliOutputs, NoOutputReplacesTheSampleFileThroughALink) {
    if (!posixSystem) {
        GTEST_SKIP() << "links need a POSIX system";
    }
    TempDir dir;
    writeFile(dir.file("s.txt"), typical);
    fs::create_directory(dir.file("out"));
    for (const std::string output :
         {"s_OUT.txt", "s_adj.txt", "s_taxa.tsv", "s_table.tsv", "s_ci.tsv", "s_ci_regressions.tsv"}) {
        SCOPED_TRACE(output);
        fs::create_symlink(dir.file("s.txt"), dir.file("out/" + output));
        const Outcome o = batch(runOn(
            dir.file("s.txt"), {"--force", "--table", "--bootstrap", "5", "--output-dir", dir.file("out")}));
        EXPECT_EQ(o.status, 1);
        EXPECT_THAT(o.err, HasSubstr(output + " would replace the sample file " + dir.file("s.txt")));
        EXPECT_TRUE(fs::is_symlink(dir.file("out/" + output)));
        fs::remove(dir.file("out/" + output));
    }
    EXPECT_EQ(readFile(dir.file("s.txt")), typical);
}

// The record of the names: every column with its family, where the family comes from and
// what that source knew, the family the metrics count it as, under the settings of the read
// and what the read left out; in UTF-8 (the file is Windows-1252), formulas guarded.
TEST(CliOutputs, RecordOfTheNamesTellsHowEachColumnWasRead) {
    TempDir dir;
    SampleFile f = SampleFile::typical(SampleFile::defaultClasses(),
                                       {"LIMONIIDAE", "ELMINTHIDAE", "Ephemera", "Potamopyrgus antipodarum",
                                        "Talitrus", "SIMULIIDAX", "Sphaerius acaroides", "=cmd|\xE9"});
    std::string text = f.text();
    writeFile(dir.file("s.txt"), text.insert(text.rfind("\r\n", text.size() - 3) + 2, "\r\n"));
    writeFile(dir.file("map.tsv"), "Ephemera\tPERLIDAE\n");
    const Outcome o =
        batch(runOn(dir.file("s.txt"), {"--unknown", "suggest", "--taxa-map", dir.file("map.tsv")}));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_THAT(o.out, HasSubstr(dir.file("s_OUT.txt") + "\n" + dir.file("s_taxa.tsv") + "\n"));
    const std::string record = readFile(dir.file("s_taxa.tsv"));
    EXPECT_THAT(record.substr(0, record.find('\n')),
                AllOf(::testing::StartsWith("# mode=suggest taxa_map=" + dir.file("map.tsv") + " database="),
                      ::testing::EndsWith("ICMTAXA.db version=" + std::string(programVersion))));
    EXPECT_EQ(
        record.substr(record.find('\n') + 1),
        "# The data end at the blank line 16: 1 non-blank line after it was not read.\n"
        "column\tname\tfamily\tsource\tevidence\tcounted_as\n"
        "7\tLIMONIIDAE\tLIMONIIDAE\ttaxa database\t\tTIPULIDAE\n"
        "8\tELMINTHIDAE\tELMIDAE\tsynonym\t\t\n"
        "9\tEphemera\tPERLIDAE\ttaxa map\tline 1\t\n"
        "10\tPotamopyrgus antipodarum\tTATEIDAE\ttaxon dictionary\tPotamopyrgus antipodarum\tHYDROBIIDAE\n"
        "11\tTalitrus\tTALITRIDAE\ttype-genus rule\tTALITRUS\t\n"
        "12\tSIMULIIDAX\tSIMULIIDAE\tprefix rule (a guess)\tSIMULIIDA\t\n"
        "13\tSphaerius acaroides\t\tignored\tby --unknown suggest: taxon dictionary: Sphaerius acaroides → "
        "Sphaeriusidae, a family the taxa database does not hold\t\n"
        "14\t'=cmd|\xC3\xA9\t\tignored\tby --unknown suggest: no family suggested\t\n");
    EXPECT_EQ(batch(runOn(dir.file("s.txt"), {"--unknown", "suggest", "--force", "--no-taxa-record"})).status,
              0);
    EXPECT_EQ(readFile(dir.file("s_taxa.tsv")), record); // left as it was
}

// A run that fails once names were left out says which, and names the file written before it.
TEST(CliOutputs, FailureAfterColumnsLeftOutSaysWhichAndWhatWasWritten) {
    TempDir dir;
    writeFile(dir.file("g.txt"), readFile(EXAMPLES_DIR "/mediterranean-genera.txt"));
    const Outcome o = batch(runOn(dir.file("g.txt"), {"--unknown", "ignore"}));
    EXPECT_EQ(o.status, 1);
    EXPECT_THAT(o.err,
                HasSubstr("are both 2: its values cannot be normalised. The computation was stopped and no "
                          "results file was written. 72 columns of the file were left out: Dugesia sp., "
                          "Polycelis cf. nigra, Pisidium spp., Ancylus fluviatilis, Potamopyrgus "
                          "antipodarum and 67 more. The corrected file " +
                          dir.file("g_adj.txt") + " was written.\n"));
}

// The taxa map answers before --unknown suggest; every file goes to the output folder, and
// a second sample file of the same name does not replace the first one's results there.
TEST(CliOutputs, OutputFolderTakesEveryFileAndTheTaxaMapAnswersFirst) {
    TempDir dir;
    SampleFile f = SampleFile::typical();
    f.header[SampleFile::firstFamily + 5] = "MYSTERYIDAE";
    f.header[SampleFile::firstFamily + 6] = "Ephemera"; // a family starting with EPHEMER is suggested
    f.header[SampleFile::firstFamily + 7] = "SIMULIIDAX";
    fs::create_directory(dir.file("b"));
    writeFile(dir.file("s.txt"), f.text());
    writeFile(dir.file("b/s.txt"), f.text());
    writeFile(dir.file("map.tsv"), "name\tfamily\nephemera\tPERLIDAE\n");
    const std::string out = dir.file("out/new/");
    std::vector<std::string> args =
        runOn(dir.file("b/s.txt"), {"--table", "--unknown", "suggest", "--taxa-map", dir.file("map.tsv"),
                                    "--output-dir", out, dir.file("s.txt")});
    const Outcome o = batch(args);
    EXPECT_EQ(o.status, 1);
    EXPECT_THAT(o.out, HasSubstr(out + "s_adj.txt\n" + out + "s_OUT.txt\n" + out + "s_taxa.tsv\n" + out +
                                 "s_table.tsv\n"));
    EXPECT_THAT(o.err, Mentions(dir.file("s.txt") +
                                    ": EPHEMERA → PERLIDAE (taxa map, line 2; the taxon dictionary gives "
                                    "EPHEMERIDAE)\n",
                                ": SIMULIIDAX → SIMULIIDAE (leading letters: SIMULIIDA, a guess)\n",
                                ": MYSTERYIDAE → ignored (no family suggested)\n",
                                dir.file("b/s.txt") + ": The results file " + out +
                                    "s_OUT.txt holds the results of another sample file of the same name"));
    EXPECT_EQ(entriesOf(dir), (std::set<std::string>{"b", "map.tsv", "out", "s.txt"}));
    EXPECT_EQ(std::distance(fs::directory_iterator(out), {}), 4);
    EXPECT_THAT(readFile(out + "s_OUT.txt"), HasSubstr("File " + dir.file("s.txt") + " opened."));
    EXPECT_THAT(readFile(out + "s_adj.txt"), HasSubstr("\tPERLIDAE\tSIMULIIDAE\r\n"));
    fs::remove(out + "s_OUT.txt"); // a table already there is kept without --force
    args.pop_back();
    EXPECT_THAT(batch(args).err, HasSubstr("The table " + out + "s_table.tsv already exists. Use --force"));
    EXPECT_FALSE(fs::exists(out + "s_OUT.txt"));
}

// A copy of the Mediterranean example whose columns name genera and species of its families
// (three answered by the taxa map, the others by the taxon dictionary and the naming rules)
// gives the same table as the family names; --unknown dictionary takes the dictionary's only.
TEST(CliGenera, GeneraAndSpeciesGiveTheIndicesOfTheirFamilies) {
    const std::string names =
        "Dugesia sp.\tPolycelis\tDorylaimus\tPisidium sp.\tAncylus fluviatilis\tPseudamnicola\tRadix sp.\t"
        "Melanopsis praemorsa\tPhysa fontinalis\tMelanoides tuberculata\tErpobdella octoculata\tGlossiphonia "
        "complanata\tEnchytraeus\tEiseniella tetraedra\tLumbriculus variegatus\tNais\tTubifex tubifex\t"
        "Hygrobates\tAtyaephyra desmarestii\tEchinogammarus\tPalaemon\tPotamon fluviatile\tBaetis rhodani\t"
        "Caenis luctuosa\tSerratella ignita\tEcdyonurus\tHabrophlebia\tOligoneuriela rhenana\tEphoron "
        "virgo\t"
        "Prosopistoma pennigerum\tAeshna cyanea\tCalopteryx virgo\tIschnura elegans\tCordulegaster boltonii\t"
        "Gomphus\tOrthetrum\tLeuctra geniculata\tProtonemura\tPerla marginata\tIsoperla\tSigara\tGerris\t"
        "Naucoris maculatus\tVelia caprai\tCalamoceras\tEcnomus tenellus\tHydropsyche "
        "pellucidula\tHydroptila\t"
        "Athripsodes\tPotamophylax\tChimarra marginata\tPolycentropus flavomaculatus\tTinodes\tRhyacophila\t"
        "Sericostoma\tDryops\tOreodytes\tElmis sp.\tOrectochilus villosus\tHelophorus\tHydraena\tLaccobius\t"
        "Atherix ibis\tBezzia\tChironomus\tDixa\tChelipoda\tHexatoma\tPericoma\tSimulium ornatum\tNemotelus\t"
        "Chrysops\tTipula";
    TempDir dir;
    const std::string families = readFile(EXAMPLES_DIR "/mediterranean.txt");
    const std::size_t header = families.find("\r\n") + 2, end = families.find("\r\n", header);
    std::size_t cells = header;
    for (int k = 0; k < 6; ++k) {
        cells = families.find('\t', cells) + 1;
    }
    writeFile(dir.file("f.txt"), families);
    writeFile(dir.file("g.txt"), families.substr(0, cells) + names + families.substr(end));
    writeFile(dir.file("map.tsv"), "Atyaephyra desmarestii\tATYIDAE\nMelanoides "
                                   "tuberculata\tTHIARIDAE\nEphoron virgo\tPOLYMITARCYIDAE\n");
    Outcome o = batch(runOn(dir.file("g.txt"), {"--table", "--unknown", "suggest", "--taxa-map",
                                                dir.file("map.tsv"), dir.file("f.txt")}));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(readFile(dir.file("g_table.tsv")), readFile(dir.file("f_table.tsv")));
    EXPECT_EQ(cellsOf(readFile(dir.file("g_adj.txt")), "\r\n")[1], cellsOf(families, "\r\n")[1]);
    std::size_t mapped = 0;
    for (auto at = o.err.find(" → "); at != std::string::npos; at = o.err.find(" → ", at + 1)) {
        ++mapped;
    }
    EXPECT_EQ(mapped, 73u);
    EXPECT_THAT(
        o.err,
        Mentions("ATYAEPHYRA DESMARESTII → ATYIDAE (taxa map, line 1)\n",
                 "BAETIS RHODANI → BAETIDAE (taxon dictionary: Baetis rhodani)\n",
                 "ELMIS SP. → ELMIDAE (taxon dictionary: Elmis)\n",
                 "POTAMON FLUVIATILE → POTAMIDAE (taxon dictionary: Potamon)\n",
                 "MELANOPSIS PRAEMORSA → MELANOPSIDAE (counted as THIARIDAE by the method's scores and "
                 "lists) (taxon dictionary: Melanopsis)\n",
                 "OLIGONEURIELA RHENANA → OLIGONEURIIDAE (leading letters: OLIGONEURI, a guess)\n"));
    // A typo that only the leading letters match is never the dictionary's answer.
    o = batch(runOn(dir.file("g.txt"), {"--unknown", "dictionary", "--force"}));
    EXPECT_EQ(o.status, 1);
    EXPECT_THAT(o.err, Mentions("unknown taxon \"OLIGONEURIELA RHENANA\" (suggested family: OLIGONEURIIDAE "
                                "(leading letters: OLIGONEURI, a guess))",
                                "Process aborted: 1 taxon name(s) have no family in the taxon dictionary"));
}

// The manual page tells of every option that --help tells of.
TEST(CliArguments, TheManualPageCoversEveryOptionAndTheCitationThisVersion) {
    std::string manual = readFile(MANUAL_PAGE);
    for (std::size_t at; (at = manual.find("\\-")) != std::string::npos;) {
        manual.replace(at, 2, "-");
    }
    const std::string help = cli::helpText();
    std::size_t options = 0;
    for (std::size_t at = help.find(" -"); at != std::string::npos; at = help.find(" -", at + 1)) {
        const std::string option = help.substr(at + 1, help.find_first_of(" ,=\n", at + 1) - at - 1);
        if (option.size() > 1 && std::isalpha(static_cast<unsigned char>(option.back()))) {
            EXPECT_THAT(manual, AnyOf(HasSubstr(option + " "), HasSubstr(option + "\n"))) << option;
            ++options;
        }
    }
    EXPECT_GE(options, 20u);
    // The citation names the version that the programs write.
    EXPECT_THAT(readFile(CITATION_FILE), HasSubstr("\nversion: " + std::string(programVersion) + "\n"));
}

// The Debian package built by "cmake --build BUILD --target package": these files and no
// other.
TEST(Package, HoldsBothProgramsTheDatabaseTheManualsAndTheDesktopFiles) {
    if (!fs::exists(PACKAGE_PATH)) {
        GTEST_SKIP() << PACKAGE_PATH << " was not built";
    }
    TempDir dir;
    ASSERT_EQ(
        std::system(("dpkg-deb -c '" + std::string(PACKAGE_PATH) + "' >'" + dir.file("list") + "'").c_str()),
        0);
    std::set<std::string> files; // "-rw-r--r-- root/root 1234 2026-12-06 10:00 ./usr/bin/x"
    for (const auto& line : cellsOf(readFile(dir.file("list")), "\n")) {
        if (!line.empty() && line[0].front() == '-') {
            files.insert(line[0].substr(line[0].find(" ./") + 2));
        }
    }
    EXPECT_EQ(files, (std::set<std::string>{
                         "/usr/bin/torrentix", "/usr/bin/torrentix-cli", "/usr/share/torrentix/ICMTAXA.db",
                         "/usr/share/torrentix/dictionary-LICENSE.txt", "/usr/share/doc/torrentix/copyright",
                         "/usr/share/doc/torrentix/changelog.gz", "/usr/share/doc/torrentix/README.md.gz",
                         "/usr/share/man/man1/torrentix.1.gz", "/usr/share/man/man1/torrentix-cli.1.gz",
                         "/usr/share/applications/" APP_ID ".desktop",
                         "/usr/share/icons/hicolor/scalable/apps/" APP_ID ".svg",
                         "/usr/share/metainfo/" APP_ID ".metainfo.xml"}));
}
