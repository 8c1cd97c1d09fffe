#include "cli/cliargs.h"

#include "base/error.h"
#include "base/text.h"
#include "metrics/catalogue.h"

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
        if (mode == "abort") {
            a.unknown = UnknownTaxa::Abort;
        } else if (mode == "ignore") {
            a.unknown = UnknownTaxa::Ignore;
        } else if (mode == "suggest") {
            a.unknown = UnknownTaxa::Suggest;
        } else {
            usage("--unknown must be abort, ignore or suggest, not \"" + mode + "\".");
        }
    } else if (arg == "--force") {
        a.force = true;
    } else if (arg == "--decimal-comma") {
        a.decimalComma = true;
    } else if (arg == "--strict") {
        a.strict = true;
    } else if (arg == "--taxa-db") {
        a.taxaDb = in.valueOf(arg);
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
    if (a.help || a.version) {
        return a;
    }
    if (gigText.empty()) {
        usage("--gig is required.");
    }
    auto gig = parseGig(gigText);
    if (!gig) {
        usage("Unknown GIG \"" + gigText + "\".");
    }
    a.gigindex = *gig;
    if (typeText.empty()) {
        usage("--type is required.");
    }
    auto type = parseTypeCode(a.gigindex, typeText);
    if (!type) {
        usage("\"" + typeText + "\" is not a river type of the " + std::string(gigInfo(a.gigindex).caption) +
              " GIG (R-" + gigInitial(a.gigindex) + "1 to R-" + gigInitial(a.gigindex) +
              std::to_string(gigInfo(a.gigindex).ntypes) + ").");
    }
    a.typeindex = *type;
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

Computes the Intercalibration Common Metrics, the STAR_ICMi and the GIG ICMi of each
tab-separated sample file and writes the results file FILE_OUT.txt beside it.

  --gig GIG          Alpine, "Central / Baltic", "Eastern continental", Mediterranean or
                     Northern (any letter case), or Alp, Cen, Eas, Med, Nor, or 0..4.
  --type CODE        a river type of that GIG: R-A1..R-A2, R-C1..R-C5, R-E1..R-E6,
                     R-M1..R-M5, R-N1..R-N8 (any letter case).
  --min K=VALUE      "Min Value" of test variable K (1, 2 or 3): the lower value of its
                     normalisation (default 0).
  --observed-min K   "Observed Min" of test variable K: its smallest value is the lower
                     value (wins over --min).
  --bio K            "Biological" for test variable K: its upper value is the reference
                     value of the reference samples instead of its largest value.
  --unknown MODE     what to do with a taxon name that is neither a family nor a synonym:
                       abort    (default) list each such name with the family suggested
                                for it, write nothing and fail;
                       ignore   ignore the column;
                       suggest  take the suggested family, or ignore the column when
                                there is none.
                     With ignore and suggest the names count as corrected and the
                     corrected file FILE_adj.txt is written.
  --force            replace an existing FILE_OUT.txt (without it, an existing results
                     file is an error and nothing is written).
  --decimal-comma    read "12,5" as 12.5 (without it, a file that writes numbers with a
                     decimal comma is an error and nothing is written).
  --strict           make an abundance cell that is not a plain number ("3a", "<1") an
                     error (without it, such cells are listed and each is read as the
                     number it starts with, else 0).
  --taxa-db PATH     use another taxa database file.
  --help             show this text.
  --version          show the version.

Test-variable options only matter for test variables with at least 6 numeric values.
Standard output receives the report of each file and the paths of the files written;
standard error every message. Exit status: 0 when every file was done, 1 when some file
failed (missing, malformed, refused or aborted) or one of its files could not be written,
2 for a usage error. A file that fails does not stop the others.
)";
}

} // namespace torrentix::cli
