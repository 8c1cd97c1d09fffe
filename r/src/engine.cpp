// The engine as R calls it: the taxa database opened once, a sample file or an R table read
// as the batch command reads a file, a run with the batch command's options, and the
// resolution of single names. A refusal of the engine comes back as a "torrentix_failure"
// holding its message, which the R functions raise as a condition of class torrentix_error.

#include "rvalues.h"
#include "tabletext.h"

#include "base/error.h"
#include "base/numberforms.h"
#include "base/platform.h"
#include "base/text.h"
#include "input/familyevidence.h"
#include "input/samplereader.h"
#include "input/taxamap.h"
#include "input/taxatree.h"
#include "input/unknownanswers.h"
#include "metrics/catalogue.h"
#include "report/reporttext.h"
#include "report/taxarecord.h"
#include "report/tidytable.h"
#include "run/bootstrap.h"
#include "run/bootstraptable.h"
#include "run/computerun.h"

#include <Rcpp.h>

#include <cmath>
#include <ctime>
#include <memory>
#include <tuple>

using namespace torrentix;
using namespace torrentix::r;

namespace {

struct Taxa {
    TaxaDatabase db;
    TaxaTree tree;
};

SEXP failure(const std::string& message) {
    Rcpp::List out = Rcpp::List::create(Rcpp::Named("message") = utf8String(message));
    out.attr("class") = "torrentix_failure";
    return out;
}

template <class Work> SEXP guarded(Work work) {
    std::string message;
    try {
        return work();
    } catch (const Error& e) {
        message = e.what();
    } catch (const Rcpp::LongjumpException&) {
        throw;
    } catch (const std::exception& e) {
        message = std::string("unexpected failure: ") + e.what();
    }
    return failure(message);
}

const Taxa& taxaOf(SEXP taxa) {
    Rcpp::XPtr<Taxa> p(taxa);
    if (p.get() == nullptr) {
        throw Error("The taxa database is no longer open: load the package again.");
    }
    return *p;
}

std::string text(const Rcpp::List& list, const char* name) {
    return Rcpp::as<std::string>(list[name]);
}

// The table behind a "source" list that R made of a data frame.
TableLayout layoutOf(const Rcpp::List& source) {
    TableLayout layout;
    layout.title = text(source, "title");
    layout.header = Rcpp::as<std::vector<std::string>>(source["header"]);
    layout.rows = static_cast<std::size_t>(Rcpp::as<double>(source["rows"]));
    for (SEXP column : Rcpp::List(source["sample_columns"])) {
        layout.sampleColumns.push_back(column);
    }
    for (SEXP column : Rcpp::List(source["taxon_columns"])) {
        layout.taxonColumns.push_back(column);
    }
    if (source.containsElementNamed("abundance") && !Rf_isNull(source["abundance"])) {
        layout.longRows.abundance = source["abundance"];
        layout.longRows.order = INTEGER(source["order"]);
        layout.longRows.taxon = INTEGER(source["taxon"]);
        layout.longRows.firstRow = INTEGER(source["first_row"]);
    }
    return layout;
}

// Reads the file, or the R table, of a "source" list.
ReadResult readSource(const Rcpp::List& source, const Taxa& taxa, const UnknownTaxonHandler& ask,
                      const ReadOptions& options) {
    if (!Rf_isNull(source["path"])) {
        return readSampleFile(text(source, "path"), taxa.db, taxa.tree, ask, options);
    }
    const TableLayout layout = layoutOf(source);
    checkTexts(layout);
    return readSampleText(text(source, "name"), openTableText(layout), taxa.db, taxa.tree, ask, options);
}

Rcpp::List doubtfulCells(const ReadResult& read) {
    std::vector<int> line, column;
    std::vector<std::string> family, cell;
    std::vector<double> value;
    for (const DoubtfulCell& c : read.doubtfulCells) {
        line.push_back(c.line);
        column.push_back(c.column);
        family.push_back(c.family);
        cell.push_back(c.text);
        value.push_back(c.value);
    }
    FrameBuilder f;
    f.add("line", line);
    f.add("column", column);
    f.add("taxon", utf8Strings(family, read.table.utf8));
    f.add("text", utf8Strings(cell, read.table.utf8));
    f.add("value", value);
    Rcpp::List frame = f.frame(static_cast<int>(line.size()));
    frame.attr("total") = read.doubtfulCount;
    return frame;
}

// The notes of a read, the doubtful cells' report among them, as the batch command tells them.
std::vector<std::string> readNotes(const ReadResult& read) {
    std::vector<std::string> notes;
    for (const std::string& note : read.notes) {
        notes.push_back(read.table.utf8 ? note : cp1252ToUtf8(note));
    }
    if (read.doubtfulTotal() > 0) {
        std::string report = doubtfulCellsText(read);
        report.pop_back(); // its last line end
        notes.push_back(read.table.utf8 ? report : cp1252ToUtf8(report));
    }
    return notes;
}

std::vector<std::optional<double>> testValues(const std::vector<std::string>& texts) {
    std::vector<std::optional<double>> values;
    values.reserve(texts.size());
    for (const std::string& t : texts) {
        values.push_back(t == "N/A" ? std::nullopt : parseNumeric(t));
    }
    return values;
}

} // namespace

