// Renders the screenshots of the documentation after a run on a sample file: the START
// view with a GIG and river type chosen, the metrics of a GIG, the options step, the
// RESULTS and GRAPHS views, the GRAPHS view of a tall window, the question about an
// unknown name, the same question about a name that ends in a blank, and the information
// window, the taxa map's editor, and the RESULTS and GRAPHS views under a dark palette.
//   app_screenshots OUTDIR [SAMPLE GIGINDEX TYPEINDEX [GRAPHSNAME]]
// Without a sample file it runs examples/mediterranean.txt (Mediterranean, R-M1). The
// sample is copied into a temporary folder first, so that its results file lands there.
// With GRAPHSNAME only the GRAPHS view is rendered, into OUTDIR/GRAPHSNAME.

#include "app/cuttexts.h"
#include "app/infowindow.h"
#include "app/layout.h"
#include "app/mainwindow.h"
#include "app/taxamapeditor.h"
#include "app/taxondialog.h"
#include "app/userdialogs.h"
#include "app/workflow.h"
#include "input/nameresolution.h"
#include "metrics/catalogue.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPalette>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

using namespace torrentix;

// Opens the sample file when asked for one; every other question is declined and every
// message printed.
class ScriptedDialogs : public UserDialogs {
  public:
    explicit ScriptedDialogs(QString sample) : sample_(std::move(sample)) {}
    QString openFileName(const QString&, const QString&) override { return std::exchange(sample_, {}); }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    bool askYesNo(const QString& text) override {
        std::printf("question: %s (no)\n", qPrintable(text));
        return false;
    }
    void showMessage(const QString& text) override { std::printf("message: %s\n", qPrintable(text)); }
    bool openUrl(const QUrl&) override { return false; }
    void showInformation(bool) override {}

  private:
    QString sample_;
};

// Twips: a window of the least width and this height shows a plot taller than wide.
constexpr int tallWindowHeight = 12600;

// The read or run under way (on its own thread) has ended and its results are shown.
void settle(const Workflow& flow) {
    while (flow.busy()) {
        QApplication::processEvents();
        QThread::msleep(5);
    }
    QApplication::processEvents();
}

// The palette of a dark desktop theme.
QPalette darkPalette() {
    QPalette dark;
    const QColor window(45, 45, 48), base(30, 30, 32), text(230, 230, 235);
    for (const auto& [role, colour] : {std::pair{QPalette::Window, window},
                                       {QPalette::WindowText, text},
                                       {QPalette::Base, base},
                                       {QPalette::AlternateBase, window},
                                       {QPalette::Text, text},
                                       {QPalette::Button, window},
                                       {QPalette::ButtonText, text},
                                       {QPalette::ToolTipBase, base},
                                       {QPalette::ToolTipText, text},
                                       {QPalette::Highlight, QColor(42, 100, 180)},
                                       {QPalette::HighlightedText, Qt::white}}) {
        dark.setColor(role, colour);
    }
    return dark;
}

bool save(QWidget& window, const QString& folder, const char* name) {
    QApplication::processEvents();
    const QString path = folder + "/" + QLatin1String(name);
    const bool ok = window.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    for (const QString& cut : cutTexts(window)) { // told, for the documentation to show texts whole
        std::fprintf(stderr, "%s: text cut: %s\n", name, qPrintable(cut));
    }
    return ok;
}

