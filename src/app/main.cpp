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
#include <QStringList>

#include <clocale>
#include <memory>

namespace {

void describeArguments(QCommandLineParser& arguments) {
    arguments.setApplicationDescription(QStringLiteral("Intercalibration Common Metrics of river samples"));
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A sample file to read."),
                                    QStringLiteral("[file]"));
}

// --help and --version print and stop before any window system is asked for, so that they
// answer without a display too. The window system's own options (-platform, -style) may
// stand beside them; --help-all, which lists those, needs the window system.
void answerHelpOrVersion(int& argc, char** argv) {
    QStringList words;
    for (int i = 0; i < argc; ++i) {
        words << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser arguments;
    describeArguments(arguments);
    (void)arguments.parse(words); // any other option is checked once the window system is up
    if (arguments.isSet(QStringLiteral("version")) || arguments.isSet(QStringLiteral("help"))) {
        const QCoreApplication console(argc, argv);
        if (arguments.isSet(QStringLiteral("version"))) {
            arguments.showVersion();
        }
        arguments.showHelp();
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(torrentix::programTitle());
    QCoreApplication::setOrganizationName(torrentix::programTitle());
    QCoreApplication::setApplicationVersion(QString::fromUtf8(
        torrentix::programVersion.data(), static_cast<qsizetype>(torrentix::programVersion.size())));
    answerHelpOrVersion(argc, argv);
    QApplication app(argc, argv);
    // Qt takes every category of the user's locale; numbers are always written with ".".
    std::setlocale(LC_NUMERIC, "C");
    QCommandLineParser arguments;
    describeArguments(arguments);
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
        window.workflow().openWhenPossible(
            QFileInfo(arguments.positionalArguments().constFirst()).absoluteFilePath());
    }
    return QApplication::exec();
}