// [[Rcpp::export]]
SEXP engine_taxa(std::string path) {
    return guarded([&]() -> SEXP {
        auto taxa = std::make_unique<Taxa>(Taxa{TaxaDatabase::open(path), {}});
        taxa->tree = buildTaxaTree(taxa->db.records());
        return Rcpp::XPtr<Taxa>(taxa.release(), true);
    });
}

// [[Rcpp::export]]
SEXP engine_gigs() {
    std::vector<int> number;
    std::vector<std::string> gig, gigCode, code, caption, description;
    for (const Gig g : allGigs) {
        const GigInfo& info = gigInfo(g);
        for (RiverType t = 0; t < info.riverTypeCount; ++t) {
            number.push_back(g);
            gig.emplace_back(info.caption);
            gigCode.push_back(gigShortName(g));
            code.push_back(typeCode(g, t));
            caption.push_back(typeCaption(g, t));
            description.emplace_back(trimBlanks(info.riverTypeDescriptions.at(static_cast<std::size_t>(t))));
        }
    }
    FrameBuilder f;
    f.add("gig", utf8Strings(gig));
    f.add("gig_code", utf8Strings(gigCode));
    f.add("number", number);
    f.add("type", utf8Strings(code));
    f.add("caption", utf8Strings(caption));
    f.add("description", utf8Strings(description));
    return f.frame(static_cast<int>(number.size()));
}

// [[Rcpp::export]]
SEXP engine_date() {
    const auto now = platform::localDateAndTime(std::time(nullptr));
    return Rcpp::CharacterVector::create(now.date, now.time);
}

// [[Rcpp::export]]
SEXP engine_gig(std::string gigText, std::string typeText) {
    return guarded([&]() -> SEXP {
        const auto gig = parseGig(gigText);
        if (!gig) {
            throw Error(
                "Unknown GIG \"" + gigText +
                "\". The GIGs are Alpine, \"Central / Baltic\", \"Eastern continental\", Mediterranean "
                "and Northern (or Alp, Cen, Eas, Med, Nor, or 0 to 4).");
        }
        const auto type = parseTypeCode(*gig, typeText);
        if (!type) {
            throw Error("\"" + typeText + "\" is not a river type of the " +
                        std::string(gigInfo(*gig).caption) + " GIG (R-" + gigInitial(*gig) + "1 to R-" +
                        gigInitial(*gig) + std::to_string(gigInfo(*gig).riverTypeCount) + ").");
        }
        return Rcpp::IntegerVector::create(*gig, *type);
    });
}

