#pragma once
// The user's dialogs as work on a background thread reaches them: every question and
// message is put on the window's thread while the work waits for it.

#include "app/backgroundjob.h"
#include "app/userdialogs.h"

#include <QString>
#include <QUrl>

namespace torrentix {

class JobDialogs : public UserDialogs {
  public:
    JobDialogs(BackgroundJob& job, UserDialogs& dialogs) : job_(job), dialogs_(dialogs) {}

    QString openFileName(const QString& title, const QString& filter) override {
        return job_.ask<QString>([&] { return dialogs_.openFileName(title, filter); });
    }
    QString saveFileName(const QString& title, const QString& proposed, const QString& filter) override {
        return job_.ask<QString>([&] { return dialogs_.saveFileName(title, proposed, filter); });
    }
    QString openFileIn(const QString& title, const QString& filter, const QString& folder) override {
        return job_.ask<QString>([&] { return dialogs_.openFileIn(title, filter, folder); });
    }
    bool askYesNo(const QString& text) override {
        return job_.ask<bool>([&] { return dialogs_.askYesNo(text); });
    }
    bool confirm(const QString& text, const QString& accept, const QString& refuse) override {
        return job_.ask<bool>([&] { return dialogs_.confirm(text, accept, refuse); });
    }
    int choose(const QString& text, const QStringList& answers) override {
        return job_.ask<int>([&] { return dialogs_.choose(text, answers); });
    }
    void showMessage(const QString& text) override {
        job_.ask<bool>([&] { return dialogs_.showMessage(text), true; });
    }
    bool openUrl(const QUrl& url) override {
        return job_.ask<bool>([&] { return dialogs_.openUrl(url); });
    }
    void showInformation(bool atStartup) override {
        job_.ask<bool>([&] { return dialogs_.showInformation(atStartup), true; });
    }

  private:
    BackgroundJob& job_;
    UserDialogs& dialogs_;
};

} // namespace torrentix
