#pragma once
// What the program asks and tells the user through standard dialogs: the file dialogs,
// the message boxes and the information window. The workflow goes through this
// interface, so that it can be driven without anyone to answer.

#include <QString>
#include <QStringList>

class QUrl;

namespace torrentix {

// The title of every message box.
QString programTitle();

class UserDialogs {
  public:
    virtual ~UserDialogs() = default;
    // An open-file dialog; the chosen path, empty when cancelled. The file need not exist.
    virtual QString openFileName(const QString& title, const QString& filter) = 0;
    // A save dialog proposing `proposed`; the chosen path, empty when cancelled. It asks
    // itself before an existing file is replaced.
    virtual QString saveFileName(const QString& title, const QString& proposed, const QString& filter) = 0;
    // The same, starting in `folder`. Dialogs that cannot choose their folder start
    // where the system puts them.
    virtual QString openFileIn(const QString& title, const QString& filter, const QString& /*folder*/) {
        return openFileName(title, filter);
    }
    // A question with the buttons Yes and No; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // A question whose two buttons say what they do ("Continue", "Abort"); true for the
    // first. Dialogs without such captions ask Yes or No.
    virtual bool confirm(const QString& text, const QString& /*accept*/, const QString& /*refuse*/) {
        return askYesNo(text);
    }
    // A question with a button for each answer, the first the default; the index of the
    // answer chosen, the last when the question is closed. Dialogs without such buttons ask
    // Yes (the first) or No (the last).
    virtual int choose(const QString& text, const QStringList& answers) {
        return askYesNo(text) ? 0 : static_cast<int>(answers.size()) - 1;
    }
    // A message with an OK button.
    virtual void showMessage(const QString& text) = 0;
    // Opens a file or web page in the program the system chooses for it; false when none did.
    virtual bool openUrl(const QUrl& url) = 0;
    // The information window, modal: at start-up it hides on the first mouse movement and
    // has no buttons; on request it opens on its first page with its buttons.
    virtual void showInformation(bool atStartup) = 0;
};

} // namespace torrentix
