// Renders the screenshots of the documentation after a run on a sample file: the START
// view with a GIG and river type chosen, the options step, the RESULTS view and the
// GRAPHS view.
//   app_screenshots OUTDIR [SAMPLE GIGINDEX TYPEINDEX]
// Without a sample file it writes one of its own. The sample is copied into a temporary
// folder first, so that its results file lands there.

#include "app/infowindow.h"
#include "app/layout.h"
#include "app/mainwindow.h"
#include "app/taxondialog.h"
#include "app/workflow.h"
#include "apptestsupport.h"
#include "input/nameresolution.h"
#include "metrics/catalogue.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace torrentix;

testing::SampleContent demoSample() {
    testing::SampleContent content;
    content.classes = testing::classList(9, 5, 7, 5, 3, 2);
    content.numericTests = {31, 31, 4};
    content.testNames = {"Pressure", "LocalIdx", "Altitude"};
    content.families = {"BAETIDAE",   "HEPTAGENIIDAE",  "LEUCTRIDAE",    "PERLIDAE",       "EPHEMERELLIDAE",
                        "NEMOURIDAE", "RHYACOPHILIDAE", "LIMNEPHILIDAE", "HYDROPSYCHIDAE", "ELMIDAE",
                        "GAMMARIDAE", "SIMULIIDAE",     "CHIRONOMIDAE",  "ASELLIDAE",      "TUBIFICIDAE"};
    return content;
}

bool save(QWidget& window, const QString& folder, const char* name) {
    QApplication::processEvents();
    const QString path = folder + "/" + QLatin1String(name);
    const bool ok = window.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 2 && argc != 5) {
        std::fprintf(stderr, "usage: app_screenshots OUTDIR [SAMPLE GIGINDEX TYPEINDEX]\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir work;
    int gig = Mediterranean;
    int type = 1;
    QString sample;
    if (argc == 5) {
        sample = work.path() + "/" + QFileInfo(QString::fromLocal8Bit(argv[2])).fileName();
        if (!QFile::copy(QString::fromLocal8Bit(argv[2]), sample)) {
            std::fprintf(stderr, "cannot read %s\n", argv[2]);
            return 1;
        }
        gig = QString::fromLocal8Bit(argv[3]).toInt();
        type = QString::fromLocal8Bit(argv[4]).toInt();
    } else {
        sample = testing::writeSample(work.path(), "sites.txt", demoSample());
    }

    testing::FakeDialogs dialogs;
    dialogs.openAnswers = {sample};
    MainWindow window(testing::testTaxa(), &dialogs);
    const Twips twips = Twips::of(window);
    window.resize(twips.px(QSize(initialWindowWidth, initialWindowHeight)));
    window.show();

    Workflow& flow = window.workflow();
    flow.optGigClick(gig);
    flow.option1Click(type);
    bool ok = save(window, out, "start.png");

    // The metrics of a GIG, shown while the right button is held on its option.
    flow.optGigMouseDown(CentralBaltic, true);
    ok = save(window, out, "metrics.png") && ok;
    flow.optGigMouseUp();

    flow.command1Click();
    if (flow.wfstep() == 2) {
        // The first test variable is a biological quality ratio: observed minimum, and
        // the reference samples' value as its upper end.
        window.findChild<QCheckBox*>("chk_observed_1")->click();
        window.findChild<QCheckBox*>("chk_ismetric_1")->click();
        ok = save(window, out, "options.png") && ok;
        flow.command1Click();
    }
    for (const QString& message : dialogs.messages) {
        std::printf("message: %s\n", qPrintable(message));
    }
    if (flow.noresults()) {
        std::fprintf(stderr, "the run gave no results\n");
        return 1;
    }
    ok = save(window, out, "results.png") && ok;
    flow.cmdtab(GraphsTab);
    ok = save(window, out, "graphs.png") && ok;

    // The question about an unknown name, with the family it suggests.
    TaxonDialog& taxa = window.taxonDialog();
    const std::string unknown = "HEPTAGENIDAE";
    taxa.prepare({unknown, suggestFamily(testing::testTaxa(), unknown, false), nullptr});
    taxa.show();
    ok = save(taxa, out, "taxa.png") && ok;
    taxa.hide();

    InfoWindow info(&window);
    info.prepareOnRequest();
    info.showPage(3);
    info.show();
    ok = save(info, out, "info.png") && ok;
    return ok ? 0 : 1;
}
