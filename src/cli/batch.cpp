#include "cli/batch.h"

#include "base/error.h"
#include "base/files.h"
#include "input/samplereader.h"
#include "metrics/catalogue.h"
#include "report/reporttext.h"
#include "report/resultsfile.h"
#include "run/calcola.h"

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

// A name as it can be printed: control characters (a NUL inside a cell, say) are shown
// as \xNN, so the name on the screen is the name in the file.
std::string printable(const std::string& name) {
    std::string out;
    for (char c : name) {
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

bool reportUnknownNames(const BatchContext& c, const std::string& path,
                        const std::vector<UnknownName>& unknown) {
    for (const auto& u : unknown) {
        c.err << path << ": unknown taxon \"" << printable(u.name) << "\""
              << (u.suggestion.empty() ? std::string(" (no family suggested)")
                                       : " (suggested family: " + u.suggestion + ")")
              << "\n";
    }
    c.err << path << ": Process aborted: " << unknown.size()
          << " taxon name(s) are not in the taxa database. Correct them, or run again with --unknown ignore "
             "or --unknown suggest.\n";
    return false;
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
        ReadResult read = readSampleFile(path, c.taxa, c.tree, unknownTaxonHandler(c.args.unknown, unknown));
        if (!unknown.empty() && c.args.unknown == UnknownTaxa::Abort) {
            return reportUnknownNames(c, path, unknown);
        }
        if (read.table.namesfixed) {
            saveCorrectedFile(read);
            if (!read.correctedFileError.empty()) {
                c.err << path << ": " << read.correctedFileError << "\n";
            } else {
                c.err << path << ": " << read.notice << "\n";
            }
        }
        ReportInput report = reportInputOf(c, read.table);
        RunResult run = compute(c, std::move(read.table));
        for (const auto& message : run.messages) {
            c.err << path << ": " << message << "\n";
        }
        if (run.refused) {
            return false;
        }
        report.classcount = run.classcount;
        c.out << faetic(report) << "\n\n";
        if (!read.correctedPath.empty()) {
            c.out << read.correctedPath << "\n";
        }
        if (!run.outputPath.empty()) {
            c.out << run.outputPath << "\n";
            if (!read.correctedFileError.empty()) {
                c.err << path << ": The results file " << run.outputPath
                      << " has been written all the same, from the names as corrected.\n";
            }
        }
        return run.fileError.empty() && read.correctedFileError.empty();
    } catch (const Error& e) {
        c.err << path << ": " << e.what() << "\n";
        return false;
    }
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
    }
}

} // namespace torrentix::cli
