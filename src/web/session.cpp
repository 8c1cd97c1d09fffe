#include "web/session.h"

#include "web/runjson.h"

#include "base/error.h"
#include "base/files.h"
#include "base/text.h"
#include "input/correctedfile.h"
#include "input/familyevidence.h"
#include "input/samplereader.h"
#include "input/taxamap.h"
#include "metrics/catalogue.h"
#include "metrics/metricdefinitions.h"
#include "report/reporttext.h"
#include "report/tidytable.h"
#include "run/bootstrap.h"
#include "run/bootstraptable.h"

#include <nlohmann/json.hpp>

#include <map>
#include <set>
#include <utility>

namespace torrentix::web {
namespace {

using Json = nlohmann::ordered_json;

// A text of the file as UTF-8, for the page.
std::string utf8Of(const std::string& text, bool utf8) {
    return utf8 ? text : cp1252ToUtf8(text);
}

Json suggestionJson(const std::optional<SuggestedFamily>& s) {
    if (!s) {
        return nullptr;
    }
    return {{"id", s->id},
            {"family", s->family},
            {"source", sourceName(s->source)},
            {"matched", s->matched},
            {"guess", s->source == FamilySource::Prefix},
            {"countedAs", s->countedAs}};
}

Json questionJson(const UnknownTaxonQuestion& q) {
    const FamilyEvidence& e = q.evidence;
    return {{"name", utf8Of(q.name, q.utf8)},     {"suggestion", suggestionJson(q.suggestion)},
            {"known", suggestionJson(e.known)},   {"typeGenus", suggestionJson(e.typeGenus)},
            {"disputed", e.disputed()},           {"dictionaryAnswer", suggestionJson(e.knownAnswer())},
            {"evidence", questionEvidenceText(e)}};
}

std::optional<TaxaMap> mapOf(const std::string& text, const TaxaDatabase& taxa) {
    if (text.empty()) {
        return std::nullopt;
    }
    return TaxaMap::parse(text, "of this page", taxa); // "The taxa map of this page, line 3: ..."
}

// The map's answers first, then `next`; each name the map answers is told.
UnknownTaxonHandler withMap(const std::optional<TaxaMap>& map, UnknownTaxonHandler next, Json& mapped) {
    if (!map) {
        return next;
    }
    return taxaMapHandler(
        *map, std::move(next), [&mapped](const UnknownTaxonQuestion& q, const TaxaMapEntry& e) {
            const auto known = q.evidence.knownAnswer();
            Json told = {{"name", utf8Of(q.name, q.utf8)}, {"family", e.family}, {"line", e.line}};
            if (known && known->id != e.familyId) {
                told["dictionary"] = known->family;
            }
            mapped.push_back(told);
        });
}

Json readFacts(const ReadResult& read) {
    Json variables = Json::array();
    for (std::size_t k = 0; k < 3; ++k) {
        variables.push_back({{"name", utf8Of(read.table.testVariableNames[k], read.table.utf8)},
                             {"numeric", read.table.numericTestValueCounts[k]},
                             {"usable", isUsableTestVariable(read.table, static_cast<int>(k))}});
    }
    Json familyNames = Json::array();
    for (const std::string& name : read.table.familyNames) {
        familyNames.push_back(utf8Of(name, read.table.utf8));
    }
    // The families of the names known or mapped: with the families the user gives the unknown
    // names, the page counts the families the run will have.
    return {{"samples", read.table.nsamp()},       {"families", read.table.nfam()},
            {"familyNames", familyNames},          {"notes", read.notes},
            {"doubtful", doubtfulCellsText(read)}, {"testVariables", variables}};
}

Json failure(const std::string& message, bool decimalComma = false) {
    return {{"ok", false}, {"error", message}, {"decimalComma", decimalComma}};
}

RunOptions optionsOf(const Json& request) {
    RunOptions o;
    const auto gig = parseGig(request.at("gig").get<std::string>());
    const auto type = gig ? parseTypeCode(*gig, request.at("type").get<std::string>()) : std::nullopt;
    if (!gig || !type) {
        throw Error("Choose a GIG and a river type.");
    }
    o.gig = *gig;
    o.riverType = *type;
    for (std::size_t k = 0; k < 3; ++k) {
        const Json& v = request.at("testVariables").at(k);
        o.testVariables[k] = {v.at("min").get<std::string>(), v.at("observedMin").get<bool>(),
                              v.at("biological").get<bool>()};
    }
    o.dateText = request.value("date", "");
    o.timeText = request.value("time", "");
    o.keepAbundances = false;
    o.threads = 1;
    return o;
}

// The page's answers by upper-cased name: a family's id, or 0 to ignore the name; the names
// answered by the dictionary's family for all remaining names are said so in the record of
// the names. A name without an answer aborts the read and is named.
UnknownTaxonHandler answersHandler(const Json& answers, const Json& byDictionary, const TaxaDatabase& taxa,
                                   Json& unanswered) {
    std::map<std::string, int> byName;
    for (const auto& [name, id] : answers.items()) {
        byName[toUpperAscii(name)] = id.get<int>();
    }
    std::set<std::string> dictionary;
    for (const Json& name : byDictionary) {
        dictionary.insert(toUpperAscii(name.get<std::string>()));
    }
    std::map<int, std::string> families;
    for (const FamilyRecord& r : taxa.records()) {
        families[r.id] = r.family;
    }
    return [byName, families, dictionary, &unanswered](const UnknownTaxonQuestion& q) {
        const std::string name = utf8Of(q.name, q.utf8);
        const auto found = byName.find(toUpperAscii(name));
        if (found == byName.end()) {
            unanswered.push_back(name);
            return UnknownTaxonAnswer::abort();
        }
        const auto family = families.find(found->second);
        if (family == families.end()) {
            return UnknownTaxonAnswer::ignore();
        }
        const auto known = q.evidence.knownAnswer();
        if (known && known->id == family->first && dictionary.contains(toUpperAscii(name))) {
            return UnknownTaxonAnswer::family(family->first, family->second, answerSourceOf(known->source),
                                              known->matched);
        }
        return UnknownTaxonAnswer::family(family->first, family->second);
    };
}

// The part of the reading's bar taken by the rows; the rest, the table made of them.
constexpr double rowsShare = 0.85;

// The stages of a run on one bar (the file was read before, on a bar of its own): the metric
// passes (most of the work), the indices, the regressions, the results file, the table, and
// the views' texts and arrays.
constexpr double metricsEnd = 0.6;
constexpr double tableStart = 0.8;
constexpr double viewsStart = 0.9;

// Where each stage of a run starts on the bar.
double stageStart(RunStage stage) {
    switch (stage) {
    case RunStage::Metrics:
        return 0.0;
    case RunStage::Indices:
        return metricsEnd;
    case RunStage::Regressions:
        return 0.7;
    case RunStage::Writing:
        break;
    }
    return 0.75;
}

} // namespace

Session::Session(const std::string& taxaDatabasePath)
    : taxa_(TaxaDatabase::open(taxaDatabasePath)), tree_(buildTaxaTree(taxa_.records())) {}

std::string Session::familiesJson() const {
    Json families = Json::array();
    for (const FamilyRecord& r : taxa_.records()) {
        families.push_back({{"id", r.id}, {"family", r.family}, {"group", r.taxagroup}});
    }
    Json gigs = Json::array();
    for (const Gig g : allGigs) {
        Json types = Json::array();
        for (int t = 0; t < gigInfo(g).riverTypeCount; ++t) {
            types.push_back({{"code", typeCode(g, t)}, {"caption", typeCaption(g, t)}});
        }
        gigs.push_back({{"name", gigInfo(g).caption}, {"short", gigShortName(g)}, {"types", types}});
    }
    return jsonText(Json{{"families", families}, {"gigs", gigs}});
}

std::string Session::inspectJson(const std::string& path, const std::string& mapText, bool decimalComma,
                                 bool readPastBlankLines, const Progress& progress) {
    // Another file: the last file's rows and its run are let go.
    read_.reset();
    run_.reset();
    asRead_.reset();
    arrays_ = {};
    try {
        Json questions = Json::array();
        Json mapped = Json::array();
        const auto map = mapOf(mapText, taxa_);
        const auto record = [&questions](const UnknownTaxonQuestion& q) {
            questions.push_back(questionJson(q));
            return UnknownTaxonAnswer::ignore();
        };
        ++filesRead_;
        read_.emplace(
            path, taxa_, tree_,
            ReadOptions{.decimalComma = decimalComma,
                        .readPastBlankLines = readPastBlankLines,
                        .threads = 1,
                        .progress = [&progress](double f) { progress(rowsShare * f, readingStageText); }});
        progress(rowsShare, readingStageText); // the rows are read: the table is made of them
        const ReadResult read = read_->answered(withMap(map, record, mapped));
        Json out = {{"ok", true}, {"unknown", questions}, {"mapped", mapped}};
        out["linesAfterBlank"] = read.unread ? Json(linesAfterBlankText(*read.unread)) : Json(nullptr);
        out.update(readFacts(read));
        return jsonText(out);
    } catch (const DecimalCommaError& e) {
        read_.reset();
        return jsonText(failure(e.what(), true));
    } catch (const std::exception& e) {
        read_.reset();
        return jsonText(failure(e.what()));
    }
}

std::string Session::runJson(const std::string& requestJson, const Progress& progress) {
    run_.reset();
    asRead_.reset();
    arrays_ = {};
    if (!read_) {
        return jsonText(failure("Read a file first."));
    }
    try {
        const Json request = Json::parse(requestJson);
        options_ = optionsOf(request);
        Json mapped = Json::array();
        Json unanswered = Json::array();
        const auto map = mapOf(request.value("taxaMap", ""), taxa_);
        progress(0.0, runStageText(RunStage::Metrics));
        ReadResult read = read_->answered(
            withMap(map,
                    answersHandler(request.at("answers"), request.value("byDictionary", Json::array()), taxa_,
                                   unanswered),
                    mapped));
        if (read.status == ReadResult::Status::Aborted) {
            return jsonText(failure("Unknown taxon names without an answer: " + jsonText(unanswered)));
        }
        if (read.table.namesCorrected) {
            saveCorrectedFile(read);
        }
        const std::string path = read.table.sourcePath;
        ReportInput report = reportInputFor(read.table, options_);
        options_.taxaRecord = TaxaRecordHeading{"asked", map ? "the page's taxa map" : "", {}};
        if (read.unread) {
            options_.taxaRecord->notes.push_back(dataEndText(*read.unread));
        }
        asRead_ = read.table;
        RunCallbacks callbacks;
        callbacks.stage = [&progress](RunStage stage) { progress(stageStart(stage), runStageText(stage)); };
        callbacks.progress = [&progress](double f) {
            progress(metricsEnd * f, runStageText(RunStage::Metrics));
        };
        callbacks.existingResultsFile = [](const std::string& outPath) { return std::optional(outPath); };
        run_ = computeRun(std::move(read.table), taxa_, options_, callbacks);
        report.classcount = run_->classcount;
        Json files = Json::array();
        if (!read.correctedPath.empty()) {
            files.push_back(read.correctedPath);
        }
        if (!run_->outputPath.empty()) {
            files.push_back(run_->outputPath);
        }
        if (!run_->recordPath.empty()) {
            files.push_back(run_->recordPath);
        }
        if (!run_->refused && request.value("table", false)) {
            progress(tableStart, "Writing the table");
            const std::string tablePath = tablePathFor(path);
            TidyTableInput table{run_->table, options_.gig,     run_->testText,        run_->testNormalised,
                                 run_->raw,   run_->normalised, run_->indices.staricm, run_->indices.gigicm};
            table.progress = [&progress](double f) {
                progress(tableStart + (viewsStart - tableStart) * f, "Writing the table");
            };
            writeFileAtomically(tablePath, tidyTableText(table));
            files.push_back(tablePath);
        }
        progress(viewsStart, "Preparing the results");
        if (!run_->refused) {
            arrays_ = runViewArrays(*run_, [&progress](double f) {
                progress(viewsStart + (1.0 - viewsStart) * f, "Preparing the results");
            });
        }
        Json out = runViewJson(*run_, options_.gig);
        out["ok"] = true;
        out["report"] = run_->refused ? std::string() : reportText(report);
        out["notes"] = read.notes;
        out["doubtful"] = doubtfulCellsText(read);
        out["mapped"] = mapped;
        out["corrected"] = read.notice;
        out["files"] = files;
        return jsonText(out);
    } catch (const DecimalCommaError& e) {
        return jsonText(failure(e.what(), true));
    } catch (const std::exception& e) {
        return jsonText(failure(e.what()));
    }
}

std::string Session::intervalsJson(int replicates, double seed, const Progress& progress) {
    if (!run_ || !asRead_ || run_->refused) {
        return jsonText(failure("Run a file first."));
    }
    try {
        BootstrapOptions b;
        b.replicates = replicates;
        b.seed = static_cast<std::uint64_t>(seed);
        b.threads = 1;
        b.progress = [&progress](double f) { progress(f, "Computing the bootstrap intervals"); };
        // No stop request: the page stops the engine by ending its worker, where nothing
        // is written.
        const BootstrapResult result = bootstrap(*asRead_, options_, *run_, b);
        const std::string samplesPath = bootstrapPathFor(asRead_->sourcePath);
        const std::string regressionsPath = bootstrapRegressionsPathFor(asRead_->sourcePath);
        writeFileAtomically(samplesPath, bootstrapSamplesText(result, *run_));
        writeFileAtomically(regressionsPath, bootstrapRegressionsText(result, *run_));
        arrays_ = intervalsViewArrays(result);
        Json out = intervalsViewJson(result);
        out["ok"] = true;
        out["files"] = Json::array({samplesPath, regressionsPath});
        return jsonText(out);
    } catch (const std::exception& e) {
        return jsonText(failure(e.what()));
    }
}

} // namespace torrentix::web
