#include "app/qtdialogs.h"

#include "app/infowindow.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace torrentix {
namespace {

// The hourglass of a running computation gives way to the normal pointer while the user
// answers a dialog.
class NormalPointer {
  public:
    NormalPointer() : waiting_(QGuiApplication::overrideCursor() != nullptr) {
        if (waiting_) {
            QGuiApplication::restoreOverrideCursor();
        }
    }
    ~NormalPointer() {
        if (waiting_) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        }
    }
    NormalPointer(const NormalPointer&) = delete;
    NormalPointer& operator=(const NormalPointer&) = delete;

  private:
    bool waiting_;
};

// The extension of a filter's first pattern: "txt" for "Text File (*.txt)".
QString filterSuffix(const QString& filter) {
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString programTitle() {
    return QStringLiteral("Torrentix");
}

QString QtDialogs::openFileName(const QString& title, const QString& filter) {
    return openFileIn(title, filter, {});
}

QString QtDialogs::openFileIn(const QString& title, const QString& filter, const QString& folder) {
    NormalPointer pointer;
    QFileDialog dialog(parent_, title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile); // a name that does not exist is reported afterwards
    dialog.setNameFilters(filter.split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setOption(QFileDialog::ReadOnly, false);
    return chosenFile(dialog);
}

QString QtDialogs::saveFileName(const QString& title, const QString& proposed, const QString& filter) {
    NormalPointer pointer;
    QFileDialog dialog(parent_, title, QFileInfo(proposed).absolutePath());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = filter.split(QStringLiteral(";;"));
    dialog.setNameFilters(filters);
    // A name without an extension takes that of the kind of file chosen.
    dialog.setDefaultSuffix(filterSuffix(filters.constFirst()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& chosen) { dialog.setDefaultSuffix(filterSuffix(chosen)); });
    dialog.selectFile(QFileInfo(proposed).fileName());
    return chosenFile(dialog);
}

bool QtDialogs::askYesNo(const QString& text) {
    NormalPointer pointer;
    return QMessageBox::question(parent_, programTitle(), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

bool QtDialogs::confirm(const QString& text, const QString& accept, const QString& refuse) {
    NormalPointer pointer;
    QMessageBox box(QMessageBox::Question, programTitle(), text, QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton(accept, QMessageBox::AcceptRole);
    box.setEscapeButton(box.addButton(refuse, QMessageBox::RejectRole));
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

int QtDialogs::choose(const QString& text, const QStringList& answers) {
    NormalPointer pointer;
    QMessageBox box(QMessageBox::Question, programTitle(), text, QMessageBox::NoButton, parent_);
    std::vector<QAbstractButton*> buttons;
    for (const QString& answer : answers) {
        buttons.push_back(box.addButton(answer, buttons.size() + 1 == static_cast<std::size_t>(answers.size())
                                                    ? QMessageBox::RejectRole
                                                    : QMessageBox::AcceptRole));
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(buttons.front()));
    box.setEscapeButton(buttons.back());
    box.exec();
    const auto chosen = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    return chosen == buttons.end() ? static_cast<int>(buttons.size()) - 1
                                   : static_cast<int>(chosen - buttons.begin());
}

void QtDialogs::showMessage(const QString& text) {
    NormalPointer pointer;
    QMessageBox box(QMessageBox::NoIcon, programTitle(), text, QMessageBox::Ok, parent_);
    box.exec();
}

bool QtDialogs::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void QtDialogs::showInformation(bool atStartup) {
    InfoWindow info(parent_);
    if (atStartup) {
        info.prepareForStartup();
    } else {
        info.prepareOnRequest();
    }
    info.exec();
}

} // namespace torrentix
