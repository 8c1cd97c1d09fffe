// The batch command on damaged sample files. Each case writes one file into a fresh
// folder, runs torrentix-cli on it and checks the exit status, that the message names the
// problem and the file, that the sample file is unchanged byte for byte, and that the
// folder holds exactly the files it should: no partial results file ("_OUT.txt"),
// corrected file ("_adj.txt") or temporary file after a failure, and no NaN or infinity
// in the results after a success.

#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using torrentix::testing::readFile;
using torrentix::testing::TempDir;
using torrentix::testing::writeFile;
namespace fs = std::filesystem;

// ---------------------------------------------------------------------------------------
// Running the batch command.

struct CommandResult {
    int status = -1; // exit status; 128 + signal when killed
    std::string out;
    std::string err;
};

std::vector<std::string> environmentWith(const std::vector<std::string>& overrides) {
    std::vector<std::string> env = overrides;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string key = entry.substr(0, entry.find('=') + 1);
        const bool overridden = std::any_of(overrides.begin(), overrides.end(),
                                            [&](const std::string& o) { return o.rfind(key, 0) == 0; });
        if (!overridden) {
            env.push_back(entry);
        }
    }
    return env;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& t : texts) {
        pointers.push_back(t.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Waits for the child; kills it when it runs for more than a minute.
int waitForExit(pid_t child) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return 128 + SIGKILL;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Runs torrentix-cli with the arguments; its output goes to files in `logFolder`.
CommandResult runCli(const std::vector<std::string>& args, const std::string& logFolder,
                     const std::vector<std::string>& environment = {}) {
    std::vector<std::string> argv = {CLI_PATH, "--taxa-db", TAXA_DB_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env = environmentWith(environment);
    auto argvPointers = pointersTo(argv);
    auto envPointers = pointersTo(env);
    const std::string outPath = logFolder + "/stdout";
    const std::string errPath = logFolder + "/stderr";
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execve(argvPointers[0], argvPointers.data(), envPointers.data());
        ::_exit(127);
    }
    CommandResult r;
    r.status = waitForExit(child);
    r.out = readFile(outPath);
    r.err = readFile(errPath);
    return r;
}

// The arguments of a Mediterranean run (first test variable biological) on one file.
std::vector<std::string> runOn(const std::string& file, const std::vector<std::string>& extra = {}) {
    std::vector<std::string> args = {"--gig", "Mediterranean", "--type", "R-M1", "--bio", "1"};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(file);
    return args;
}

// ---------------------------------------------------------------------------------------
// Sample files.

const std::string labelsAndTests = "CODE\tSAMPLE\tCLASS\tEQR\tURBAN\tALT";
const std::vector<std::string> knownFamilies = {"BAETIDAE", "HEPTAGENIIDAE", "LEUCTRIDAE", "CHIRONOMIDAE",
                                                "NAIDIDAE", "GAMMARIDAE",    "ELMIDAE",    "SIMULIIDAE"};
// 7 Reference samples, then High to Bad and one not classified.
const std::vector<int> sampleClasses = {6, 6, 6, 6, 6, 6, 6, 5, 5, 4, 3, 2, 1, 0};

using AbundanceOf = std::function<std::string(std::size_t sample, std::size_t family)>;

// Better classes hold more families; counts vary from sample to sample.
std::string plausibleAbundance(std::size_t sample, std::size_t family) {
    const int c = sampleClasses[sample % sampleClasses.size()];
    const bool present = c > 4 || (c + static_cast<int>(family)) % 3 != 0;
    return present ? std::to_string((sample + 1) * (family + 3) % 17 + 1) : "0";
}

std::string sampleRow(std::size_t i, const std::vector<std::string>& families, const AbundanceOf& abundance) {
    const int c = sampleClasses[i % sampleClasses.size()];
    std::string row = "S" + std::to_string(i + 1) + "\tSite " + std::to_string(i + 1) + "\t" +
                      std::to_string(c) + "\t0." + std::to_string(9 - i % 9) + "\t" +
                      std::to_string(i * 3 + 1) + "\t" + std::to_string(300 + i * 10);
    for (std::size_t j = 0; j < families.size(); ++j) {
        row += "\t" + abundance(i, j);
    }
    return row;
}

struct SampleFile {
    std::string title = "River survey";
    std::vector<std::string> families = knownFamilies;
    std::size_t samples = sampleClasses.size();
    AbundanceOf abundance = plausibleAbundance;
    std::string lineEnd = "\r\n";

    std::string text() const {
        std::string out = title + lineEnd + labelsAndTests;
        for (const auto& f : families) {
            out += "\t" + f;
        }
        out += lineEnd;
        for (std::size_t i = 0; i < samples; ++i) {
            out += sampleRow(i, families, abundance) + lineEnd;
        }
        return out;
    }
};

std::string validFile() {
    return SampleFile{}.text();
}

std::string replacedOnce(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// The file with one abundance cell replaced: sample 4, family 3.
std::string withAbundance(const std::string& cell) {
    SampleFile f;
    f.abundance = [cell](std::size_t i, std::size_t j) {
        return i == 3 && j == 2 ? cell : plausibleAbundance(i, j);
    };
    return f.text();
}

std::string randomBytes(std::size_t count) {
    std::mt19937 engine(20240607);
    std::string bytes(count, '\0');
    for (auto& b : bytes) {
        b = static_cast<char>(engine() & 0xFF);
    }
    return bytes;
}

std::string manyColumns(std::size_t columns) {
    SampleFile f;
    f.families.clear();
    for (std::size_t j = 0; j < columns; ++j) {
        f.families.push_back(knownFamilies[j % knownFamilies.size()]); // columns of one family merge
    }
    return f.text();
}

std::string mixedLineEnds() {
    const std::string crlf = validFile();
    std::string mixed;
    int line = 0;
    for (std::size_t i = 0; i < crlf.size(); ++i) {
        if (crlf[i] == '\r') {
            const char* ends[] = {"\r\n", "\n", "\r"};
            mixed += ends[line++ % 3];
            ++i; // skip the LF
        } else {
            mixed += crlf[i];
        }
    }
    return mixed;
}

// ---------------------------------------------------------------------------------------
// The folder after a run.

std::set<std::string> filesUnder(const std::string& folder) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_directory()) {
            files.insert(fs::relative(entry.path(), folder).string());
        }
    }
    return files;
}

