#pragma once
// The standard dialogs of the desktop program: Qt file dialogs, message boxes with the
// program's title, and the information window.

#include "app/userdialogs.h"

class QWidget;

namespace torrentix {

class QtDialogs : public UserDialogs {
  public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    QString openFileName(const QString& title, const QString& filter) override;
    QString openFileIn(const QString& title, const QString& filter, const QString& folder) override;
    QString saveFileName(const QString& title, const QString& proposed, const QString& filter) override;
    bool askYesNo(const QString& text) override;
    bool confirm(const QString& text, const QString& accept, const QString& refuse) override;
    int choose(const QString& text, const QStringList& answers) override;
    void showMessage(const QString& text) override;
    bool openUrl(const QUrl& url) override;
    void showInformation(bool atStartup) override;

  private:
    QWidget* parent_;
};

} // namespace torrentix
