#include "cli/cliargs.h"

#include "base/error.h"
#include "base/text.h"
#include "metrics/catalogue.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace torrentix::cli {
namespace {

[[noreturn]] void usage(const std::string& message) {
    throw Error(message);
}

std::size_t testVariableNumber(const std::string& option, const std::string& text) {
    if (text == "1" || text == "2" || text == "3") {
        return static_cast<std::size_t>(text[0] - '1');
    }
    usage(option + ": the test variable must be 1, 2 or 3, not \"" + text + "\".");
}

class ArgStream {
  public:
    explicit ArgStream(const std::vector<std::string>& args) : args_(args) {}
    bool done() const { return next_ >= args_.size(); }
    const std::string& take() { return args_[next_++]; }
    const std::string& valueOf(const std::string& option) {
        if (done()) {
            usage(option + " needs a value.");
        }
        return take();
    }

  private:
    const std::vector<std::string>& args_;
    std::size_t next_ = 0;
};

// A whole number from `lowest` to `highest`, written in decimal digits only.
std::uint64_t wholeNumber(const std::string& option, const std::string& text, std::uint64_t lowest,
                          std::uint64_t highest) {
    std::uint64_t value = 0;
    const auto end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ptr != end || ec != std::errc() || value < lowest || value > highest) {
        usage(option + " expects a whole number from " + std::to_string(lowest) + " to " +
              std::to_string(highest) + ", not \"" + text + "\".");
    }
    return value;
}

void parseMin(CliArgs& a, const std::string& value) {
    auto eq = value.find('=');
    if (eq == std::string::npos) {
        usage("--min expects K=VALUE, for example --min 2=0.5.");
    }
    auto k = testVariableNumber("--min", value.substr(0, eq));
    std::string number = value.substr(eq + 1);
    if (!isNumeric(number)) {
        usage("--min " + value + ": \"" + number + "\" is not a number.");
    }
    a.testVariables[k].minText = number;
}

void parseOne(CliArgs& a, ArgStream& in, std::string& gigText, std::string& typeText) {
    const std::string arg = in.take();
    if (arg == "--help" || arg == "-h") {
        a.help = true;
    } else if (arg == "--version") {
        a.version = true;
    } else if (arg == "--list-types") {
        a.listTypes = true;
    } else if (arg == "--gig") {
        gigText = in.valueOf(arg);
    } else if (arg == "--type") {
        typeText = in.valueOf(arg);
    } else if (arg == "--min") {
        parseMin(a, in.valueOf(arg));
    } else if (arg == "--observed-min") {
        a.testVariables[testVariableNumber(arg, in.valueOf(arg))].observedMin = true;
    } else if (arg == "--bio") {
        a.testVariables[testVariableNumber(arg, in.valueOf(arg))].biological = true;
    } else if (arg == "--unknown") {
        const std::string mode = in.valueOf(arg);
        if (const auto named = unknownModeNamed(mode)) {
            a.unknown = *named;
        } else {
            usage("--unknown must be abort, ignore, suggest or dictionary, not \"" + mode + "\".");
        }
    } else if (arg == "--force") {
        a.force = true;
    } else if (arg == "--decimal-comma") {
        a.decimalComma = true;
    } else if (arg == "--strict") {
        a.strict = true;
    } else if (arg == "--read-past-blank-lines") {
        a.readPastBlankLines = true;
    } else if (arg == "--no-taxa-record") {
        a.taxaRecord = false;
    } else if (arg == "--taxa-db") {
        a.taxaDb = in.valueOf(arg);
    } else if (arg == "--taxa-map") {
        a.taxaMap = in.valueOf(arg);
    } else if (arg == "--output-dir") {
        a.outputDir = in.valueOf(arg);
        if (a.outputDir.empty()) {
            usage("--output-dir needs a folder.");
        }
    } else if (arg == "--table") {
        a.table = true;
    } else if (arg == "--threads") {
        a.threads = static_cast<int>(wholeNumber(arg, in.valueOf(arg), 1, 1024));
    } else if (arg == "--bootstrap") {
        a.bootstrap = static_cast<int>(wholeNumber(arg, in.valueOf(arg), 1, 1000000));
    } else if (arg == "--seed") {
        a.seed = wholeNumber(arg, in.valueOf(arg), 0, std::numeric_limits<std::uint64_t>::max());
    } else if (arg == "--") {
        while (!in.done()) {
            a.files.push_back(in.take());
        }
    } else if (arg.size() > 1 && arg[0] == '-') {
        usage("Unknown option " + arg + ".");
    } else {
        a.files.push_back(arg);
    }
}

} // namespace