// Cells that print a NaN or an infinity.
std::vector<std::string> nonFiniteCells(const std::string& text) {
    std::vector<std::string> found;
    std::string cell;
    auto check = [&] {
        std::string lower;
        for (char c : cell) {
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        for (const char* bad : {"nan", "-nan", "inf", "-inf", "infinity", "-infinity"}) {
            if (lower == bad) {
                found.push_back(cell);
            }
        }
        cell.clear();
    };
    for (char c : text) {
        if (c == '\t' || c == '\r' || c == '\n' || c == ' ') {
            check();
        } else {
            cell += c;
        }
    }
    check();
    return found;
}

// The results without their date and time lines (lines 3 and 4).
std::string withoutDateAndTime(const std::string& results) {
    std::string out;
    std::size_t start = 0;
    for (int line = 1; start < results.size(); ++line) {
        const auto end = results.find('\n', start);
        const auto next = end == std::string::npos ? results.size() : end + 1;
        if (line != 3 && line != 4) {
            out += results.substr(start, next - start);
        }
        start = next;
    }
    return out;
}

// The first line where two texts differ, for the failure message.
std::string firstDifference(const std::string& a, const std::string& b) {
    std::size_t start = 0;
    for (int line = 1;; ++line) {
        const auto endA = a.find('\n', start);
        const auto endB = b.find('\n', start);
        const std::string lineA =
            a.substr(start, endA == std::string::npos ? std::string::npos : endA - start);
        const std::string lineB =
            b.substr(start, endB == std::string::npos ? std::string::npos : endB - start);
        if (lineA != lineB || endA == std::string::npos || endB == std::string::npos) {
            return "line " + std::to_string(line) + ":\n  " + lineA.substr(0, 200) + "\n  " +
                   lineB.substr(0, 200);
        }
        start = endA + 1;
    }
}

// Expects equal results files, date and time lines aside.
void expectSameResults(const std::string& actual, const std::string& expected, const std::string& what) {
    const std::string a = withoutDateAndTime(actual);
    const std::string b = withoutDateAndTime(expected);
    EXPECT_TRUE(a == b) << what << ", first difference at " << firstDifference(a, b);
}

// ---------------------------------------------------------------------------------------
// The table of damaged files.

// Done: exit 0 and a results file. Failed: exit 1 and nothing written. Either: one of the
// two, the message parts then only required of a failure.
enum class Outcome { Done, Failed, Either };

struct BadInputCase {
    std::string name;
    std::function<std::string()> content;
    Outcome outcome = Outcome::Failed;
    std::vector<std::string> messageParts = {}; // standard error must hold each
    std::string fileName = "samples.txt";       // may lie in a subfolder
    std::vector<std::string> extraArgs = {};
    bool writesCorrectedFile = false;
    std::function<std::string()> sameResultsAs = {}; // a file whose results must be identical
};

void PrintTo(const BadInputCase& c, std::ostream* out) {
    *out << c.name;
}

std::string resultsNameOf(const std::string& fileName) {
    const auto slash = fileName.rfind('/');
    const auto dot = fileName.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? fileName.substr(0, dot) : fileName) + "_OUT.txt";
}

