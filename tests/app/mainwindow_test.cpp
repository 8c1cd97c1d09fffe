// The main window, driven through its controls as a user would.
#include "app/mainwindow.h"

#include "app/cuttexts.h"
#include "app/layout.h"
#include "app/taxondialog.h"
#include "app/workflow.h"
#include "apptestsupport.h"
#include "graphs/colourscheme.h"
#include "graphs/resultslist.h"
#include "metrics/catalogue.h"
#include "support/taxa.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

namespace torrentix {
namespace {

using namespace testing;

class MainWindowTest : public ::testing::Test {
  protected:
    TempDir dir;
    FakeDialogs dialogs;
    MainWindow window{realTaxa(), &dialogs};
    std::atomic<bool> declined_{false}; // the window stayed when asked to close

    static void SetUpTestSuite() { QStandardPaths::setTestModeEnabled(true); }
    void SetUp() override {
        window.workflow().useTaxaMap(QString::fromStdString(dir.file("taxa-map.tsv")));
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    std::string out() const { return dir.file("sites_OUT.txt"); }
    std::string told() const { return dialogs.messages.join(" | ").toStdString(); }
    QWidget* control(const QString& name) {
        QWidget* found = window.findChild<QWidget*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QVariant value(const QString& name, const char* property = "text") {
        return control(name)->property(property);
    }
    bool shown(const QString& name) { return control(name)->isVisible(); }
    void click(const QString& name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    // Clicks an option on its round indicator, where a click always counts.
    void clickOption(const QString& name) {
        QTest::mouseClick(control(name), Qt::LeftButton, {}, QPoint(6, control(name)->height() / 2));
    }
    // Chooses the GIG and river type, then "OK" with the sample file chosen in the open-file dialog.
    void chooseAndOpen(int gig, int type, const SampleFile& sample) {
        clickOption(QStringLiteral("gigOption_%1").arg(gig));
        clickOption(QStringLiteral("riverTypeOption_%1").arg(type));
        dialogs.openAnswers = {writeSites(dir, sample)};
        click("okButton");
        settle(window.workflow());
    }
    // "OK" (or another control), then the work it starts.
    void clickAndSettle(const QString& name) {
        click(name);
        settle(window.workflow());
    }
};

// A file read and computed through the controls: the options step, which takes the focus,
// where "Min Value" keeps every keystroke and is judged when left (a text that is not a
// number holds "OK" back) and a row without a usable test variable stays locked; the
// results file, the RESULTS view with the report and the list, which takes the focus, then
// GRAPHS and START.
TEST_F(MainWindowTest, RunThroughTheControls) {
    SampleFile sample = SampleFile::typical();
    chooseAndOpen(Mediterranean, 0, sample.emptyTestValuesFrom(2, 5));
    EXPECT_EQ(value("lbl_gigtype").toString(), ""); // no run on show yet
    ASSERT_TRUE(shown("testVariablesPanel") && !shown("metricScroll")) << told();
    EXPECT_TRUE(control("minValue_1")->hasFocus()); // the next thing to do
    EXPECT_EQ(value("testVariableLabel_1").toString(), "EQR");
    EXPECT_EQ(control("minValue_2")->accessibleName(), "Min Value of URBAN");
    for (const auto& [typed, kept, error] : {std::array<const char*, 3>{"abc", "abc", "not a number"},
                                             {"-3", "-3", ""},
                                             {"1e3", "1e3", ""},
                                             {"0,5", "0.5", ""}}) {
        control("minValue_2")->setFocus();
        QTest::keyClick(control("minValue_2"), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(control("minValue_2"), typed);
        EXPECT_EQ(value("minValue_2").toString(), typed);
        QTest::keyClick(control("minValue_2"), Qt::Key_Tab);
        EXPECT_EQ(value("minValue_2").toString() + value("minValueError_2").toString(),
                  QString(kept) + error);
        EXPECT_EQ(control("okButton")->isEnabled(), !*error) << typed;
    }
    click("observedMinBox_3");
    click("observedMinBox_3");
    EXPECT_FALSE(control("minValue_3")->isEnabled());
    click("observedMinBox_1");
    click("biologicalBox_1");
    QTest::keyClick(control("viewButton_0"), Qt::Key_Return); // Enter presses "OK"
    settle(window.workflow());
    EXPECT_TRUE(shown("resultsPanel")) << told();
    EXPECT_TRUE(control("resultsList")->hasFocus());
    EXPECT_FALSE(shown("waitPanel"));
    EXPECT_EQ(value("progressBar", "value").toInt(), 1000);
    EXPECT_THAT(
        value("reportLabel", "plainText").toString().toStdString(),
        Mentions("sites.txt", "R-M1", "14 samples", "EQR (min value=, bio)", "URBAN (min value=0.5)"));
    EXPECT_EQ(value("resultsList", "rowCount").toInt(), 14);
    EXPECT_EQ(value("lbl_gigtype").toString(), "R-M1");
    ASSERT_NE(window.workflow().results(), nullptr);
    EXPECT_EQ(readFile(out()), window.workflow().results()->resultsText);
    click("viewButton_2");
    EXPECT_TRUE(shown("graphsPanel"));
    EXPECT_TRUE(control("testVariableButton_1")->isEnabled());
    click("indexButton_1");
    EXPECT_TRUE(control("viewButton_2")->hasFocus());
    click("viewButton_0");
    EXPECT_TRUE(shown("frame_gig"));
    clickOption("gigOption_0"); // another GIG: no river type chosen
    EXPECT_FALSE(value("riverTypeOption_0", "checked").toBool());
    chooseAndOpen(Alpine, 1, SampleFile::typical()); // read, then back: the views keep the run
    click("backButton");
    EXPECT_EQ(value("indexButton_1").toString(), "Med");
    EXPECT_THAT(value("lbl_run", "toolTip").toString().toStdString(),
                HasSubstr("Mediterranean · R-M1\n(not computed yet: sites.txt · Alpine · R-A2)"));
    EXPECT_EQ(value("lbl_gigtype").toString(), "R-M1"); // the run on show, not the choice
    EXPECT_THAT(value("reportLabel", "plainText").toString().toStdString(), Not(HasSubstr("Alpine")));
    EXPECT_TRUE(shown("cmdagain"));
}

TEST_F(MainWindowTest, RightButtonHoldsTheMetricsOfAGig) {
    QWidget* option = control("gigOption_2");
    const QPoint dot(6, option->height() / 2);
    QTest::mousePress(option, Qt::RightButton, {}, dot);
    ASSERT_TRUE(shown("frame_metr"));
    EXPECT_THAT(value("frame_metr", "title").toString().toStdString(), HasSubstr("Eastern continental"));
    EXPECT_THAT(value("lbl_metr").toString().toStdString(), HasSubstr("TAXA_N"));
    EXPECT_EQ(control("lbl_metr")->height(), control("metricScroll")->height()); // whole, no scrolling
    EXPECT_TRUE(control("frame_metr")->rect().contains(control("metricScroll")->geometry()));
    QTest::mouseRelease(option, Qt::RightButton, {}, dot);
    EXPECT_FALSE(shown("frame_metr"));
    EXPECT_FALSE(value("gigOption_2", "checked").toBool());
}

// The window from the keyboard alone: Space on an option keeps the focus there; Shift+F10
// shows the metrics of a GIG, of each GIG the focus moves to (Tab and Shift+Tab never leave
// them), until Escape; Enter presses "OK" wherever the focus is; Shift+F10 sorts the results
// list by any column and opens the report's menu. Screen readers hear the names of the list,
// the report and the GIG and River Type groups, and no hidden column.
TEST_F(MainWindowTest, KeyboardAlone) {
    const auto key = [this](const QString& name, Qt::Key k, Qt::KeyboardModifiers m = {}) {
        control(name)->setFocus();
        QTest::keyClick(control(name), k, m);
    };
    key("gigOption_3", Qt::Key_Space);
    EXPECT_TRUE(control("gigOption_3")->hasFocus());
    key("gigOption_3", Qt::Key_F10, Qt::ShiftModifier);
    for (const Qt::Key k : {Qt::Key_Tab, Qt::Key_Backtab}) { // the focus stays among the GIG options
        key("gigOption_2", k, k == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_TRUE(control("gigOption_2")->hasFocus()) << k;
    }
    EXPECT_THAT(value("frame_metr", "title").toString().toStdString(), HasSubstr("Eastern continental"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(control("gigOption_3"))->text(QAccessible::Description),
              "Press mouse right button to view Mediterranean GIG metrics"
              " (or, from the keyboard, the Menu key or Shift+F10)");
    key("riverTypeOption_0", Qt::Key_Escape);
    EXPECT_FALSE(shown("frame_metr"));
    key("riverTypeOption_0", Qt::Key_Space);
    EXPECT_TRUE(control("riverTypeOption_0")->hasFocus());
    EXPECT_EQ(window.workflow().selectedType(), 0);
    dialogs.openAnswers = {writeSites(dir, SampleFile::typical())};
    key("riverTypeOption_0", Qt::Key_Return);
    settle(window.workflow());
    ASSERT_TRUE(shown("backButton"));
    key("backButton", Qt::Key_Enter, Qt::KeypadModifier);
    settle(window.workflow());
    ASSERT_TRUE(shown("resultsPanel")) << told();
    auto* list = window.findChild<ResultsList*>("resultsList");
    list->setCurrentIndex(list->model()->index(0, 2));
    key("resultsList", Qt::Key_F10, Qt::ShiftModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions().size(), 8);
    EXPECT_EQ(menu->activeAction()->text(), "Sort by SAMPLE");
    menu->activeAction()->menu()->actions().at(1)->trigger(); // descending
    menu->hide();
    EXPECT_GT(list->cellText(0, 2), list->cellText(13, 2));
    key("reportLabel", Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QApplication::activePopupWidget()->hide();
    const auto heard = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    // The report's text area, where the focus lands, bears the report's name.
    EXPECT_EQ(heard(control("reportLabel")) +
                  heard(qobject_cast<QAbstractScrollArea*>(control("reportLabel"))->viewport()) +
                  heard(control("Picture2")) + heard(control("Picture1")),
              "ReportReportGIGRiver Type");
    EXPECT_EQ(heard(list), "Results list");
    EXPECT_THAT(heard(control("lbl_run")).toStdString(), HasSubstr("Results shown: Results of sites.txt"));
    QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(list)->tableInterface();
    QStringList columns;
    for (int c = 0; c < table->columnCount(); ++c) {
        columns << table->columnDescription(c);
    }
    EXPECT_EQ(columns.join(' '), "Sample number CODE SAMPLE CLASS STAR_ICMi Med_ICMi EQR URBAN ALT");
}

// The unknown-taxon dialog answers the reader, which writes the corrected file. "Use the
// dictionary's family for all N remaining names" answers every later name the taxon
// dictionary knows, kept in the taxa map with "Remember this choice"; the others are asked.
TEST_F(MainWindowTest, DictionaryAnswersTheRemainingNames) {
    auto families = SampleFile::defaultFamilies();
    families.insert(families.end(), {"Ephemera danica", "HEPTAGENIIDAX", "Isoperla", "Elmis sp."});
    TaxonDialog& taxa = window.taxonDialog();
    QStringList seen;
    const auto tell = [&taxa, &seen](const char* name) {
        seen << taxa.findChild<QWidget*>(name)->property("text").toString();
    };
    whenShown(taxa, [&] {
        tell("lbl_place");
        tell("lbl_source");
        tell("cmddictionary");
        whenShown(taxa, [&] {
            tell("lbl_source");
            QTest::mouseClick(taxa.findChild<QWidget*>("cmdok"), Qt::LeftButton);
        });
        QTest::mouseClick(taxa.findChild<QWidget*>("chk_remember"), Qt::LeftButton, {}, QPoint(6, 6));
        QTest::mouseClick(taxa.findChild<QWidget*>("cmddictionary"), Qt::LeftButton);
    });
    chooseAndOpen(CentralBaltic, 0, SampleFile::typical(SampleFile::defaultClasses(), families));
    EXPECT_EQ(seen,
              QStringList({QString::fromUtf8("column 15 · 1 of 4 unknown names"),
                           QString::fromUtf8("taxon dictionary: Ephemera danica → EPHEMERIDAE"),
                           "Use the dictionary's family for all 3 remaining names",
                           QString::fromUtf8("leading letters: HEPTAGENIIDA → HEPTAGENIIDAE (a guess)")}));
    EXPECT_THAT(readFile(dir.file("taxa-map.tsv")),
                AllOf(HasSubstr("\nEPHEMERA DANICA\tEPHEMERIDAE\nISOPERLA\tPERLODIDAE\nELMIS SP.\tELMIDAE\n"),
                      Not(HasSubstr("HEPTAGENIIDAX"))));
    EXPECT_THAT(told(), HasSubstr(dir.file("sites_adj.txt")));
    EXPECT_THAT(readFile(dir.file("sites_adj.txt")), Not(HasSubstr("HEPTAGENIIDAX")));
}

// The genus- and species-level example through the window: "Use the dictionary's family for
// all 72 remaining names" answers every other name (Nematoda is a family), the report tells of the families
// counted as the ones they were split from, and the results are those of the family-named example.
TEST_F(MainWindowTest, GenusLevelExampleGivesTheFamilyExamplesResults) {
    const auto run = [&](const std::string& name) {
        const std::string copy = dir.file(name + ".txt");
        writeFile(copy, readFile(std::string(EXAMPLES_DIR) + "/" + name + ".txt"));
        clickOption(QStringLiteral("gigOption_%1").arg(Mediterranean));
        clickOption(QStringLiteral("riverTypeOption_0"));
        dialogs.openAnswers = {QString::fromStdString(copy)};
        clickAndSettle("okButton");
        clickAndSettle("okButton");
        const auto* results = window.workflow().results();
        EXPECT_NE(results, nullptr) << told();
        // Every metric of every sample is in its two indices (the results file's time may differ).
        using Indices = std::pair<std::vector<double>, std::vector<double>>;
        return results ? Indices{results->indices.staricm, results->indices.gigicm} : Indices{};
    };
    const auto families = run("mediterranean");
    TaxonDialog& taxa = window.taxonDialog();
    QString offered;
    whenShown(taxa, [&] {
        offered = taxa.findChild<QWidget*>("cmddictionary")->property("text").toString();
        QTest::mouseClick(taxa.findChild<QWidget*>("cmddictionary"), Qt::LeftButton);
    });
    const auto genera = run("mediterranean-genera");
    EXPECT_EQ(offered, "Use the dictionary's family for all 72 remaining names");
    EXPECT_THAT(value("reportLabel", "plainText").toString().toStdString(),
                HasSubstr("TATEIDAE as HYDROBIIDAE (column 12)"));
    EXPECT_EQ(genera, families);
    EXPECT_EQ(families.first.size(), 120u);
    EXPECT_THAT(readFile(dir.file("mediterranean-genera_taxa.tsv")),
                AllOf(::testing::StartsWith("# mode=asked taxa_map=none database="),
                      HasSubstr("\n12\tPotamopyrgus antipodarum\tTATEIDAE\ttaxon dictionary\tPotamopyrgus "
                                "antipodarum\tHYDROBIIDAE\n")));
}

// With "Confidence intervals" ticked the window waits for them, with their progress and
// Cancel, then shows them in the results list until their check box hides them. Cancel,
// or closing the window, drops them.
TEST_F(MainWindowTest, IntervalsThroughTheControls) {
    const auto* list = window.findChild<ResultsList*>("resultsList");
    for (const std::string stop : {"wait", "cmdcancel", "close"}) {
        SCOPED_TRACE(stop);
        chooseAndOpen(CentralBaltic, 0, SampleFile::typical());
        value("chk_intervals", "checked").toBool() || (clickOption("chk_intervals"), true);
        // As the intervals start, the wait shows; Cancel or closing comes at once.
        bool waitShown = false;
        const auto started = QObject::connect(&window.workflow(), &Workflow::intervalsStarted, &window, [&] {
            waitShown = shown("waitcancel") && window.workflow().computingIntervals();
            stop == "close" ? void(window.close()) : stop == "cmdcancel" ? click(stop.c_str()) : void();
        });
        QSignalSpy finished(&window.workflow(), &Workflow::intervalsFinished);
        clickAndSettle("okButton");
        QObject::disconnect(started);
        EXPECT_TRUE(waitShown) << told();
        waitUntil([&finished] { return !finished.isEmpty(); }, "the intervals to end");
        EXPECT_FALSE(shown("waitcancel") || window.workflow().computingIntervals());
        EXPECT_EQ(list->columnCount(), stop == "wait" ? 13 : 9);
        EXPECT_EQ(shown("chk_intervalcolumns"), stop == "wait");
        EXPECT_EQ(window.isVisible(), stop != "close");
        if (stop == "wait") {
            EXPECT_EQ(list->headerText(12), "Cen_hi");
            clickOption("chk_intervalcolumns");
            EXPECT_TRUE(list->isColumnHidden(12));
            click("viewButton_2");
            EXPECT_THAT(value("regressionText").toString().toStdString(), HasSubstr("95 % m: "));
            click("viewButton_0");
        }
    }
}

// The window opens inside the screen's free area (the offscreen screen: 800 x 600), with the
// information window, which opens again on request. At the system font and at one and a
// half times it, every caption, button and label of the START view (with the options of a
// file read), RESULTS and GRAPHS shows its whole text, uncovered. The desktop turned dark:
// the view buttons and the error texts follow.
TEST_F(MainWindowTest, OpensInsideTheScreenAndFollowsTheFontAndThePalette) {
    const QRect free = window.screen()->availableGeometry();
    EXPECT_TRUE(window.width() < free.width() && window.height() < free.height());
    EXPECT_TRUE(window.minimumWidth() <= window.width() && window.minimumHeight() <= window.height());
    window.load();
    click("cmdhelp");
    EXPECT_EQ(dialogs.informationShown, (std::vector<bool>{true, false}));
    const QFont system = QApplication::font();
    for (const double scale : {1.0, 1.5}) {
        QFont font = system;
        font.setPointSizeF(system.pointSizeF() * scale);
        QApplication::setFont(font);
        window.resize(800, 600);
        for (int g = 0; g < gigCount; ++g) { // its river types, then its metrics
            const QString option = QStringLiteral("gigOption_%1").arg(g);
            clickOption(option);
            QCoreApplication::processEvents(); // measured at the new font
            EXPECT_EQ(cutTexts(window).join(" | "), "") << "river types of GIG " << g << " at " << scale;
            for (int t = 0; t < maxRiverTypes; ++t) { // this GIG's captions, heard whole when broken
                const QString name = QStringLiteral("riverTypeOption_%1").arg(t);
                const QString caption = window.workflow().riverTypeCaption(t);
                EXPECT_EQ(value(name).toString().replace('\n', ' '), caption) << g;
                EXPECT_EQ(QAccessible::queryAccessibleInterface(control(name))->text(QAccessible::Name),
                          caption);
            }
            window.workflow().gigMouseDown(g, true);
            QCoreApplication::processEvents();
            EXPECT_EQ(cutTexts(window).join(" | "), "") << "GIG " << g << " at " << scale;
            const QWidget* metrics = control("lbl_metr"); // opens at its top, beside its scroll bar
            EXPECT_TRUE(metrics->y() == 0 && metrics->width() <= metrics->parentWidget()->width()) << g;
            QTest::keyClick(control(option), Qt::Key_PageDown); // scrolled on when longer than its room
            EXPECT_EQ(metrics->y() < 0, metrics->height() > metrics->parentWidget()->height()) << g;
            QTest::keyClick(control(option), Qt::Key_PageUp);
            EXPECT_EQ(metrics->y(), 0) << g;
            QTest::keyClick(control(option), Qt::Key_PageDown); // the next GIG's opens at its top
            window.workflow().gigMouseUp();
        }
        chooseAndOpen(Mediterranean, 0, SampleFile::typical());
        for (const char* next : {"okButton", "viewButton_2", "viewButton_0"}) {
            EXPECT_EQ(cutTexts(window).join(" | "), "") << "before " << next << " at " << scale;
            clickAndSettle(next);
        }
        EXPECT_FALSE(control("Picture2")->geometry().intersects(control("Picture1")->geometry())) << scale;
        for (const char* caption : {"lbl_title", "lbl_wait"}) { // bold, larger than the text they follow
            EXPECT_GT(control(caption)->font().pointSizeF(), window.font().pointSizeF())
                << caption << " at " << scale;
            EXPECT_TRUE(control(caption)->font().bold()) << caption;
        }
    }
    const qreal waitSize = control("lbl_wait")->font().pointSizeF();
    QApplication::setFont(system);
    QCoreApplication::processEvents();
    EXPECT_LT(control("lbl_wait")->font().pointSizeF(), waitSize); // and back with the text
    // The measure sees a cut group title and a wrapped label that lost its second line.
    QWidget narrow;
    QGroupBox frame("River Type of the results", &narrow);
    QLabel caption("Sample Classification", &narrow);
    const QFontMetrics fm = caption.fontMetrics();
    frame.setObjectName("frame"), caption.setObjectName("caption"), caption.setWordWrap(true), narrow.show();
    frame.resize(40, 60), caption.setGeometry(0, 70, fm.horizontalAdvance("Classification") + 4, fm.height());
    EXPECT_EQ(cutTexts(narrow).join(" | "),
              "frame \"River Type of the results\" | caption \"Sample Classification\"");
    const QString light = control("viewButton_0")->styleSheet();
    QPalette dark;
    dark.setColor(QPalette::Window, Qt::black);
    dark.setColor(QPalette::WindowText, Qt::white);
    window.setPalette(dark);
    EXPECT_NE(control("viewButton_0")->styleSheet(), light);
    EXPECT_EQ(control("minValueError_1")->palette().color(QPalette::WindowText),
              screenColours(dark).errorText);
}

// A run whose normalisation fails leaves the window as before it: the wait panel and
// the hourglass gone, the START view shown, and the window free to close.
TEST_F(MainWindowTest, FailedRunLeavesTheWindowReady) {
    chooseAndOpen(Alpine, 0, withEqualEqr());
    click("observedMinBox_1");
    clickAndSettle("okButton");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_FALSE(shown("waitPanel"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(shown("Picture2"));
    EXPECT_TRUE(window.close());
}

// While a run is computed the window answers: "Cancel" of the wait panel stops it and the
// results shown before come back; closing the window asks first, and stops the run on Yes.
TEST_F(MainWindowTest, CancelOrCloseDuringARun) {
    chooseAndOpen(CentralBaltic, 0, withoutTestVariables());
    ASSERT_NE(window.workflow().results(), nullptr) << told();
    const RunResult* before = window.workflow().results();
    // At the start of the metric passes the run waits until the window has acted on it.
    const auto duringRun = [this](std::function<void()> act) {
        window.workflow().onStage([this, act](WorkStage stage) {
            if (stage != WorkStage::Metrics) {
                return;
            }
            QMetaObject::invokeMethod(&window, act, Qt::QueuedConnection);
            QElapsedTimer waited;
            waited.start();
            while (!window.workflow().stopAsked() && !declined_) {
                if (waited.elapsed() > waitMilliseconds) {
                    ADD_FAILURE() << "waited " << waitMilliseconds / 1000
                                  << " s for the window to stop the run";
                    break;
                }
                QThread::msleep(1);
            }
        });
    };
    for (const bool closing : {false, true}) {
        SCOPED_TRACE(closing ? "close" : "Cancel");
        std::filesystem::remove(out());
        bool waitShown = false;
        duringRun([&] {
            waitShown = shown("waitPanel") && shown("cmdcancelrun") && !control("okButton")->isEnabled();
            closing ? void(window.close()) : click("cmdcancelrun");
        });
        dialogs.yesNoAnswers = {true};
        click("viewButton_0");
        chooseAndOpen(CentralBaltic, 0, withoutTestVariables());
        EXPECT_TRUE(waitShown);
        EXPECT_EQ(window.workflow().results(), before);
        EXPECT_FALSE(fileExists(out()));
        EXPECT_FALSE(shown("waitPanel"));
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(window.isVisible(), !closing);
        EXPECT_EQ(dialogs.questions.size(), closing ? 1 : 0);
        if (!closing) {
            click("viewButton_1");
            EXPECT_TRUE(shown("resultsPanel"));
            EXPECT_EQ(value("resultsList", "rowCount").toInt(), 14);
        }
    }
}

// Declining to close lets the run go on to its end.
TEST_F(MainWindowTest, DecliningToCloseLetsTheRunEnd) {
    window.workflow().onStage([this](WorkStage stage) {
        if (stage == WorkStage::Metrics) {
            QMetaObject::invokeMethod(
                &window, [this] { declined_ = !window.close(); }, Qt::BlockingQueuedConnection);
        }
    });
    dialogs.yesNoAnswers = {false};
    chooseAndOpen(CentralBaltic, 0, withoutTestVariables());
    EXPECT_TRUE(declined_);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(readFile(out()), window.workflow().results()->resultsText);
    EXPECT_EQ(dialogs.questions.filter("Stop it and close").size(), 1);
}

// The resize rules of the window, in twips: at every size, down to below the minimum,
// each area lies inside its window or view and in its place among the others, and a
// larger window never shrinks an area.
void expectInside(const QSize& outer, std::initializer_list<QRect> areas) {
    for (const QRect& area : areas) {
        EXPECT_TRUE(!area.isEmpty() && QRect(QPoint(0, 0), outer).contains(area))
            << area.x() << "," << area.y() << " " << area.width() << "x" << area.height();
    }
}

TEST(LayoutTest, AreasKeepInsideAndInOrderAndGrowWithTheWindow) {
    std::vector<QSize> before(4);
    for (const QSize size : {QSize(100, 100), QSize(10560, 6720), QSize(12000, 6000), QSize(13800, 9000),
                             QSize(15000, 12000), QSize(30000, 20000)}) {
        SCOPED_TRACE(::testing::Message() << size.width() << "x" << size.height());
        const QSize window = boundedWindowSize(size);
        EXPECT_TRUE(window.width() >= minimumWindowWidth && window.height() >= minimumWindowHeight);
        const WindowLayout w = windowLayout(size);
        expectInside(window,
                     {w.panel, w.tabs[0], w.tabs[1], w.tabs[2], w.title, w.gigtype, w.runLine, w.info});
        EXPECT_TRUE(w.panel.contains(w.wait));
        const WindowLayout large = windowLayout(size, 1.5); // text half as large again
        for (const auto area : {&WindowLayout::title, &WindowLayout::gigtype, &WindowLayout::info}) {
            EXPECT_GT((large.*area).height(), (w.*area).height());
        }
        EXPECT_TRUE(large.tabs[0].height() > w.tabs[0].height() && large.tabs[2].y() > w.tabs[2].y());
        const StartLayout s = startLayout(w.panel.size(), window.height(), w.panel.y());
        expectInside(w.panel.size(), {s.gigOptions, s.riverTypes, s.prompt, s.ok, s.back, s.recent,
                                      s.runAgain, s.taxaMap, s.intervals});
        const StartLayout largeStart = startLayout(large.panel.size(), window.height(), large.panel.y(), 1.5);
        EXPECT_LT(largeStart.riverTypes.bottom(), largeStart.recent.top()); // the options above the files
        const ResultsLayout r = resultsLayout(w.panel.size());
        expectInside(w.panel.size(),
                     {r.list, r.report, r.histogramCaption, r.histogram, r.exportTable, r.intervals});
        // Each area left of (or above) the other.
        const std::pair<QRect, QRect> across[] = {
            {w.tabs[2], w.panel}, {w.gigtype, w.runLine}, {w.runLine, w.info}, {s.taxaMap, s.recent},
            {s.prompt, s.back},   {s.back, s.ok},         {r.list, r.report},  {r.exportTable, r.intervals}};
        const std::pair<QRect, QRect> down[] = {{s.riverTypes, s.recent},
                                                {s.runAgain, s.ok},
                                                {r.list, r.exportTable},
                                                {r.report, r.histogramCaption},
                                                {r.histogramCaption, r.histogram}};
        for (const auto& [left, right] : across) {
            EXPECT_LT(left.right(), right.left());
        }
        for (const auto& [top, bottom] : down) {
            EXPECT_LT(top.bottom(), bottom.top());
        }
        const std::vector<QSize> now = {w.panel.size(), s.riverTypes.size(), r.list.size(), r.report.size()};
        for (std::size_t i = 0; i < now.size(); ++i) {
            EXPECT_TRUE(now[i].width() >= before[i].width() && now[i].height() >= before[i].height()) << i;
        }
        before = now;
    }
    EXPECT_EQ(Twips(0).px(1440), 96); // a screen without a DPI counts as 96
    // 1920 x 1080 at scale 2 leaves 960 x 540 logical pixels: the window fits, with its frame.
    for (const QSize screen : {QSize(960, 540), QSize(1920, 1080), QSize(640, 400)}) {
        const QSize first = initialWindowSize(Twips(96), screen);
        EXPECT_TRUE(first.width() < screen.width() && first.height() < screen.height() - 30)
            << screen.width();
        EXPECT_TRUE(minimumWindowSize(Twips(96), screen).boundedTo(first) ==
                    minimumWindowSize(Twips(96), screen));
    }
    EXPECT_EQ(initialWindowSize(Twips(96), QSize(1920, 1080)), QSize(920, 600)); // as designed
}

} // namespace
} // namespace torrentix