// The sample file or R table as the reader takes it, every taxon column as written.
// [[Rcpp::export]]
SEXP engine_read(SEXP taxa, Rcpp::List source, bool decimalComma, bool readPastBlankLines, int threads) {
    return guarded([&]() -> SEXP {
        const Taxa& t = taxaOf(taxa);
        const ReadResult read = readSource(source, t, {},
                                           {.decimalComma = decimalComma,
                                            .readPastBlankLines = readPastBlankLines,
                                            .threads = threads,
                                            .columnsAsWritten = true});
        const SampleTable& table = read.table;
        const bool utf8 = table.utf8;
        const int n = table.nsamp();
        std::vector<std::string> codes, names;
        std::vector<int> classes;
        for (const Sample& s : table.samples) {
            codes.push_back(s.code);
            names.push_back(std::string(sampleName(s)));
            classes.push_back(s.qualityClass);
        }
        FrameBuilder f;
        f.add(table.headerlabel[0], utf8Strings(codes, utf8));
        f.add(table.headerlabel[1], utf8Strings(names, utf8));
        f.add(table.headerlabel[2], classes);
        for (std::size_t k = 0; k < 3; ++k) {
            std::vector<std::string> texts;
            for (const Sample& s : table.samples) {
                texts.push_back(s.testValueTexts[k]);
            }
            f.add(table.testVariableNames[k], numbers(testValues(texts)));
        }
        std::vector<Rcpp::NumericVector> columns;
        std::vector<double*> cells;
        for (int j = 0; j < table.nfam(); ++j) {
            columns.emplace_back(n); // zeros
            cells.push_back(columns.back().begin());
        }
        for (int i = 0; i < n; ++i) {
            for (const auto present : table.present(i)) {
                cells[static_cast<std::size_t>(present.family)][i] = present.abundance;
            }
        }
        for (int j = 0; j < table.nfam(); ++j) {
            f.add(table.familyNames[static_cast<std::size_t>(j)], columns[static_cast<std::size_t>(j)]);
        }
        // Every name the taxa database does not know, with what the sources say of it.
        std::vector<int> column;
        std::vector<std::string> unknown, evidence;
        for (std::size_t j = 0; j < table.familyNames.size(); ++j) {
            const std::string upper = toUpperAscii(table.familyNames[j]);
            if (!knownFamily(t.db, upper)) {
                column.push_back(static_cast<int>(j) + 7);
                unknown.push_back(table.familyNames[j]);
                evidence.push_back(evidenceText(familyEvidence(t.db, upper, utf8)));
            }
        }
        FrameBuilder u;
        u.add("column", column);
        u.add("name", utf8Strings(unknown, utf8));
        u.add("evidence", utf8Strings(evidence));
        std::vector<std::string> same;
        for (const std::string& s : read.sameNames) {
            same.push_back(s);
        }
        return Rcpp::List::create(Rcpp::Named("samples") = f.frame(n),
                                  Rcpp::Named("title") = utf8String(table.title, utf8),
                                  Rcpp::Named("notes") = utf8Strings(readNotes(read)),
                                  Rcpp::Named("doubtful_cells") = doubtfulCells(read),
                                  Rcpp::Named("unknown_names") = u.frame(static_cast<int>(column.size())),
                                  Rcpp::Named("same_names") = utf8Strings(same, utf8));
    });
}