std::string correctedNameOf(const std::string& fileName) {
    return replacedOnce(resultsNameOf(fileName), "_OUT.txt", "_adj.txt");
}

std::vector<BadInputCase> badInputCases() {
    const std::string noTaxonColumn = "no taxon column";
    const auto oddNames = [] {
        return SampleFile{.families = {"\"BAETIDAE\"", "HEPTAGENIIDAE;LEUCTRIDAE", "CHIRONOMIDAE"}}.text();
    };
    const auto twoHugeCellsInSample4 = [] {
        return SampleFile{.abundance =
                              [](std::size_t i, std::size_t j) {
                                  return i == 3 && j < 2 ? std::string("1e308") : plausibleAbundance(i, j);
                              }}
            .text();
    };
    const auto nanAndInfinityForZero = [] {
        return SampleFile{.abundance =
                              [](std::size_t i, std::size_t j) {
                                  const std::array<const char*, 4> words = {"nan", "inf", "NaN", "Infinity"};
                                  const std::string a = plausibleAbundance(i, j);
                                  return a == "0" ? std::string(words[(i + j) % 4]) : a;
                              }}
            .text();
    };
    using C = BadInputCase;
    return {
        // Files too short to hold samples.
        C{.name = "EmptyFile",
          .content = [] { return std::string(); },
          .outcome = Outcome::Failed,
          .messageParts = {"is empty"}},
        C{.name = "TitleOnly",
          .content = [] { return std::string("River survey\r\n"); },
          .outcome = Outcome::Failed,
          .messageParts = {noTaxonColumn}},
        C{.name = "HeaderOnly",
          .content = [] { return SampleFile{.samples = 0}.text(); },
          .outcome = Outcome::Failed,
          .messageParts = {"no data line"}},
        C{.name = "HeaderWithSixCells",
          .content = [] { return SampleFile{.families = {}}.text(); },
          .outcome = Outcome::Failed,
          .messageParts = {noTaxonColumn}},
        // Bytes that are not text, or text with odd bytes and line ends.
        C{.name = "RandomBinaryBytes",
          .content = [] { return randomBytes(4096); },
          .outcome = Outcome::Failed},
        C{.name = "NulInsideAFamilyName",
          .content = [] { return replacedOnce(validFile(), "BAETIDAE", std::string("BAETI\0DAE", 9)); },
          .outcome = Outcome::Failed,
          .messageParts = {"unknown taxon \"BAETI\\x00DAE\"", "Process aborted"}},
        C{.name = "NulInsideASampleName",
          .content = [] { return replacedOnce(validFile(), "Site 2", std::string("Si\0te 2", 7)); },
          .outcome = Outcome::Done},
        C{.name = "Utf8ByteOrderMark",
          .content = [] { return "\xEF\xBB\xBF" + validFile(); },
          .outcome = Outcome::Done},
        C{.name = "LfOnly",
          .content = [] { return SampleFile{.lineEnd = "\n"}.text(); },
          .outcome = Outcome::Done,
          .sameResultsAs = validFile},
        C{.name = "CrOnly",
          .content = [] { return SampleFile{.lineEnd = "\r"}.text(); },
          .outcome = Outcome::Done,
          .sameResultsAs = validFile},
        C{.name = "MixedLineEnds",
          .content = mixedLineEnds,
          .outcome = Outcome::Done,
          .sameResultsAs = validFile},
        // Sizes far beyond real files.
        C{.name = "OneMegabyteSampleCode",
          .content = [] { return replacedOnce(validFile(), "S3\t", std::string(1 << 20, 'C') + "\t"); },
          .outcome = Outcome::Done},
        C{.name = "OneMegabyteFamilyName",
          .content =
              [] {
                  return replacedOnce(validFile(), "SIMULIIDAE", "SIMULIIDAE" + std::string(1 << 20, 'X'));
              },
          .outcome = Outcome::Failed,
          .messageParts = {"unknown taxon \"SIMULIIDAEXXX", "suggested family: SIMULIIDAE"}},
        C{.name = "FortyThousandColumns",
          .content = [] { return manyColumns(40000); },
          .outcome = Outcome::Done},
        C{.name = "SeventyThousandRows",
          .content = [] { return SampleFile{.samples = 70000}.text(); },
          .outcome = Outcome::Done},
        // Family names with characters of other file formats.
        C{.name = "QuotesAndSemicolonsInFamilyNames",
          .content = oddNames,
          .outcome = Outcome::Failed,
          .messageParts = {"unknown taxon \"\"BAETIDAE\"\"", "unknown taxon \"HEPTAGENIIDAE;LEUCTRIDAE\"",
                           "2 taxon name(s)"}},
        C{.name = "QuotesAndSemicolonsTakenAsSuggested",
          .content = oddNames,
          .outcome = Outcome::Done,
          .messageParts = {"corrected file"},
          .extraArgs = {"--unknown", "suggest"},
          .writesCorrectedFile = true},
        // Abundances that are not counts or densities.
        C{.name = "NegativeAbundance",
          .content = [] { return withAbundance("-3"); },
          .outcome = Outcome::Failed,
          .messageParts = {"Error #2", "\"-3\"", "row 4"}},
        C{.name = "HugeAbundance",
          .content = [] { return withAbundance("1e308"); },
          .outcome = Outcome::Done},
        // The two cells add up beyond the largest number: the sample's metrics must stay
        // finite, or the file be refused with a message that names the sample's row.
        C{.name = "TwoHugeAbundancesInOneSample",
          .content = twoHugeCellsInSample4,
          .outcome = Outcome::Either,
          .messageParts = {"row 4"}},
        C{.name = "OverflowingAbundance",
          .content = [] { return withAbundance("1e999"); },
          .outcome = Outcome::Failed,
          .messageParts = {"Error #2", "\"1e999\""}},
        C{.name = "NanAndInfinityCellsReadAsZero",
          .content = nanAndInfinityForZero,
          .outcome = Outcome::Done,
          .sameResultsAs = validFile},
        C{.name = "AllRowsZero",
          .content =
              [] { return SampleFile{.abundance = [](std::size_t, std::size_t) { return "0"; }}.text(); },
          .outcome = Outcome::Failed,
          .messageParts = {"no sample with a total abundance above 0"}},
        // Where the results file goes.
        C{.name = "DotOnlyInTheFolderName",
          .content = validFile,
          .outcome = Outcome::Done,
          .fileName = "survey.2024/site-a"},
    };
}

