// The Torrentix desktop program.

#include "app/mainwindow.h"
#include "app/userdialogs.h"
#include "base/error.h"

#include <QApplication>
#include <QMessageBox>
#include <QSettings>

#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(torrentix::programTitle());
    QApplication::setOrganizationName(torrentix::programTitle());
    const std::string dbPath =
        torrentix::defaultTaxaDatabasePath(QCoreApplication::applicationDirPath().toStdString());
    std::unique_ptr<torrentix::TaxaDatabase> taxa;
    try {
        taxa = std::make_unique<torrentix::TaxaDatabase>(torrentix::TaxaDatabase::open(dbPath));
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, torrentix::programTitle(),
                              QString::fromLocal8Bit(e.what()) + QStringLiteral("\n\nTorrentix will close."));
        return 1;
    }
    QSettings settings;
    torrentix::MainWindow window(*taxa, nullptr, &settings);
    window.load();
    window.show();
    return QApplication::exec();
}