namespace {

// R's match.arg() has checked the mode's name already.
UnknownTaxa unknownMode(const std::string& mode) {
    return unknownModeNamed(mode).value_or(UnknownTaxa::Abort);
}

std::optional<TaxaMap> taxaMapOf(const Rcpp::List& settings, const Taxa& taxa) {
    if (Rf_isNull(settings["taxa_map"])) {
        return std::nullopt;
    }
    const Rcpp::List map = settings["taxa_map"];
    if (!Rf_isNull(map["path"])) {
        return TaxaMap::read(text(map, "path"), taxa.db);
    }
    return TaxaMap::parse(text(map, "text"), text(map, "name"), taxa.db);
}

RunOptions runOptionsOf(const Rcpp::List& s) {
    RunOptions options;
    options.gig = gigOf(Rcpp::as<int>(s["gig"]));
    options.riverType = Rcpp::as<int>(s["type"]);
    const auto minTexts = Rcpp::as<std::vector<std::string>>(s["min"]);
    const auto observed = Rcpp::as<std::vector<bool>>(s["observed_min"]);
    const auto biological = Rcpp::as<std::vector<bool>>(s["biological"]);
    for (std::size_t k = 0; k < 3; ++k) {
        // Ticking "Observed Min" empties "Min Value", as the options step does.
        options.testVariables[k] = {observed[k] ? std::string() : minTexts[k], observed[k], biological[k]};
    }
    options.dateText = text(s, "date");
    options.timeText = text(s, "time");
    options.keepAbundances = false;
    options.threads = Rcpp::as<int>(s["threads"]);
    options.writeResults = false;
    return options;
}

// The names the mode did not decide, each with what the sources say of it, and why the run stops.
std::string undecidedText(UnknownTaxa mode, const std::vector<UndecidedName>& undecided, bool utf8) {
    std::string out;
    for (const UndecidedName& u : undecided) {
        out += "unknown taxon \"" + (utf8 ? u.name : cp1252ToUtf8(u.name)) + "\" (" + u.evidence + ")\n";
    }
    const std::string count = std::to_string(undecided.size()) + " taxon name(s)";
    switch (mode) {
    case UnknownTaxa::Abort:
        return out + "Process aborted: " + count +
               " are not in the taxa database. Correct them, or run again with unknown = \"ignore\", "
               "\"suggest\" "
               "or \"dictionary\".";
    case UnknownTaxa::Dictionary:
        return out + "Process aborted: " + count +
               " have no family in the taxon dictionary, or two. Answer them in a taxa map (taxa_map), or "
               "run "
               "again with unknown = \"suggest\".";
    default:
        return out + "Process aborted: " + count +
               " have two families. Answer them in a taxa map (taxa_map): a name and its family.";
    }
}

// What strict = TRUE refuses: cells that are not plain numbers, names the outputs cannot tell
// apart, lines left after the blank line that ends the data.
void refuseDoubtful(const ReadResult& read) {
    std::string refusal;
    if (read.doubtfulCount > 0) {
        refusal += "Process aborted (strict): " + std::to_string(read.doubtfulCount) +
                   " abundance cell(s) are not plain numbers. Correct them, or run again without strict.\n";
    }
    if (!read.sameNames.empty()) {
        refusal +=
            "Process aborted (strict): " + std::to_string(read.sameNames.size()) +
            " name(s) cannot be told apart in the outputs. Make them unique, or run again without strict.\n";
    }
    if (read.unread) {
        refusal += "Process aborted (strict): " + dataEndText(*read.unread) +
                   " Read them with read_past_blank_lines = TRUE, or end the data at the blank line.\n";
    }
    if (!refusal.empty()) {
        refusal.pop_back();
        throw Error(doubtfulCellsText(read) + refusal);
    }
}

// Per sample: the tidy table's columns, then the bootstrap intervals of both indices.
Rcpp::List samplesFrame(const RunResult& run, Gig gig, const BootstrapResult* b) {
    const SampleTable& t = run.table;
    const int n = t.nsamp();
    const auto names = tidyTableColumns(gig, testVariableColumns(t));
    std::vector<std::string> codes, sampleNames;
    std::vector<int> classes;
    for (const Sample& s : t.samples) {
        codes.push_back(s.code);
        sampleNames.emplace_back(sampleName(s));
        classes.push_back(s.qualityClass);
    }
    FrameBuilder f;
    std::size_t c = 0;
    f.add(names[c++], utf8Strings(codes, t.utf8));
    f.add(names[c++], utf8Strings(sampleNames, t.utf8));
    f.add(names[c++], classes);
    for (std::size_t k = 0; k < 3; ++k) {
        f.add(names[c++], numbers(testValues(run.testText[k])));
        f.add(names[c++], run.testNormalised[k].empty() ? Rcpp::NumericVector(n, NA_REAL)
                                                        : numbers(run.testNormalised[k]));
    }
    const auto metrics = tidyMetricColumns(gig);
    for (const MetricTable* m : {&run.raw, &run.normalised}) {
        for (const auto& [name, id] : metrics) {
            f.add(names[c++], metricColumn(*m, id));
        }
    }
    f.add(names[c++], run.indices.staricm);
    f.add(names[c++], run.indices.gigicm);
    if (b != nullptr) {
        for (const auto& [index, intervals] : {std::pair{"STAR", &b->star}, std::pair{"GIG", &b->gig}}) {
            std::vector<std::optional<double>> lo, hi;
            for (const Interval& i : *intervals) {
                lo.push_back(i.lo);
                hi.push_back(i.hi);
            }
            f.add(std::string(index) + "_lo", numbers(lo));
            f.add(std::string(index) + "_hi", numbers(hi));
        }
    }
    return f.frame(n);
}

// Per regression of the results file: its index, variable and point values, its intervals
// with the bootstrap; and the band of each fitted line.
Rcpp::List regressionsOf(const RunResult& run, const BootstrapResult* b) {
    const auto variables = testVariableColumns(run.table);
    std::vector<std::string> index, variable;
    std::vector<int> n, counted, column;
    std::vector<std::optional<double>> m, bb, r2, mLo, mHi, bLo, bHi, r2Lo, r2Hi;
    Rcpp::List bands;
    const auto add = [&](bool star, std::size_t k, const Regression& r, const RegressionIntervals* ci) {
        index.emplace_back(star ? "STAR" : "GIG");
        variable.push_back(variables[k]);
        column.push_back(static_cast<int>(k) + 1);
        n.push_back(r.n);
        m.push_back(r.ok ? std::optional(r.m) : std::nullopt);
        bb.push_back(r.ok ? std::optional(r.b) : std::nullopt);
        r2.push_back(r.ok ? std::optional(r.r2) : std::nullopt);
        std::vector<double> x, half;
        std::vector<std::optional<double>> lo, hi;
        for (int p = 0; p < r.bandPoints; ++p) {
            x.push_back(0.1 * (p + 1));
            half.push_back(r.bandHalfWidths.at(static_cast<std::size_t>(p)));
        }
        if (ci != nullptr) {
            counted.push_back(ci->counted);
            for (const auto& [lows, highs, interval] :
                 {std::tuple{&mLo, &mHi, &ci->m}, std::tuple{&bLo, &bHi, &ci->b},
                  std::tuple{&r2Lo, &r2Hi, &ci->r2}}) {
                lows->push_back(interval->lo);
                highs->push_back(interval->hi);
            }
            for (const Interval& i : ci->band) {
                lo.push_back(i.lo);
                hi.push_back(i.hi);
            }
        }
        bands.push_back(Rcpp::List::create(Rcpp::Named("x") = x, Rcpp::Named("half_width") = half,
                                           Rcpp::Named("lo") = numbers(lo), Rcpp::Named("hi") = numbers(hi),
                                           Rcpp::Named("xmin") = r.xmin));
    };
    if (b != nullptr) {
        for (const RegressionIntervals& ci : b->regressions) {
            add(ci.star, static_cast<std::size_t>(ci.variable), ci.point, &ci);
        }
    } else {
        for (const bool star : {true, false}) {
            for (std::size_t k = 0; k < 3; ++k) {
                const auto& r = star ? run.starRegressions[k] : run.gigRegressions[k];
                if (r) {
                    add(star, k, *r, nullptr);
                }
            }
        }
    }
    FrameBuilder f;
    f.add("index", index);
    f.add("variable", utf8Strings(variable));
    f.add("test_variable", column);
    f.add("n", n);
    if (b != nullptr) {
        f.add("counted", counted);
    }
    const std::vector<std::pair<const char*, std::vector<std::optional<double>>*>> point = {
        {"m", &m}, {"b", &bb}, {"r2", &r2}};
    const std::vector<std::array<std::vector<std::optional<double>>*, 2>> intervals = {
        {&mLo, &mHi}, {&bLo, &bHi}, {&r2Lo, &r2Hi}};
    for (std::size_t v = 0; v < point.size(); ++v) {
        f.add(point[v].first, numbers(*point[v].second));
        if (b != nullptr) {
            f.add(std::string(point[v].first) + "_lo", numbers(*intervals[v][0]));
            f.add(std::string(point[v].first) + "_hi", numbers(*intervals[v][1]));
        }
    }
    Rcpp::List frame = f.frame(static_cast<int>(index.size()));
    frame.attr("bands") = bands;
    return frame;
}

Rcpp::RawVector bytes(const std::string& text) {
    Rcpp::RawVector out(text.size());
    std::copy(text.begin(), text.end(), out.begin());
    return out;
}

} // namespace

