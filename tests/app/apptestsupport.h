#pragma once
// Test doubles of the desktop program, and the sample files its tests read.

#include "app/userdialogs.h"
#include "support/samplefile.h"
#include "support/testsupport.h"

#include <QCoreApplication>
#include <QDialog>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <deque>
#include <functional>

// Failures show texts, not their bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace torrentix::testing {

// Answers the dialogs from queues (an empty queue cancels, or answers No) and records
// what was asked and told. A question with its own buttons is recorded with them: "… [Continue/Abort]".
struct FakeDialogs : UserDialogs {
    std::deque<QString> openAnswers, saveAnswers;
    std::deque<bool> yesNoAnswers;
    std::function<void()> duringQuestion; // runs while a Yes/No question is open
    int opens = 0;                        // open-file dialogs shown
    QStringList openFolders, questions, messages, urlsOpened;
    std::vector<bool> informationShown; // true: at start-up

    QString openFileName(const QString& title, const QString& filter) override {
        return openFileIn(title, filter, {});
    }
    QString openFileIn(const QString&, const QString&, const QString& folder) override {
        ++opens;
        openFolders << folder;
        return next(openAnswers, {});
    }
    bool confirm(const QString& text, const QString& accept, const QString& refuse) override {
        return askYesNo(text + " [" + accept + "/" + refuse + "]");
    }
    std::deque<int> choices; // the answers' indexes; an empty queue answers the last
    int choose(const QString& text, const QStringList& answers) override {
        questions << text + " [" + answers.join('/') + "]";
        return next(choices, static_cast<int>(answers.size()) - 1);
    }
    QString saveFileName(const QString&, const QString&, const QString&) override {
        return next(saveAnswers, {});
    }
    bool askYesNo(const QString& text) override {
        questions << text;
        if (duringQuestion) {
            duringQuestion();
        }
        return next(yesNoAnswers, false);
    }
    void showMessage(const QString& text) override { messages << text; }
    bool openUrl(const QUrl& url) override { return urlsOpened << url.toString(), true; }
    void showInformation(bool atStartup) override { informationShown.push_back(atStartup); }
    template <typename T> static T next(std::deque<T>& answers, T none) {
        if (!answers.empty()) {
            none = answers.front();
            answers.pop_front();
        }
        return none;
    }
};

// How long a test waits for work of the program (a read, a run, 1,000 replicates of a
// small file): far beyond what the work takes, so that a wait that runs out is a fault.
constexpr int waitMilliseconds = 10000;

// Processes events until `done` holds; after `waitMilliseconds` the test fails, telling
// what it waited for.
inline bool waitUntil(const std::function<bool()>& done, const char* what) {
    const bool met = QTest::qWaitFor(done, waitMilliseconds);
    EXPECT_TRUE(met) << "waited " << waitMilliseconds / 1000 << " s for " << what;
    return met;
}

// Lets the work under way (a read, a run) end and its results reach the window's thread.
template <class Workflow> void settle(const Workflow& workflow) {
    waitUntil([&workflow] { return !workflow.busy(); }, "the read or run under way to end");
    QCoreApplication::processEvents();
}

// Runs `act` as soon as the (modal) dialog shows.
inline void whenShown(QDialog& dialog, std::function<void()> act) {
    QTimer::singleShot(10, &dialog, [&dialog, act] { dialog.isVisible() ? act() : whenShown(dialog, act); });
}

// Writes the sample file "sites.txt" into `dir` and returns its path.
inline QString writeSites(const TempDir& dir, const SampleFile& sample) {
    writeFile(dir.file("sites.txt"), sample.text());
    return QString::fromStdString(dir.file("sites.txt"));
}

// SampleFile::typical() with its defaults: every test variable usable.
inline SampleFile typical() {
    return SampleFile::typical();
}
// No test variable has the 6 values that make it usable: no options step.
inline SampleFile withoutTestVariables() {
    SampleFile f = SampleFile::typical();
    for (std::size_t k = 0; k < 3; ++k) {
        f.emptyTestValuesFrom(k, 5);
    }
    return f;
}
// Every sample's EQR is 5.
inline SampleFile withEqualEqr() {
    SampleFile f = SampleFile::typical();
    for (auto& row : f.rows) {
        row[3] = "5";
    }
    return f;
}

} // namespace torrentix::testing
