// The Torrentix desktop program.

#include "app/mainwindow.h"
#include "base/files.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Torrentix");
    const std::string dbPath =
        torrentix::defaultTaxaDatabasePath(QCoreApplication::applicationDirPath().toStdString());
    try {
        const torrentix::TaxaDatabase taxa = torrentix::TaxaDatabase::open(dbPath);
        torrentix::MainWindow window(taxa);
        window.show();
        return QApplication::exec();
    } catch (const torrentix::Error& e) {
        QMessageBox::critical(nullptr, "Torrentix", QString::fromStdString(e.what()));
        return 1;
    }
}
