#include "cli/batch.h"

#include "base/error.h"
#include "base/files.h"
#include "input/samplereader.h"
#include "metrics/catalogue.h"
#include "report/reporttext.h"
#include "report/resultsfile.h"
#include "run/calcola.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace torrentix::cli {
namespace {

struct UnknownName {
    std::string name;
    std::string suggestion;
};

UnknownTaxonHandler unknownTaxonHandler(UnknownTaxa mode, std::vector<UnknownName>& unknown) {
    return [mode, &unknown](const UnknownTaxonQuestion& q) {
        unknown.push_back({q.name, q.suggestion ? q.suggestion->family : std::string()});
        if (mode == UnknownTaxa::Suggest && q.suggestion) {
            return UnknownTaxonAnswer::family(q.suggestion->id, q.suggestion->family);
        }
        return UnknownTaxonAnswer::ignore();
    };
}

// The report is built from the table as read (before the run shortens test names).
ReportInput reportInputOf(const BatchContext& c, const SampleTable& read) {
    ReportInput in;
    in.inputpath = read.inputpath;
    in.nsamp = read.nsamp();
    in.nfam = read.nfam();
    in.testname = read.testname;
    in.testcount = read.testcount;
    in.gigCaption = std::string(gigInfo(c.args.gigindex).caption);
    in.riverTypeCaption = typeCaption(c.args.gigindex, c.args.typeindex);
    for (std::size_t k = 0; k < 3; ++k) {
        in.testmin[k] = c.args.testVariables[k].minText;
        in.biological[k] = c.args.testVariables[k].biological;
    }
    return in;
}

// A line as it can be printed: control characters (an escape byte inside a cell, say)
// are shown as \xNN, so the text on the screen is the text in the file.
std::string printable(std::string_view line) {
    std::string out;
    for (char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            static const char* hex = "0123456789ABCDEF";
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

// The engine's texts end their lines with CR LF, as the files do; on a terminal lines
// end with LF.
std::string withLf(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            out += text[i];
        }
    }
    return out;
}

// A message about the file at `path` on standard error: the path, then the text, each
// of its lines printable and ended with LF.
void tell(const BatchContext& c, const std::string& path, std::string_view text) {
    const std::string lines = withLf(text);
    c.err << path << ": ";
    std::size_t start = 0;
    do { // a last LF ends the last line
        const std::size_t end = std::min(lines.find('\n', start), lines.size());
        c.err << printable(std::string_view(lines).substr(start, end - start)) << "\n";
        start = end + 1;
    } while (start < lines.size());
}

bool reportUnknownNames(const BatchContext& c, const std::string& path,
                        const std::vector<UnknownName>& unknown) {
    for (const auto& u : unknown) {
        tell(c, path,
             "unknown taxon \"" + u.name + "\"" +
                 (u.suggestion.empty() ? std::string(" (no family suggested)")
                                       : " (suggested family: " + u.suggestion + ")"));
    }
    tell(c, path,
         "Process aborted: " + std::to_string(unknown.size()) +
             " taxon name(s) are not in the taxa database. Correct them, or run again with --unknown ignore "
             "or --unknown suggest.");
    return false;
}

// What the read did without failing: the notes, then the cells that are not plain
// numbers. False when --strict makes those cells fail the file.
bool reportReadNotes(const BatchContext& c, const std::string& path, const ReadResult& read) {
    for (const auto& note : read.notes) {
        tell(c, path, note);
    }
    if (read.doubtfulCount == 0) {
        return true;
    }
    tell(c, path, doubtfulCellsText(read));
    if (c.args.strict) {
        tell(c, path,
             "Process aborted (--strict): " + std::to_string(read.doubtfulCount) +
                 " abundance cell(s) are not plain numbers. Correct them, or run again without --strict.");
        return false;
    }
    return true;
}

RunResult compute(const BatchContext& c, SampleTable table) {
    RunOptions options;
    options.gigindex = c.args.gigindex;
    options.typeindex = c.args.typeindex;
    options.testVariables = c.args.testVariables;
    options.dateText = c.dateText;
    options.timeText = c.timeText;
    RunCallbacks callbacks;
    const bool force = c.args.force;
    callbacks.existingResultsFile = [force](const std::string& outPath) -> std::optional<std::string> {
        if (!force) {
            throw Error("The results file " + outPath + " already exists. Use --force to replace it.");
        }
        return outPath;
    };
    return calcola(std::move(table), c.taxa, options, callbacks);
}

} // namespace

