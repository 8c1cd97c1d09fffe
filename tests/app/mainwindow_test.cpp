// The main window, driven through its controls as a user would.
#include "app/mainwindow.h"

#include "app/layout.h"
#include "app/taxondialog.h"
#include "app/workflow.h"
#include "apptestsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace torrentix {
namespace {

using testing::classList;
using testing::FakeDialogs;
using testing::SampleContent;
using testing::testTaxa;
using testing::writeSample;

class MainWindowTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    FakeDialogs dialogs;
    MainWindow window{testTaxa(), &dialogs};

    void SetUp() override { window.show(); }

    template <class T = QWidget> T* control(const QString& name) {
        T* found = window.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    bool shown(const QString& name) { return control(name)->isVisible(); }
    // Clicks an option on its round indicator, where a click always counts.
    void clickOption(const QString& name) {
        QWidget* option = control(name);
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    }
    void click(const QString& name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    void choose(int gig, int type) {
        clickOption(QStringLiteral("Opt_GIG_%1").arg(gig));
        clickOption(QStringLiteral("Option1_%1").arg(type));
    }
    QString sample(std::array<int, 3> numeric, std::vector<std::string> extraFamilies = {}) {
        SampleContent content;
        content.classes = classList(8, 2, 4, 3, 2, 1);
        content.numericTests = numeric;
        for (auto& f : extraFamilies) {
            content.families.push_back(f);
        }
        return writeSample(dir.path(), "sites.txt", content);
    }
};

TEST_F(MainWindowTest, ControlsCarryTheirNames) {
    EXPECT_EQ(window.objectName(), "Form1");
    EXPECT_TRUE(window.windowTitle().startsWith("  Torrentix 1.2.7 beta  -  "));
    const QStringList names = {"frame_gig", "Frame_res", "frame_gra",   "Picturewait", "Picture1",
                               "Picture2",  "Label3",    "Command1",    "Command2",    "frame_metr",
                               "lbl_metr",  "Frame_var", "lbl_gigtype", "lblres",      "istopic",
                               "lv1",       "cmdhelp",   "ProgressBar1"};
    for (const QString& name : names) {
        control(name);
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(control<QPushButton>(QStringLiteral("cmdtab_%1").arg(i))->text(),
                  QStringList({"START", "RESULTS", "GRAPHS"})[i]);
        for (const char* row : {"Label2", "chk_observed", "testmin", "chk_ismetric"}) {
            control(QStringLiteral("%1_%2").arg(QLatin1String(row)).arg(i + 1));
        }
    }
    for (int g = 0; g < 5; ++g) {
        EXPECT_EQ(control(QStringLiteral("Opt_GIG_%1").arg(g))->toolTip(), Workflow::gigTooltip(g));
    }
    for (int t = 0; t < 8; ++t) {
        control(QStringLiteral("Option1_%1").arg(t));
    }
}

TEST_F(MainWindowTest, StartViewFollowsTheChoices) {
    EXPECT_TRUE(shown("frame_gig"));
    EXPECT_FALSE(shown("Frame_res"));
    EXPECT_FALSE(shown("frame_gra"));
    EXPECT_FALSE(shown("Picture1"));
    EXPECT_FALSE(shown("Command2"));
    EXPECT_FALSE(shown("frame_metr"));
    EXPECT_FALSE(shown("Picturewait"));
    EXPECT_EQ(control<QLabel>("Label3")->text(), "Choose a GIG.....");
    EXPECT_FALSE(control("Command1")->isEnabled());

    clickOption("Opt_GIG_4");
    EXPECT_TRUE(control<QRadioButton>("Opt_GIG_4")->isChecked());
    EXPECT_EQ(control<QLabel>("Label3")->text(), "Choose a River Type.....");
    for (int t = 0; t < 8; ++t) {
        EXPECT_TRUE(shown(QStringLiteral("Option1_%1").arg(t)));
    }
    clickOption("Option1_7");
    EXPECT_EQ(control<QLabel>("lbl_gigtype")->text(), "R-N8");
    EXPECT_TRUE(control("Command1")->isEnabled());
    EXPECT_EQ(control<QLabel>("Label3")->text(), "Press OK to open a file");

    clickOption("Opt_GIG_0");
    EXPECT_EQ(control<QRadioButton>("Option1_0")->text(), "R-A1 (small to medium high altitude calcareous)");
    EXPECT_TRUE(shown("Option1_1"));
    EXPECT_FALSE(shown("Option1_2"));
    EXPECT_FALSE(shown("Option1_7"));
    EXPECT_FALSE(control<QRadioButton>("Option1_0")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Option1_1")->isChecked());
    EXPECT_FALSE(control("Command1")->isEnabled());
    EXPECT_EQ(control<QLabel>("lbl_gigtype")->text(), "R-N8");
}

TEST_F(MainWindowTest, RightButtonShowsTheMetricsOfAGig) {
    QWidget* option = control("Opt_GIG_2");
    QTest::mousePress(option, Qt::RightButton, {}, QPoint(6, option->height() / 2));
    EXPECT_TRUE(shown("frame_metr"));
    EXPECT_FALSE(shown("Frame_var"));
    EXPECT_EQ(control<QGroupBox>("frame_metr")->title(), "Eastern continental GIG metrics");
    QLabel* label = control<QLabel>("lbl_metr");
    EXPECT_TRUE(label->text().startsWith("1. ASPT: AverageScorePerTaxon (weight: 0.25)"));
    const Twips twips = Twips::of(window);
    EXPECT_EQ(control("frame_metr")->height(), label->height() + twips.px(800));
    EXPECT_EQ(label->width(), control("frame_metr")->width() - twips.px(345));
    EXPECT_FALSE(control<QRadioButton>("Opt_GIG_2")->isChecked());
    QTest::mouseRelease(option, Qt::RightButton, {}, QPoint(6, option->height() / 2));
    EXPECT_FALSE(shown("frame_metr"));
    EXPECT_FALSE(control<QRadioButton>("Opt_GIG_2")->isChecked());
}

TEST_F(MainWindowTest, OptionsStepAndRunThroughTheControls) {
    choose(3, 0);
    dialogs.openAnswers = {sample({12, 5, 0})};
    click("Command1");
    ASSERT_EQ(window.workflow().wfstep(), 2) << dialogs.messages.join(" | ").toStdString();
    EXPECT_FALSE(shown("Picture2"));
    EXPECT_FALSE(shown("Picture1"));
    EXPECT_TRUE(shown("frame_metr"));
    EXPECT_TRUE(shown("Frame_var"));
    EXPECT_FALSE(shown("lbl_metr"));
    EXPECT_TRUE(shown("Command2"));
    EXPECT_EQ(control<QGroupBox>("frame_metr")->title(), "Test variables (file:sites.txt)");
    EXPECT_EQ(control<QLabel>("Label2_1")->text(), "Altitude");
    EXPECT_TRUE(control("testmin_1")->isEnabled());
    EXPECT_FALSE(control("testmin_2")->isEnabled());
    EXPECT_FALSE(control("chk_ismetric_2")->isEnabled());
    EXPECT_FALSE(control("Label2_2")->isEnabled());
    EXPECT_TRUE(control("chk_observed_2")->isEnabled());

    QLineEdit* min = control<QLineEdit>("testmin_1");
    QTest::keyClicks(min, "x");
    EXPECT_EQ(min->text(), "0");
    min->selectAll();
    QTest::keyClicks(min, "25");
    EXPECT_EQ(min->text(), "25");
    click("chk_observed_1");
    EXPECT_EQ(min->text(), "");
    EXPECT_FALSE(min->isEnabled());
    click("chk_observed_1");
    EXPECT_EQ(min->text(), "0");
    EXPECT_TRUE(min->isEnabled());
    click("chk_ismetric_1");

    click("Command1");
    EXPECT_TRUE(shown("Frame_res")) << dialogs.messages.join(" | ").toStdString();
    EXPECT_FALSE(shown("frame_gig"));
    EXPECT_FALSE(shown("Picturewait"));
    EXPECT_TRUE(control("cmdtab_1")->hasFocus() || !window.isActiveWindow());
    const QString report = control<QPlainTextEdit>("lblres")->toPlainText();
    EXPECT_TRUE(report.startsWith("  REPORT:\n\n  file location: "));
    EXPECT_TRUE(report.endsWith(
        "  Altitude (min value=0, bio).\n  Var2 absent or values<12\n  Var3 absent or values<12"));
    EXPECT_EQ(control<QProgressBar>("ProgressBar1")->value(), 1000);

    click("cmdtab_2");
    EXPECT_TRUE(shown("frame_gra"));
    EXPECT_FALSE(shown("Frame_res"));
    click("cmdtab_0");
    EXPECT_TRUE(shown("frame_gig"));
    EXPECT_EQ(control<QLabel>("Label3")->text(), "Press OK to open a file");
}

TEST_F(MainWindowTest, TabsBeforeResultsKeepStart) {
    click("cmdtab_1");
    EXPECT_TRUE(shown("frame_gig"));
    EXPECT_FALSE(shown("Frame_res"));
    click("cmdtab_2");
    EXPECT_TRUE(shown("frame_gig"));
    EXPECT_FALSE(shown("frame_gra"));
}

TEST_F(MainWindowTest, BackButtonReturnsToTheChoices) {
    choose(0, 1);
    dialogs.openAnswers = {sample({8, 8, 8})};
    click("Command1");
    ASSERT_TRUE(shown("Command2"));
    click("Command2");
    EXPECT_FALSE(shown("Command2"));
    EXPECT_FALSE(shown("frame_metr"));
    EXPECT_TRUE(shown("Picture2"));
    EXPECT_TRUE(shown("Picture1"));
    click("Command1");
    EXPECT_EQ(dialogs.openTitles.size(), 2);
}

// Clicks a button of the unknown-taxon dialog once it shows.
void answerTaxonDialog(TaxonDialog& dialog, const QString& button) {
    QTimer::singleShot(20, &dialog, [&dialog, button] {
        if (!dialog.isVisible()) {
            answerTaxonDialog(dialog, button);
            return;
        }
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    });
}

TEST_F(MainWindowTest, UnknownTaxonDialogAnswersTheReader) {
    choose(1, 0);
    const QString path = sample({0, 0, 0}, {"HEPTAGENIIDAX"});
    dialogs.openAnswers = {path};
    answerTaxonDialog(window.taxonDialog(), "cmdok");
    click("Command1");
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_EQ(dialogs.messages.front(),
              "The corrected file has been saved as " + dir.path() + "/sites_adj.txt");
    EXPECT_FALSE(window.workflow().noresults());
    EXPECT_TRUE(testing::readText(dir.path() + "/sites_adj.txt").contains("\tHEPTAGENIIDAE\t"));

    dialogs.messages.clear();
    click("cmdtab_0");
    dialogs.openAnswers = {path};
    answerTaxonDialog(window.taxonDialog(), "cmdabort");
    click("Command1");
    EXPECT_EQ(dialogs.messages, QStringList{"Process aborted by the user."});
}

TEST_F(MainWindowTest, InformationWindowAtStartAndOnRequest) {
    window.load();
    EXPECT_EQ(dialogs.informationShown, std::vector<bool>{true});
    EXPECT_FALSE(window.workflow().startup());
    click("cmdhelp");
    EXPECT_EQ(dialogs.informationShown, (std::vector<bool>{true, false}));
}

TEST_F(MainWindowTest, WindowKeepsItsMinimumAndProportions) {
    const Twips twips = Twips::of(window);
    EXPECT_EQ(window.minimumSize(), twips.px(QSize(minimumWindowWidth, minimumWindowHeight)));
    window.resize(twips.px(QSize(20000, 10000)));
    QApplication::processEvents();
    const QSize client = twips.twips(window.centralWidget()->size());
    const QWidget* panel = control("frame_gig");
    EXPECT_NEAR(twips.twips(panel->width()), client.width() - 1500, 15);
    EXPECT_NEAR(twips.twips(panel->height()), client.height() - 980, 15);
    const QWidget* list = control("lv1");
    EXPECT_NEAR(twips.twips(list->width()), 8345, 15); // 0.705 of the panel is more than the largest share
    const QWidget* report = control("lblres");
    EXPECT_NEAR(twips.twips(report->x() + report->width()), client.width() - 1500 - 100, 30);
    const QWidget* prompt = control("Label3");
    EXPECT_NEAR(twips.twips(prompt->mapTo(window.centralWidget(), QPoint(0, 0)).y()), client.height() - 1515,
                30);
}

} // namespace
} // namespace torrentix
