#include "app/resultssaving.h"

#include "app/tableexport.h"
#include "base/files.h"
#include "base/platform.h"
#include "graphs/displaytext.h"
#include "report/resultsfile.h"
#include "report/tidytable.h"
#include "run/bootstraptable.h"

#include <QFileInfo>

#include <algorithm>

namespace torrentix {
namespace {

// A name chosen for a results file, ".txt" added unless it ends so in any letter case.
QString withTxtExtension(const QString& chosen) {
    return chosen.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive) ? chosen
                                                                        : chosen + QStringLiteral(".txt");
}

} // namespace

std::optional<std::string> ResultsSaving::existingResultsFile(const std::string& path,
                                                              const QString& sample) const {
    const QString existing = pathText(path);
    const QString question = platform::isReadOnly(path)
                                 ? QStringLiteral(" already exists and is read-only. Overwrite it anyway?")
                                 : QStringLiteral(" already exists. Overwrite?");
    if (dialogs_.askYesNo(QStringLiteral("File ") + existing + question)) {
        return path;
    }
    for (;;) {
        QString chosen =
            dialogs_.saveFileName(QStringLiteral("SAVE AS"), existing, QStringLiteral("Text File (*.txt)"));
        if (chosen.isEmpty()) {
            return std::nullopt;
        }
        chosen = withTxtExtension(chosen);
        if (!platform::sameFile(pathBytes(chosen), pathBytes(sample))) {
            return pathBytes(chosen);
        }
        dialogs_.showMessage(QStringLiteral("The results cannot replace the sample file ") + sample +
                             QStringLiteral(". Please choose another name."));
    }
}

// Asks where an output goes and writes it there: `pathsOf` gives the files a chosen name
// writes, `write` writes them. A file that would replace the sample file (by any name: a
// link to it, another spelling of its path), or a place that cannot be written, brings
// the dialog back. False when the user chose no name.
bool ResultsSaving::save(const QString& title, const QString& proposed, const QString& filter,
                         const QString& sampleFile, const std::function<QStringList(const QString&)>& pathsOf,
                         const std::function<void(const QStringList&)>& write) const {
    const QString sample = QFileInfo(sampleFile).absoluteFilePath();
    for (;;) {
        const QString chosen = dialogs_.saveFileName(title, proposed, filter);
        if (chosen.isEmpty()) {
            return false;
        }
        const QStringList paths = pathsOf(chosen);
        if (std::any_of(paths.begin(), paths.end(), [&sample](const QString& path) {
                return platform::sameFile(pathBytes(path), pathBytes(sample));
            })) {
            dialogs_.showMessage(QStringLiteral("The output cannot replace the sample file ") + sample +
                                 QStringLiteral(". Please choose another name."));
            continue;
        }
        try {
            write(paths);
            return true;
        } catch (const std::exception& e) {
            dialogs_.showMessage(anyText(e.what()) + QStringLiteral("\nPlease choose another folder."));
        }
    }
}

void ResultsSaving::exportTable(const RunResult& run, Gig gig, const BootstrapResult* intervals,
                                const QString& sample) const {
    save(
        QStringLiteral("EXPORT TABLE"), pathText(tablePathFor(pathBytes(sample))),
        QStringLiteral("Tab-separated table (*.tsv);;Comma-separated table (*.csv)"), sample,
        [](const QString& chosen) { return QStringList{chosen}; },
        [&](const QStringList& paths) {
            const std::string path = pathBytes(paths[0]);
            const std::string table = tidyTableOf(run, gig, intervals);
            writeFileAtomically(path, isCsvName(path) ? csvFromTsv(table) : table);
        });
}

bool ResultsSaving::saveResultsAs(const RunResult& run, const QString& sample) const {
    const std::string& written = run.outputPath;
    const QString proposed = pathText(written.empty() ? resultsPathFor(pathBytes(sample)) : written);
    return save(
        QStringLiteral("SAVE RESULTS AS"), proposed, QStringLiteral("Text File (*.txt)"), sample,
        [](const QString& chosen) { return QStringList{withTxtExtension(chosen)}; },
        [&run](const QStringList& paths) { writeFileAtomically(pathBytes(paths[0]), run.resultsText); });
}

// Comma-separated both for a ".csv" name.
void ResultsSaving::saveIntervals(const BootstrapResult& intervals, const RunResult& run,
                                  const QString& sample) const {
    save(
        QStringLiteral("SAVE CONFIDENCE INTERVALS"), pathText(bootstrapPathFor(pathBytes(sample))),
        QStringLiteral("Tab-separated table (*.tsv);;Comma-separated table (*.csv)"), sample,
        [](const QString& chosen) {
            return QStringList{chosen, pathText(regressionsPathBeside(pathBytes(chosen)))};
        },
        [&](const QStringList& paths) {
            const std::string samples = pathBytes(paths[0]);
            const auto form = [&samples](const std::string& table) {
                return isCsvName(samples) ? csvFromTsv(table) : table;
            };
            writeFileAtomically(samples, form(bootstrapSamplesText(intervals, run)));
            writeFileAtomically(pathBytes(paths[1]), form(bootstrapRegressionsText(intervals, run)));
        });
}

} // namespace torrentix
