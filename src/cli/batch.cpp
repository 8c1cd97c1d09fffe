#include "cli/batch.h"

#include "cli/summary.h"

#include "base/error.h"
#include "base/files.h"
#include "base/platform.h"
#include "base/text.h"
#include "input/correctedfile.h"
#include "input/familyevidence.h"
#include "input/samplereader.h"
#include "input/unknownanswers.h"
#include "metrics/catalogue.h"
#include "metrics/metricdefinitions.h"
#include "report/reporttext.h"
#include "report/resultsfile.h"
#include "report/taxarecord.h"
#include "report/tidytable.h"
#include "run/bootstraptable.h"
#include "run/computerun.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

namespace torrentix::cli {
namespace {

// The corrected file is named after the sample file, in the folder of the outputs.
void saveCorrected(ReadResult& read, const std::string& folder) {
    if (folder.empty()) {
        saveCorrectedFile(read);
        return;
    }
    const std::string sourcePath = read.table.sourcePath;
    read.table.sourcePath = pathInFolder(folder, fileNameOf(sourcePath));
    saveCorrectedFile(read);
    read.table.sourcePath = sourcePath;
}

// Refuses, before anything is read, a file whose outputs exist (without --force), would
// replace the sample file itself (through a link, say) or the results of another file of
// this run. Files are compared as files, whatever the spelling of their paths.
void checkOutputs(const BatchContext& c, const std::string& path) {
    const std::string outPath = resultsPathFor(path, c.args.outputDir);
    for (const std::string& output :
         {outPath, outputPathFor(path, "_adj.txt", c.args.outputDir), tablePathFor(path, c.args.outputDir),
          taxaRecordPathFor(path, c.args.outputDir), bootstrapPathFor(path, c.args.outputDir),
          bootstrapRegressionsPathFor(path, c.args.outputDir)}) {
        if (platform::sameFile(output, path)) {
            throw Error("The output " + output + " would replace the sample file " + path + ".");
        }
    }
    if (std::any_of(c.resultsWritten.begin(), c.resultsWritten.end(), [&outPath](const std::string& written) {
            return platform::sameFile(written, outPath);
        })) {
        throw Error("The results file " + outPath +
                    " holds the results of another sample file of the same name in this run. Give the files "
                    "different names, or process them one at a time.");
    }
    if (!fileExists(path) || c.args.force) {
        return;
    }
    if (fileExists(outPath)) {
        throw Error(
            "The results file " + outPath +
            (platform::isReadOnly(outPath) ? " already exists and is read-only." : " already exists.") +
            " Use --force to replace it.");
    }
    const std::string tablePath = tablePathFor(path, c.args.outputDir);
    if (c.args.table && fileExists(tablePath)) {
        throw Error("The table " + tablePath + " already exists. Use --force to replace it.");
    }
    const std::string recordPath = taxaRecordPathFor(path, c.args.outputDir);
    if (c.args.taxaRecord && fileExists(recordPath)) {
        throw Error("The record of the names " + recordPath + " already exists. Use --force to replace it.");
    }
    for (const std::string& ciPath :
         {bootstrapPathFor(path, c.args.outputDir), bootstrapRegressionsPathFor(path, c.args.outputDir)}) {
        if (c.args.bootstrap > 0 && fileExists(ciPath)) {
            throw Error("The bootstrap intervals " + ciPath + " already exist. Use --force to replace them.");
        }
    }
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
                        const std::vector<UndecidedName>& undecided) {
    for (const auto& u : undecided) {
        tell(c, path, "unknown taxon \"" + u.name + "\" (" + u.evidence + ")");
    }
    const std::string count = std::to_string(undecided.size()) + " taxon name(s)";
    switch (c.args.unknown) {
    case UnknownTaxa::Abort:
        tell(c, path,
             "Process aborted: " + count +
                 " are not in the taxa database. Correct them, or run again with --unknown ignore, --unknown "
                 "suggest or --unknown dictionary.");
        break;
    case UnknownTaxa::Dictionary:
        tell(
            c, path,
            "Process aborted: " + count +
                " have no family in the taxon dictionary, or two. Answer them in a taxa map (--taxa-map), or "
                "run again with --unknown suggest.");
        break;
    default:
        tell(c, path,
             "Process aborted: " + count +
                 " have two families. Answer them in a taxa map (--taxa-map): a name, a TAB and its family.");
    }
    return false;
}

// What the read did without failing: the notes, then the cells that are not plain numbers
// and the names the outputs cannot tell apart. False when --strict makes those, or lines
// left after the blank line that ends the data, fail the file.
bool reportReadNotes(const BatchContext& c, const std::string& path, const ReadResult& read) {
    for (const auto& note : read.notes) {
        tell(c, path, note);
    }
    if (read.doubtfulTotal() > 0) {
        tell(c, path, doubtfulCellsText(read));
    }
    if (!c.args.strict) {
        return true;
    }
    if (read.doubtfulCount > 0) {
        tell(c, path,
             "Process aborted (--strict): " + std::to_string(read.doubtfulCount) +
                 " abundance cell(s) are not plain numbers. Correct them, or run again without --strict.");
    }
    if (!read.sameNames.empty()) {
        tell(c, path,
             "Process aborted (--strict): " + std::to_string(read.sameNames.size()) +
                 " name(s) cannot be told apart in the outputs. Make them unique, or run again without "
                 "--strict.");
    }
    if (read.unread) {
        tell(c, path,
             "Process aborted (--strict): " + dataEndText(*read.unread) +
                 " Read them with --read-past-blank-lines, or end the data at the blank line.");
    }
    return read.doubtfulTotal() == 0 && !read.unread;
}

RunOptions runOptionsOf(const BatchContext& c) {
    RunOptions options;
    options.resultsFolder = c.args.outputDir;
    options.gig = c.args.gig;
    options.riverType = c.args.riverType;
    options.testVariables = c.args.testVariables;
    options.dateText = c.dateText;
    options.timeText = c.timeText;
    options.keepAbundances = false; // one run per file
    options.threads = c.args.threads;
    return options;
}

// The options of the run of a file read: the batch command's, with the record of its names.
RunOptions runOptionsOf(const BatchContext& c, const ReadResult& read) {
    RunOptions options = runOptionsOf(c);
    if (c.args.taxaRecord) {
        options.taxaRecord = TaxaRecordHeading{unknownModeName(c.args.unknown), c.args.taxaMap, {}};
        if (read.unread) {
            options.taxaRecord->notes.push_back(dataEndText(*read.unread));
        }
    }
    return options;
}

RunResult compute(const BatchContext& c, const RunOptions& options, SampleTable table) {
    RunCallbacks callbacks;
    const bool force = c.args.force;
    callbacks.existingResultsFile = [force](const std::string& outPath) -> std::optional<std::string> {
        if (!force) {
            throw Error("The results file " + outPath + " already exists. Use --force to replace it.");
        }
        return outPath;
    };
    return computeRun(std::move(table), c.taxa, options, callbacks);
}

// Creates the folder of --output-dir and the folders above it when missing.
void makeOutputFolder(const std::string& folder) {
    if (!platform::createFolders(folder)) {
        throw Error("The output folder " + folder + " cannot be used" +
                    (errno == ENOTDIR ? std::string(": it is not a folder.")
                                      : ": " + std::string(std::strerror(errno)) + "."));
    }
}

// Writes the tidy table of a run; false when it could not be written.
bool writeTable(const BatchContext& c, const std::string& path, const RunResult& run) {
    const std::string tablePath = tablePathFor(path, c.args.outputDir);
    try {
        writeFileAtomically(tablePath,
                            tidyTableText({run.table, c.args.gig, run.testText, run.testNormalised, run.raw,
                                           run.normalised, run.indices.staricm, run.indices.gigicm}));
    } catch (const Error& e) {
        tell(c, path, e.what());
        return false;
    }
    c.out << tablePath << "\n";
    return true;
}

// Writes the bootstrap intervals of a run, the samples' table and the regressions' table;
// false when they could not be written.
bool writeBootstrap(const BatchContext& c, const std::string& path, const SampleTable& asRead,
                    const RunResult& run) {
    const std::string samplesPath = bootstrapPathFor(path, c.args.outputDir);
    const std::string regressionsPath = bootstrapRegressionsPathFor(path, c.args.outputDir);
    try {
        const BootstrapResult b =
            bootstrap(asRead, runOptionsOf(c), run,
                      {.replicates = c.args.bootstrap, .seed = c.args.seed, .threads = c.args.threads});
        writeFileAtomically(samplesPath, bootstrapSamplesText(b, run));
        c.out << samplesPath << "\n";
        writeFileAtomically(regressionsPath, bootstrapRegressionsText(b, run));
    } catch (const Error& e) {
        tell(c, path, e.what());
        return false;
    }
    c.out << regressionsPath << "\n";
    return true;
}

} // namespace

bool processFile(const BatchContext& c, const std::string& path) {
    std::string written; // a file written before a failure, which the failure names
    try {
        checkOutputs(c, path);
        std::vector<UndecidedName> undecided;
        std::vector<std::string> corrections;
        UnknownTaxonHandler handler = unknownModeHandler(c.args.unknown, undecided, corrections);
        if (c.taxaMap) {
            handler = taxaMapFirst(c.taxa, *c.taxaMap, std::move(handler), corrections);
        }
        ReadResult read = readSampleFile(path, c.taxa, c.tree, handler,
                                         ReadOptions{.decimalComma = c.args.decimalComma,
                                                     .readPastBlankLines = c.args.readPastBlankLines,
                                                     .threads = c.args.threads});
        const bool cellsTaken = reportReadNotes(c, path, read);
        if (!undecided.empty()) {
            return reportUnknownNames(c, path, undecided);
        }
        for (const auto& correction : corrections) {
            tell(c, path, correction);
        }
        if (!cellsTaken) {
            return false;
        }
        if (read.table.namesCorrected) {
            saveCorrected(read, c.args.outputDir);
            tell(c, path, read.correctedFileError.empty() ? read.notice : read.correctedFileError);
            written = read.correctedPath;
        }
        ReportInput report = reportInputFor(read.table, runOptionsOf(c));
        if (read.unread) {
            report.notes.push_back(dataEndText(*read.unread));
        }
        const SampleTable asRead = c.args.bootstrap > 0 ? read.table : SampleTable{};
        const bool readOnly = platform::isReadOnly(resultsPathFor(path, c.args.outputDir)); // --force given
        RunResult run = compute(c, runOptionsOf(c, read), std::move(read.table));
        for (const auto& message : run.messages) {
            tell(c, path, message);
        }
        if (readOnly && !run.outputPath.empty()) {
            tell(c, path,
                 "The read-only results file " + run.outputPath +
                     " was replaced (--force); it stays read-only.");
        }
        if (!run.fileError.empty() && c.args.outputDir.empty()) {
            tell(c, path, "Give --output-dir DIR to write the results into a folder that can be written.");
        }
        if (run.refused) {
            return false;
        }
        report.classcount = run.classcount;
        c.out << withLf(reportText(report)) << "\n\n" << runSummary(run, c.args.gig) << "\n";
        if (!read.correctedPath.empty()) {
            c.out << read.correctedPath << "\n";
        }
        if (!run.outputPath.empty()) {
            c.resultsWritten.push_back(run.outputPath);
            c.out << run.outputPath << "\n";
            if (!run.recordPath.empty()) {
                c.out << run.recordPath << "\n";
            }
            if (!read.correctedFileError.empty()) {
                tell(c, path,
                     "The results file " + run.outputPath +
                         " has been written all the same, from the names as corrected.");
            }
        }
        const bool tableWritten = !c.args.table || writeTable(c, path, run);
        const bool intervalsWritten = c.args.bootstrap == 0 || writeBootstrap(c, path, asRead, run);
        return run.fileError.empty() && run.recordError.empty() && read.correctedFileError.empty() &&
               tableWritten && intervalsWritten;
    } catch (const DecimalCommaError& e) {
        tell(c, path,
             std::string(e.what()) + " Read it with --decimal-comma to take the commas as decimal points.");
    } catch (const Error& e) {
        tell(c, path,
             e.what() +
                 (written.empty() ? std::string() : " The corrected file " + written + " was written."));
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
    if (parsed.listTypes) {
        out << riverTypesText();
        return 0;
    }
    try {
        const std::string dbPath =
            parsed.taxaDb.empty() ? defaultTaxaDatabasePath(environment.executableFolder) : parsed.taxaDb;
        const TaxaDatabase taxa = TaxaDatabase::open(dbPath);
        const TaxaTree tree = buildTaxaTree(taxa.records());
        std::optional<TaxaMap> taxaMap;
        if (!parsed.taxaMap.empty()) {
            taxaMap = TaxaMap::read(parsed.taxaMap, taxa);
        }
        if (!parsed.outputDir.empty()) {
            makeOutputFolder(parsed.outputDir);
        }
        std::vector<std::string> resultsWritten;
        const BatchContext context{parsed, taxa, tree,    environment.dateText, environment.timeText,
                                   out,    err,  taxaMap, resultsWritten};
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