// Opens and computes the sample at the default options, then renders the GRAPHS view.
bool saveGraphsOnly(MainWindow& window, const QString& folder, const char* name) {
    Workflow& flow = window.workflow();
    flow.okClick();
    settle(flow);
    if (flow.state() == FlowState::Options) {
        flow.okClick();
        settle(flow);
    }
    if (flow.noResults()) {
        std::fprintf(stderr, "the run gave no results\n");
        return false;
    }
    flow.showView(GraphsTab);
    return save(window, folder, name);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 2 && argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: app_screenshots OUTDIR [SAMPLE GIGINDEX TYPEINDEX [GRAPHSNAME]]\n");
        return 2;
    }
    const QByteArray graphsOnly = argc == 6 ? QByteArray(argv[5]) : QByteArray();
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString source =
        argc >= 5 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(EXAMPLES_DIR "/mediterranean.txt");
    const int gig = argc >= 5 ? QString::fromLocal8Bit(argv[3]).toInt() : Mediterranean;
    const int type = argc >= 5 ? QString::fromLocal8Bit(argv[4]).toInt() : 0;
    QTemporaryDir work;
    const QString sample = work.path() + "/" + QFileInfo(source).fileName();
    if (!QDir().mkpath(out) || !QFile::copy(source, sample)) {
        std::fprintf(stderr, "cannot read %s or create %s\n", qPrintable(source), qPrintable(out));
        return 1;
    }

    std::unique_ptr<TaxaDatabase> taxa;
    try {
        taxa = std::make_unique<TaxaDatabase>(TaxaDatabase::open(TAXA_DB_PATH));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    ScriptedDialogs dialogs(sample);
    MainWindow window(*taxa, &dialogs);
    const Twips twips = Twips::of(window);
    window.resize(twips.px(QSize(initialWindowWidth, initialWindowHeight)));
    window.show();

    Workflow& flow = window.workflow();
    flow.useTaxaMap(work.path() + "/taxa-map.tsv"); // the user's own map takes no part
    flow.gigClick(gig);
    flow.riverTypeClick(type);
    if (!graphsOnly.isEmpty()) {
        return saveGraphsOnly(window, out, graphsOnly.constData()) ? 0 : 1;
    }
    bool ok = save(window, out, "start.png");

    // The metrics of a GIG, shown while the right button is held on its option.
    flow.gigMouseDown(CentralBaltic, true);
    ok = save(window, out, "metrics.png") && ok;
    flow.gigMouseUp();
    // START and the metrics at one and a half times the font in a window of 800 x 600: the
    // long river-type captions take two lines, the metrics keep above the file buttons.
    const QFont startFont = QApplication::font();
    QFont largeStart = startFont;
    largeStart.setPointSizeF(startFont.pointSizeF() * 1.5);
    QApplication::setFont(largeStart);
    window.resize(800, 600);
    ok = save(window, out, "start-font150.png") && ok;
    flow.gigMouseDown(gig, true);
    ok = save(window, out, "metrics-font150.png") && ok;
    flow.gigMouseUp();
    QApplication::setFont(startFont);
    window.resize(twips.px(QSize(initialWindowWidth, initialWindowHeight)));

    flow.okClick();
    settle(flow);
    if (flow.state() == FlowState::Options) {
        // The first test variable is a biological quality ratio: observed minimum, and
        // the reference samples' value as its upper end.
        window.findChild<QCheckBox*>("observedMinBox_1")->click();
        window.findChild<QCheckBox*>("biologicalBox_1")->click();
        ok = save(window, out, "options.png") && ok;
        flow.okClick();
        settle(flow);
    }
    if (flow.noResults()) {
        std::fprintf(stderr, "the run gave no results\n");
        return 1;
    }
    ok = save(window, out, "results.png") && ok;
    flow.showView(GraphsTab);
    ok = save(window, out, "graphs.png") && ok;
    // A window taller than wide: the plot is too, and its y labels still mark their values.
    window.resize(twips.px(QSize(minimumWindowWidth, tallWindowHeight)));
    ok = save(window, out, "graphs-tall.png") && ok;
    // The desktop's font one and a half times as large, in a window of 800 x 600: every
    // caption and button still shows its whole text.
    const QFont font = QApplication::font();
    QFont large = font;
    large.setPointSizeF(font.pointSizeF() * 1.5);
    QApplication::setFont(large);
    window.resize(800, 600);
    flow.showView(ResultsTab);
    ok = save(window, out, "results-font150.png") && ok;
    flow.showView(GraphsTab);
    ok = save(window, out, "graphs-font150.png") && ok;
    QApplication::setFont(font);
    window.resize(twips.px(QSize(initialWindowWidth, initialWindowHeight)));

    // The question about an unknown name, with the family it suggests.
    TaxonDialog& question = window.taxonDialog();
    const std::string unknown = "HEPTAGENIDAE";
    question.prepare({unknown, suggestFamily(*taxa, unknown, false), nullptr});
    question.show();
    ok = save(question, out, "taxa.png") && ok;
    // A name that differs from a family only by the blank after it, which the dialog shows.
    const std::string blank = "BAETIDAE ";
    question.prepare({blank, suggestFamily(*taxa, blank, false), nullptr, false, {15, 1, 1}});
    ok = save(question, out, "taxa-blank.png") && ok;
    question.hide();

    InfoWindow info(&window);
    info.prepareOnRequest();
    info.showPage(3);
    info.show();
    ok = save(info, out, "info.png") && ok;
    info.hide();

    // The taxa map in the program's own editor: a name that ends in a blank shows it.
    const QString map = work.path() + "/taxa-map.tsv";
    QFile mapFile(map);
    if (mapFile.open(QIODevice::WriteOnly)) {
        mapFile.write("# Your answers to taxon names that the taxa database does not know.\n"
                      "BAETIDAE \tBAETIDAE\nHEPTAGENIDAE\tHEPTAGENIIDAE\nCHIRONOMIDAE LARVAE\tCHIRONOMIDAE\n"
                      "PLASTIC\tIGNORE\n");
        mapFile.close();
    }
    TaxaMapEditor editor(*taxa, map, &window);
    editor.show();
    ok = save(editor, out, "taxa-map.png") && ok;
    editor.hide();

    // A dark desktop theme: every surface the program paints follows it.
    QApplication::setPalette(darkPalette());
    flow.showView(ResultsTab);
    ok = save(window, out, "results-dark.png") && ok;
    flow.showView(GraphsTab);
    ok = save(window, out, "graphs-dark.png") && ok;
    return ok ? 0 : 1;
}