// One run over a sample file or an R table, with the batch command's options.
// [[Rcpp::export]]
SEXP engine_run(SEXP taxa, Rcpp::List source, Rcpp::List settings) {
    return guarded([&]() -> SEXP {
        const Taxa& t = taxaOf(taxa);
        const UnknownTaxa mode = unknownMode(text(settings, "unknown"));
        const std::optional<TaxaMap> map = taxaMapOf(settings, t);
        std::vector<UndecidedName> undecided;
        std::vector<std::string> corrections;
        UnknownTaxonHandler handler = unknownModeHandler(mode, undecided, corrections);
        if (map) {
            handler = taxaMapFirst(t.db, *map, std::move(handler), corrections);
        }
        const int threads = Rcpp::as<int>(settings["threads"]);
        ReadResult read = readSource(source, t, handler,
                                     {.decimalComma = Rcpp::as<bool>(settings["decimal_comma"]),
                                      .readPastBlankLines = Rcpp::as<bool>(settings["read_past_blank_lines"]),
                                      .threads = threads});
        if (!undecided.empty()) {
            throw Error(undecidedText(mode, undecided, read.table.utf8));
        }
        if (Rcpp::as<bool>(settings["strict"])) {
            refuseDoubtful(read);
        }
        std::vector<std::string> notes = readNotes(read);
        notes.insert(notes.end(), corrections.begin(), corrections.end());
        RunOptions options = runOptionsOf(settings);
        ReportInput report = reportInputFor(read.table, options);
        if (read.unread) {
            report.notes.push_back(dataEndText(*read.unread));
        }
        TaxaRecordHeading heading{unknownModeName(mode), map ? map->path() : std::string(), {}};
        if (read.unread) {
            heading.notes.push_back(dataEndText(*read.unread));
        }
        const int replicates = Rcpp::as<int>(settings["bootstrap"]);
        const SampleTable asRead = replicates > 0 ? read.table : SampleTable{};
        const RunResult run = computeRun(std::move(read.table), t.db, options, {});
        if (run.refused) {
            throw Error(run.messages.empty() ? refusalMessage : run.messages.front());
        }
        for (const std::string& message : run.messages) {
            notes.push_back(run.table.utf8 ? message : cp1252ToUtf8(message));
        }
        report.classcount = run.classcount;
        std::optional<BootstrapResult> b;
        if (replicates > 0) {
            b = bootstrap(asRead, options, run,
                          {.replicates = replicates,
                           .seed = static_cast<std::uint64_t>(Rcpp::as<double>(settings["seed"])),
                           .threads = threads});
        }
        const BootstrapResult* ci = b ? &*b : nullptr;
        std::string reportLines = reportText(report);
        return Rcpp::List::create(
            Rcpp::Named("samples") = samplesFrame(run, options.gig, ci),
            Rcpp::Named("regressions") = regressionsOf(run, ci),
            Rcpp::Named("taxa") = utf8String(taxaRecordText(run.table, t.db, heading)),
            Rcpp::Named("notes") = utf8Strings(notes), Rcpp::Named("report") = utf8String(reportLines),
            Rcpp::Named("results") = bytes(run.resultsText),
            Rcpp::Named("rule") = run.rule.useMedian ? "median" : "75th",
            Rcpp::Named("intervals") = ci ? Rcpp::wrap(bootstrapSettingsLine(*ci)) : R_NilValue,
            Rcpp::Named("source") = utf8String(run.table.sourcePath));
    });
}

