// The Torrentix desktop program.

#include "app/mainwindow.h"
#include "app/userdialogs.h"
#include "app/workflow.h"
#include "base/error.h"
#include "report/resultsfile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>

#include <memory>

namespace {

// The sample file named on the command line (a desktop entry's "%f") is read as the
// recent files are: at once when a GIG and a river type are chosen, else as soon as the
// user has chosen them.
void openWhenPossible(torrentix::Workflow& workflow, const QString& path) {
    auto waiting = std::make_shared<QMetaObject::Connection>();
    const auto tryOpen = [&workflow, path, waiting] {
        if (workflow.canOpenFile()) {
            QObject::disconnect(*waiting);
            QTimer::singleShot(0, &workflow, [&workflow, path] { workflow.openRecent(path); });
        }
    };
    *waiting = QObject::connect(&workflow, &torrentix::Workflow::changed, &workflow, tryOpen);
    tryOpen();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(torrentix::programTitle());
    QApplication::setOrganizationName(torrentix::programTitle());
    QApplication::setApplicationVersion(QString::fromUtf8(
        torrentix::programVersion.data(), static_cast<qsizetype>(torrentix::programVersion.size())));
    QCommandLineParser arguments;
    arguments.setApplicationDescription(QStringLiteral("Intercalibration Common Metrics of river samples"));
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A sample file to read."),
                                    QStringLiteral("[file]"));
    arguments.process(app);
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
    if (!arguments.positionalArguments().isEmpty()) {
        openWhenPossible(window.workflow(),
                         QFileInfo(arguments.positionalArguments().constFirst()).absoluteFilePath());
    }
    return QApplication::exec();
}
