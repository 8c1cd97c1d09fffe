#pragma once
// Test doubles and sample files for the desktop program's tests.

#include "app/userdialogs.h"
#include "input/taxadatabase.h"

#include <QString>
#include <QStringList>

#include <array>
#include <deque>
#include <string>
#include <vector>

namespace torrentix::testing {

// Answers the dialogs from queues and records what was asked and told.
class FakeDialogs : public UserDialogs {
  public:
    std::deque<QString> openAnswers; // empty queue: the dialog is cancelled
    std::deque<QString> saveAnswers; // empty queue: cancelled
    std::deque<bool> yesNoAnswers;   // empty queue: No
    QStringList openTitles;
    QStringList openFilters;
    QStringList saveProposals;
    QStringList questions;
    QStringList messages;
    std::vector<bool> informationShown; // true: at start-up

    QString openFileName(const QString& title, const QString& filter) override;
    QString saveFileName(const QString& title, const QString& proposed, const QString& filter) override;
    bool askYesNo(const QString& text) override;
    void showMessage(const QString& text) override;
    void showInformation(bool atStartup) override;
};

// A sample file to write: one row per class code; test variable k has a numeric value in
// its first `numericTests[k]` rows and an empty cell below.
struct SampleContent {
    std::vector<int> classes;
    std::array<int, 3> numericTests{0, 0, 0};
    std::array<std::string, 3> testNames{"Altitude", "Conductivity", "Nutrients"};
    std::vector<std::string> families{"BAETIDAE",     "HEPTAGENIIDAE", "GAMMARIDAE",
                                      "CHIRONOMIDAE", "LEUCTRIDAE",    "HYDROPSYCHIDAE"};
    int missingColumnInRow = -1; // a row (0-based) that lacks its last cell
};

// `reference` Reference samples, then High, Good, Moderate, Poor and Bad ones.
std::vector<int> classList(int reference, int high, int good = 0, int moderate = 0, int poor = 0,
                           int bad = 0);

std::string sampleText(const SampleContent& content);
// Writes the sample file and returns its path.
QString writeSample(const QString& folder, const QString& name, const SampleContent& content);
QString readText(const QString& path);

// The taxa database of the build.
const TaxaDatabase& testTaxa();

} // namespace torrentix::testing
