#pragma once
// Where the outputs of a run go, as the user says: what becomes of an existing results file,
// asked before the run starts, and "Export table...", "Save results as..." and "Save
// intervals..." afterwards. No output ever replaces the sample file, by any name.

#include "app/userdialogs.h"
#include "index/classes.h"
#include "run/bootstrap.h"
#include "run/computerun.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

namespace torrentix {

class ResultsSaving {
  public:
    explicit ResultsSaving(UserDialogs& dialogs) : dialogs_(dialogs) {}

    // The results file `path` of the sample file `sample` exists: the same path to overwrite
    // it (the question says when it is read-only, and it stays so), another name the user
    // chose (".txt" added), or nullopt for no file.
    std::optional<std::string> existingResultsFile(const std::string& path, const QString& sample) const;
    // The tidy table of a run, with the intervals' columns when they are computed.
    void exportTable(const RunResult& run, Gig gig, const BootstrapResult* intervals,
                     const QString& sample) const;
    bool saveResultsAs(const RunResult& run, const QString& sample) const; // false: no name chosen
    // The samples' intervals where the user says, the regressions' beside them.
    void saveIntervals(const BootstrapResult& intervals, const RunResult& run, const QString& sample) const;

  private:
    bool save(const QString& title, const QString& proposed, const QString& filter, const QString& sample,
              const std::function<QStringList(const QString&)>& pathsOf,
              const std::function<void(const QStringList&)>& write) const;

    UserDialogs& dialogs_;
};

} // namespace torrentix