class BadInput : public ::testing::TestWithParam<BadInputCase> {
  protected:
    TempDir root;
    std::string work() const { return root.file("work"); }
    std::string logs() const { return root.file("logs"); }

    void SetUp() override {
        fs::create_directories(work());
        fs::create_directories(logs());
    }
    // Writes the file under work/ and returns its path.
    std::string place(const std::string& fileName, const std::string& content) const {
        const std::string path = work() + "/" + fileName;
        fs::create_directories(fs::path(path).parent_path());
        writeFile(path, content);
        return path;
    }
    // The results of another file placed at the same path (the results name their sample
    // file), after the results of the earlier run there are removed.
    std::string resultsAt(const std::string& fileName, const std::string& content) const {
        const std::string input = place(fileName, content);
        const std::string results = work() + "/" + resultsNameOf(fileName);
        fs::remove(results);
        const CommandResult r = runCli(runOn(input), logs());
        EXPECT_EQ(r.status, 0) << r.err;
        return fs::exists(results) ? readFile(results) : std::string();
    }
};

TEST_P(BadInput, FailsCleanlyOrComputes) {
    const BadInputCase& c = GetParam();
    const std::string content = c.content();
    const std::string input = place(c.fileName, content);
    const CommandResult r = runCli(runOn(input, c.extraArgs), logs());

    ASSERT_LT(r.status, 128) << "the batch command was killed by signal " << r.status - 128 << "\n" << r.err;
    const bool done = r.status == 0;
    if (c.outcome != Outcome::Either) {
        EXPECT_EQ(done, c.outcome == Outcome::Done) << "exit status " << r.status << "\n"
                                                    << r.err.substr(0, 2000);
    }
    EXPECT_TRUE(r.status == 0 || r.status == 1) << "exit status " << r.status;
    if (!done || c.outcome == Outcome::Done) {
        for (const auto& part : c.messageParts) {
            EXPECT_NE(r.err.find(part), std::string::npos) << "missing \"" << part << "\" in:\n"
                                                           << r.err.substr(0, 2000);
        }
    }
    EXPECT_TRUE(readFile(input) == content) << "the sample file was changed";

    std::set<std::string> expected = {c.fileName};
    if (done) {
        expected.insert(resultsNameOf(c.fileName));
    } else {
        EXPECT_NE(r.err.find(input), std::string::npos) << "the message does not name the file:\n" << r.err;
    }
    if (done && c.writesCorrectedFile) {
        expected.insert(correctedNameOf(c.fileName));
    }
    EXPECT_EQ(filesUnder(work()), expected);

    if (done) {
        const std::string results = readFile(work() + "/" + resultsNameOf(c.fileName));
        EXPECT_EQ(nonFiniteCells(results), std::vector<std::string>{});
        if (c.sameResultsAs) {
            expectSameResults(results, resultsAt(c.fileName, c.sameResultsAs()),
                              "the results differ from those of the same samples written plainly");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(DamagedFiles, BadInput, ::testing::ValuesIn(badInputCases()),
                         [](const ::testing::TestParamInfo<BadInputCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------
// Results files that already exist, and folders that cannot be written.

class ExistingResults : public BadInput {};

TEST_F(ExistingResults, SurviveAFailedRunEvenWithForce) {
    const std::string input = place("samples.txt", withAbundance("-3"));
    const std::string results = work() + "/samples_OUT.txt";
    writeFile(results, "earlier results\r\n");
    const CommandResult r = runCli(runOn(input, {"--force"}), logs());
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(readFile(results), "earlier results\r\n");
    EXPECT_EQ(filesUnder(work()), (std::set<std::string>{"samples.txt", "samples_OUT.txt"}));
}

TEST_F(ExistingResults, AreKeptWithoutForceAndReplacedWholeWithIt) {
    const std::string input = place("samples.txt", validFile());
    const std::string results = work() + "/samples_OUT.txt";
    writeFile(results, "earlier results\r\n");

    const CommandResult kept = runCli(runOn(input), logs());
    EXPECT_EQ(kept.status, 1);
    EXPECT_NE(kept.err.find("already exists"), std::string::npos) << kept.err;
    EXPECT_EQ(readFile(results), "earlier results\r\n");

    const CommandResult replaced = runCli(runOn(input, {"--force"}), logs());
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_NE(readFile(results).find("END OF OUTPUT"), std::string::npos);
    EXPECT_EQ(filesUnder(work()), (std::set<std::string>{"samples.txt", "samples_OUT.txt"}));
}

TEST_F(BadInput, ReadOnlyFolderGetsAClearMessageAndNoFile) {
    const std::string input = place("samples.txt", validFile());
    fs::permissions(work(), fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(work().c_str(), W_OK) == 0) { // the superuser writes anywhere
        fs::permissions(work(), fs::perms::owner_all);
        GTEST_SKIP() << "write permission is not enforced for this user";
    }
    const CommandResult r = runCli(runOn(input), logs());
    fs::permissions(work(), fs::perms::owner_all);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("could not be written"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(work() + "/samples_OUT.txt"), std::string::npos) << r.err;
    EXPECT_EQ(filesUnder(work()), std::set<std::string>{"samples.txt"});
}

// ---------------------------------------------------------------------------------------
// Sample files are the same everywhere: a decimal point is a point whatever the user's
// locale says (many users work under a locale whose decimal separator is a comma).

// Builds a locale that only defines a comma as the decimal separator; empty when the
// system cannot build locales.
std::string commaLocaleFolder(const TempDir& root) {
    const std::string source = root.file("comma.src");
    writeFile(source, "LC_NUMERIC\ndecimal_point \"<U002C>\"\nthousands_sep \"<U002E>\"\ngrouping 3;3\n"
                      "END LC_NUMERIC\n");
    const std::string folder = root.file("locales");
    fs::create_directories(folder);
    const std::string command =
        "localedef -c -f UTF-8 -i '" + source + "' '" + folder + "/comma.UTF-8' >/dev/null 2>&1";
    (void)std::system(command.c_str());
    return fs::exists(folder + "/comma.UTF-8/LC_NUMERIC") ? folder : std::string();
}

TEST_F(BadInput, DecimalPointsAreReadTheSameUnderACommaLocale) {
    const std::string locales = commaLocaleFolder(root);
    if (locales.empty()) {
        GTEST_SKIP() << "localedef could not build a test locale";
    }
    SampleFile f;
    f.abundance = [](std::size_t i, std::size_t j) {
        return plausibleAbundance(i, j) + (j % 2 ? ".25" : "");
    };
    const std::string content = f.text();
    const std::string input = place("samples.txt", content);
    const CommandResult r = runCli(runOn(input), logs(), {"LOCPATH=" + locales, "LC_NUMERIC=comma.UTF-8"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string commaResults = readFile(work() + "/samples_OUT.txt");
    expectSameResults(commaResults, resultsAt("samples.txt", content),
                      "the results under a comma locale differ from those under the C locale");
}

} // namespace