CliArgs parseArgs(const std::vector<std::string>& args) {
    CliArgs a;
    std::string gigText;
    std::string typeText;
    ArgStream in(args);
    while (!in.done()) {
        parseOne(a, in, gigText, typeText);
    }
    if (a.help || a.version || a.listTypes) {
        return a;
    }
    if (gigText.empty()) {
        usage("--gig is required.");
    }
    auto gig = parseGig(gigText);
    if (!gig) {
        usage("Unknown GIG \"" + gigText +
              "\". The GIGs are Alpine, \"Central / Baltic\", \"Eastern "
              "continental\", Mediterranean and Northern (or Alp, Cen, Eas, Med, Nor, or 0 to 4).");
    }
    a.gig = *gig;
    if (typeText.empty()) {
        usage("--type is required.");
    }
    auto type = parseTypeCode(a.gig, typeText);
    if (!type) {
        usage("\"" + typeText + "\" is not a river type of the " + std::string(gigInfo(a.gig).caption) +
              " GIG (R-" + gigInitial(a.gig) + "1 to R-" + gigInitial(a.gig) +
              std::to_string(gigInfo(a.gig).riverTypeCount) + ").");
    }
    a.riverType = *type;
    for (auto& tv : a.testVariables) {
        if (tv.observedMin) {
            tv.minText.clear(); // ticking "Observed Min" empties "Min Value"
        }
    }
    if (a.files.empty()) {
        usage("No sample file given.");
    }
    return a;
}