// Each name resolved as the reader resolves a taxon column under unknown = "suggest", a taxa
// map answering first: the record of the names for them, and whether each family is a guess
// or two sources dispute it.
// [[Rcpp::export]]
SEXP engine_resolve(SEXP taxa, std::vector<std::string> names, Rcpp::List settings) {
    return guarded([&]() -> SEXP {
        const Taxa& t = taxaOf(taxa);
        const std::optional<TaxaMap> map = taxaMapOf(settings, t);
        SampleTable table;
        table.utf8 = true;
        std::vector<int> disputed;
        std::vector<std::string> said;
        for (std::size_t k = 0; k < names.size(); ++k) {
            FamilyEvidence evidence;
            UnknownTaxonHandler handler = [&evidence](const UnknownTaxonQuestion& q) {
                evidence = q.evidence;
                if (q.evidence.disputed() || !q.suggestion) {
                    return UnknownTaxonAnswer::ignore(AnswerSource::User, evidenceText(q.evidence));
                }
                const SuggestedFamily& s = *q.suggestion;
                return UnknownTaxonAnswer::family(s.id, s.family, answerSourceOf(s.source), s.matched);
            };
            if (map) {
                handler = taxaMapHandler(*map, std::move(handler));
            }
            const int column = static_cast<int>(k) + 1;
            const Resolution r =
                resolveTaxonName(t.db, t.tree, toUpperAscii(names[k]), true, handler, {.column = column});
            table.nameDecisions.push_back({column, names[k], r.family, r.source, r.evidence});
            disputed.push_back(evidence.disputed() ? 1 : 0);
            said.push_back(r.source == "taxa database" || r.source == "synonym" ? std::string()
                                                                                : evidenceText(evidence));
        }
        return Rcpp::List::create(
            Rcpp::Named("record") =
                utf8String(taxaRecordText(table, t.db, {"suggest", map ? map->path() : "", {}})),
            Rcpp::Named("disputed") = Rcpp::LogicalVector(disputed.begin(), disputed.end()),
            Rcpp::Named("evidence") = utf8Strings(said));
    });
}

// Numbers in the shortest form that reads back to the same value, as the engine's tables
// write them; NA for a value that does not exist.
// [[Rcpp::export]]
Rcpp::CharacterVector engine_shortest(Rcpp::NumericVector x) {
    Rcpp::CharacterVector out(x.size());
    for (R_xlen_t i = 0; i < x.size(); ++i) {
        out[i] = std::isfinite(x[i]) ? Rcpp::String(formatShortest(x[i])) : Rcpp::String(NA_STRING);
    }
    return out;
}