bool processFile(const BatchContext& c, const std::string& path) {
    try {
        const std::string outPath = resultsPathFor(path);
        if (fileExists(path) && fileExists(outPath) && !c.args.force) {
            throw Error("The results file " + outPath + " already exists. Use --force to replace it.");
        }
        std::vector<UnknownName> unknown;
        ReadResult read = readSampleFile(path, c.taxa, c.tree, unknownTaxonHandler(c.args.unknown, unknown),
                                         ReadOptions{.decimalComma = c.args.decimalComma});
        const bool cellsTaken = reportReadNotes(c, path, read);
        if (!unknown.empty() && c.args.unknown == UnknownTaxa::Abort) {
            return reportUnknownNames(c, path, unknown);
        }
        if (!cellsTaken) {
            return false;
        }
        if (read.table.namesfixed) {
            saveCorrectedFile(read);
            tell(c, path, read.correctedFileError.empty() ? read.notice : read.correctedFileError);
        }
        ReportInput report = reportInputOf(c, read.table);
        RunResult run = compute(c, std::move(read.table));
        for (const auto& message : run.messages) {
            tell(c, path, message);
        }
        if (run.refused) {
            return false;
        }
        report.classcount = run.classcount;
        c.out << withLf(faetic(report)) << "\n\n";
        if (!read.correctedPath.empty()) {
            c.out << read.correctedPath << "\n";
        }
        if (!run.outputPath.empty()) {
            c.out << run.outputPath << "\n";
            if (!read.correctedFileError.empty()) {
                tell(c, path,
                     "The results file " + run.outputPath +
                         " has been written all the same, from the names as corrected.");
            }
        }
        return run.fileError.empty() && read.correctedFileError.empty();
    } catch (const DecimalCommaError& e) {
        tell(c, path,
             std::string(e.what()) + " Read it with --decimal-comma to take the commas as decimal points.");
    } catch (const Error& e) {
        tell(c, path, e.what());
    } catch (const std::exception& e) {
        tell(c, path, std::string("unexpected failure: ") + e.what());
    } catch (...) {
        tell(c, path, "unexpected failure.");
    }
    return false;
}

int runBatch(const std::vector<std::string>& args, const BatchEnvironment& environment, std::ostream& out,
             std::ostream& err) {
    CliArgs parsed;
    try {
        parsed = parseArgs(args);
    } catch (const Error& e) {
        err << "torrentix-cli: " << e.what() << "\nTry torrentix-cli --help.\n";
        return 2;
    }
    if (parsed.help) {
        out << helpText();
        return 0;
    }
    if (parsed.version) {
        out << "torrentix-cli " << programVersion << "\n";
        return 0;
    }
    try {
        const std::string dbPath =
            parsed.taxaDb.empty() ? defaultTaxaDatabasePath(environment.executableFolder) : parsed.taxaDb;
        const TaxaDatabase taxa = TaxaDatabase::open(dbPath);
        const TaxaTree tree = albero(taxa.records());
        const BatchContext context{parsed, taxa, tree, environment.dateText, environment.timeText, out, err};
        bool allDone = true;
        for (const auto& file : parsed.files) {
            allDone = processFile(context, file) && allDone;
        }
        return allDone ? 0 : 1;
    } catch (const Error& e) {
        err << "torrentix-cli: " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        err << "torrentix-cli: unexpected failure: " << e.what() << "\n";
        return 1;
    } catch (...) {
        err << "torrentix-cli: unexpected failure.\n";
        return 1;
    }
}

} // namespace torrentix::cli