std::string helpText() {
    return R"(Usage: torrentix-cli --gig GIG --type CODE [options] FILE...
       torrentix-cli --list-types

Computes the Intercalibration Common Metrics, the STAR_ICMi and the GIG ICMi of each
tab-separated sample file and writes the results file FILE_OUT.txt beside it.

  --gig GIG          Alpine, "Central / Baltic", "Eastern continental", Mediterranean or
                     Northern (any letter case; blanks, "/" and "-" do not matter:
                     Central-Baltic), or Alp, Cen, Eas, Med, Nor, or 0..4.
  --type CODE        a river type of that GIG: R-A1..R-A2, R-C1..R-C5, R-E1..R-E6,
                     R-M1..R-M5, R-N1..R-N8 (any letter case).
  --min K=VALUE      "Min Value" of test variable K (1, 2 or 3): the lower value of its
                     normalisation (default 0).
  --observed-min K   "Observed Min" of test variable K: its smallest value is the lower
                     value (wins over --min).
  --bio K            "Biological" for test variable K: its upper value is the reference
                     value of the reference samples instead of its largest value.
  --unknown MODE     what to do with a taxon name that is neither a family nor a synonym
                     (a genus or species, say):
                       abort      (default) list each such name with what the taxon
                                  dictionary and the naming rules say of it, write
                                  nothing and fail;
                       ignore     ignore the column;
                       suggest    take the family of the first source that gives one:
                                  the name without "sp.", "cf.", "agg." and the like
                                  as a family or synonym, the taxon dictionary (a
                                  species it lacks by its genus), the family named
                                  after the genus (Baetis: BAETIDAE), the family
                                  starting with the longest leading part of the name
                                  (a guess); ignore the column when none gives one;
                       dictionary take only the families of the database and the
                                  taxon dictionary; any other name is listed and the
                                  file fails.
                     With ignore, suggest and dictionary the names count as corrected,
                     each correction is printed with its source (EPHEMERA DANICA →
                     EPHEMERIDAE (taxon dictionary: Ephemera danica), say) and the
                     corrected file FILE_adj.txt is written, its columns merged into
                     families. A name that the taxon dictionary and the family
                     named after its genus place in two families (HYDROBIUS:
                     HYDROPHILIDAE and HYDROBIIDAE) is never decided: the file
                     fails until the taxa map answers it.
  --force            replace an existing FILE_OUT.txt, FILE_taxa.tsv, FILE_table.tsv,
                     FILE_ci.tsv or FILE_ci_regressions.tsv (without it, an existing one
                     is an error and nothing is written); a read-only one replaced is
                     told and stays read-only.
  --decimal-comma    read "12,5" as 12.5 (without it, a file that writes numbers with a
                     decimal comma is an error and nothing is written).
  --strict           make an abundance cell that is not a plain number ("3a", "<1"),
                     sample codes or names held by several samples, test-variable names
                     that print alike, and lines after the blank line that ends the data
                     an error (without it, such cells are listed and each is read as the
                     number it starts with, else 0; the rest is listed as a warning).
  --read-past-blank-lines
                     read the lines after an empty line inside the data too, skipping
                     the empty lines (without it, the data end at the first empty line,
                     and the lines after it are counted in a warning).
  --no-taxa-record   do not write FILE_taxa.tsv, the record of how each taxon name of the
                     file was read: its family, where the family comes from (taxa
                     database, synonym, taxa map, taxon dictionary, type-genus rule,
                     prefix rule, ignored) and the family it is counted as.
  --taxa-map FILE    answer the unknown taxon names listed in FILE before anything
                     else: one name per line, a TAB, then a family of the taxa
                     database or IGNORE. A line naming a family the database does
                     not hold is an error; the names it answers count as corrected.
                     An answer that differs from the taxon dictionary's is printed
                     with the dictionary's family.
  --table            write the table FILE_table.tsv too: one row per sample with its
                     code, name, class, test variables (columns named after them),
                     raw and normalised metrics and both indices, every number at
                     full precision (UTF-8, TAB, empty cell for a missing value), for
                     R, pandas or a spreadsheet.
  --bootstrap R      write FILE_ci.tsv and FILE_ci_regressions.tsv too: 95 % bootstrap
                     intervals of both indices of every sample, and of each
                     regression, from R replicates (1 to 1000000) that redraw the
                     reference samples (and the regression pairs). Each file is one
                     table after a "# replicates=..." line.
  --seed S           seed of the bootstrap's random numbers (default 1): the same seed
                     gives the same intervals, on any number of cores.
  --threads N        use N threads to read the files, compute the metrics and draw
                     the bootstrap (default: one per core); the results are the same
                     with any number.
  --output-dir DIR   write every file (results, corrected file, tables) into DIR,
                     which is created when missing, instead of beside each file.
  --taxa-db PATH     use another taxa database file.
  --list-types       list every GIG with its river types, and stop.
  --help, -h         show this text.
  --version          show the version.

Test-variable options only matter for test variables with at least 6 numeric values.
Standard output receives the report of each file, a summary of the results (every
regression of the results file: n, slope m, intercept b, r²; the median and range of
both indices) and the paths of the files written. Standard error receives every
message, among them each name correction applied. Exit status: 0 when every file was
done, 1 when some file failed (missing, malformed, refused or aborted) or one of its
files could not be written, 2 for a usage error. A file that fails does not stop the
others.
)";
}

std::string riverTypesText() {
    std::string out;
    for (const Gig g : allGigs) {
        const GigInfo& gig = gigInfo(g);
        out += std::string(gig.caption) + " (--gig " + gigShortName(g) + " or " + std::to_string(g) + ")\n";
        for (int t = 0; t < gig.riverTypeCount; ++t) {
            out += "  " + typeCode(g, t) + "  " +
                   std::string(trimBlanks(gig.riverTypeDescriptions.at(static_cast<std::size_t>(t)))) + "\n";
        }
    }
    return out;
}

} // namespace torrentix::cli
