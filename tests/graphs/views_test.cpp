#include "base/text.h"
#include "graphs/classhistogram.h"
#include "graphs/colourscheme.h"
#include "graphs/graphsview.h"
#include "graphs/histogrambars.h"
#include "graphs/plotexport.h"
#include "graphs/resultslist.h"
#include "graphs/sampleinfolabel.h"
#include "graphs/scatterplot.h"
#include "input/samplereader.h"
#include "support/taxa.h"
#include "support/testsupport.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <map>
#include <sstream>

using namespace torrentix;

namespace {

// Samples "1" .. "20" named "Site 1" ..: test variables with 3, 20 and 8 numeric values. The
// STAR_ICMi runs from -1.2 to 10.25 (it sorts differently as text and as numbers), or is
// constant when asked (its regressions then fail); the GIG ICMi rises. The default plot
// pair is the STAR_ICMi against test variable 2.
RunResult twentySampleRun(bool constantStar = false) {
    RunResult run;
    run.table.testVariableNames = {"Var1", "Var2", "Var3"};
    run.table.numericTestValueCounts = {3, 20, 8};
    std::vector<std::string> x; // test variable 2
    for (int i = 0; i < 20; ++i) {
        const std::string n = std::to_string(i + 1), v1 = i < 3 ? std::to_string(0.1 * i) : "N/A";
        const std::string v3 = i < 8 ? std::to_string(1.0 - 0.1 * i) : "N/A";
        run.table.samples.push_back({n, "Site " + n, i % 7, {v1, std::to_string(0.05 * i), v3}, {}});
        run.indices.staricm.push_back(constantStar ? 0.5 : 0.6 * (i - 2) + (i % 3) * 0.05);
        run.indices.gigicm.push_back(0.2 + 0.04 * i + (i % 2) * 0.05);
        x.push_back(run.table.samples.back().testValueTexts[1]);
    }
    run.starRegressions[1] = fitLine(x, run.indices.staricm);
    return run;
}

struct ShownView : GraphsView {
    explicit ShownView(const RunResult& run) {
        resize(906, 574);
        fileRead(Mediterranean, 0, "/data/rivers.txt");
        setResults(std::make_shared<const RunResult>(run));
        show();
        enter();
    }
    ScatterPlot* plot() const { return findChild<ScatterPlot*>(); }
    QString text(const char* label) const { return findChild<QLabel*>(label)->text(); }
    QPushButton* button(const char* name) const { return findChild<QPushButton*>(name); }
    QString bold() const { // the active index and test variable, in bold and checked for screen readers
        QString names;
        for (QPushButton* b : findChildren<QPushButton*>()) {
            const bool checked = QAccessible::queryAccessibleInterface(b)->state().checked;
            EXPECT_EQ(b->font().bold(), checked) << b->objectName().toStdString();
            names += checked ? b->objectName() + " " : "";
        }
        return names;
    }
};

// The contrast of a text drawn in this part of an image: of its most frequent colour (the
// background) against the colour that stands out most from it (the letters' full strokes).
double renderedContrast(const QImage& image, const QRect& part) {
    std::map<QRgb, int> counts;
    for (int y = part.top(); y <= part.bottom(); ++y) {
        for (int x = part.left(); x <= part.right(); ++x) {
            ++counts[image.pixel(x, y)];
        }
    }
    const auto background = std::max_element(counts.begin(), counts.end(), [](auto a, auto b) {
                                return a.second < b.second;
                            })->first;
    double contrast = 1.0;
    for (const auto& [colour, count] : counts) {
        contrast = std::max(contrast, contrastRatio(QColor(colour), QColor(background)));
    }
    return contrast;
}

QPalette darkPalette() {
    QPalette dark(QColor(45, 45, 45)); // a dark button colour: the rest derived from it
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    return dark;
}

} // namespace

// Under a dark desktop palette every text that the views paint themselves reads clearly
// on its background: the plot's labels and titles, the histogram's labels and counts, the
// view buttons' captions.
TEST(Views, TextsKeepTheirContrastUnderADarkPalette) {
    ASSERT_TRUE(isDarkPalette(darkPalette()));
    ShownView v(twentySampleRun());
    v.setPalette(darkPalette());
    const QImage plot = v.plot()->grab().toImage();
    const PlotScene scene = buildPlotScene(v.plot()->input(), QSizeF(v.plot()->size()));
    std::vector<QRectF> texts = {scene.xTitle->rect, scene.yTitle->rect};
    for (const PlotText& label : scene.xLabels) {
        texts.push_back(label.rect);
    }
    for (const QRectF& text : texts) {
        EXPECT_GE(renderedContrast(plot, text.toRect()), 4.5) << text.x() << " " << text.y();
    }
    ClassHistogram histogram;
    histogram.setPalette(darkPalette());
    histogram.setClassCounts({5, 3, 0, 0, 0, 2, 0}, 10);
    histogram.resize(histogram.sizeHint() * 2);
    const QImage bars = histogram.grab().toImage();
    for (const QLabel* label : histogram.findChildren<QLabel*>()) {
        EXPECT_GE(renderedContrast(bars, label->geometry()), 4.5) << label->text().toStdString();
    }
    const auto counts = histogramCountRects(histogram.bars(), QSizeF(histogram.size()), 10.0);
    EXPECT_GE(renderedContrast(bars, counts[2].toRect()), 4.5); // a count beside an empty class
    for (int tab = 0; tab < 3; ++tab) {
        for (const bool active : {false, true}) {
            QPushButton button("RESULTS");
            button.setPalette(darkPalette());
            button.setStyleSheet(tabStyleSheet(screenColours(button.palette()), tab, active));
            button.resize(120, 36);
            EXPECT_GE(renderedContrast(button.grab().toImage(), QRect(20, 8, 80, 20)), 4.5) << tab << active;
        }
    }
}

TEST(GraphsView, PlotsTheChosenPairAndRegressesOnlyOnAChange) {
    RunResult run = twentySampleRun(true);
    run.table.testVariableNames = {"Cond", "N&P", "Var3"};
    ShownView v(run);
    QSignalSpy failures(&v, &GraphsView::regressionFailed);
    EXPECT_TRUE(!v.button("testVariableButton_1")->isEnabled() && v.button("cmdsave")->isVisible() &&
                v.button("cmdsave")->isEnabled());       // 3 values are too few; the plot can be saved
    EXPECT_EQ(v.button("indexButton_1")->text(), "Med"); // the GIG's short name
    EXPECT_EQ(v.button("testVariableButton_2")->text(), "N&&P"); // the ampersand shown as written
    // The first visit took the first test variable with six values. Then: the button clicked,
    // the test variable and index plotted, and the regressions failed so far (every one of
    // the constant STAR_ICMi fails); a click on the active button changes nothing.
    const std::tuple<const char*, std::size_t, int, int> steps[] = {
        {"indexButton_0", 1, 0, 0}, {"testVariableButton_2", 1, 0, 0}, {"testVariableButton_3", 2, 0, 1},
        {"indexButton_1", 2, 1, 1}, {"indexButton_1", 2, 1, 1},        {"indexButton_0", 2, 0, 2}};
    for (const auto& [button, testVariable, index, failed] : steps) {
        SCOPED_TRACE(button);
        v.button(button)->click();
        EXPECT_EQ(v.plot()->input().x[1], parseNumeric(run.table.samples[1].testValueTexts[testVariable]));
        EXPECT_EQ(v.plot()->input().y, index == 1 ? run.indices.gigicm : run.indices.staricm);
        EXPECT_EQ(failures.count(), failed);
        EXPECT_EQ(v.text("regressionText").isEmpty(), index == 0); // an equation only when it succeeded
        EXPECT_EQ(v.plot()->input().yTitle, index == 1 ? "Med_ICMi" : "STAR_ICMi");
        EXPECT_EQ(v.plot()->input().xTitle.toStdString(),
                  run.table.testVariableNames[testVariable] + " (normalised)");
        EXPECT_EQ(v.bold(),
                  QString("indexButton_%1 testVariableButton_%2 ").arg(index).arg(testVariable + 1));
    }
    EXPECT_EQ(v.plot()->input().caption, // of copied and saved figures
              QString::fromUtf8(
                  "rivers.txt \u00b7 Mediterranean \u00b7 R-M1 \u00b7 STAR_ICMi against Var3 (normalised)"));
    EXPECT_EQ(v.button("testVariableButton_1")->text(), "COND"); // upper-cased from the second drawing on
    v.enter();                                                   // a later visit keeps the choice
    EXPECT_EQ(v.bold(), "indexButton_0 testVariableButton_3 ");
    v.fileRead(Mediterranean, 0, "/data/rivers.txt"); // a new file chooses afresh
    v.setResults(std::make_shared<const RunResult>(run));
    v.enter();
    EXPECT_EQ(v.bold(), "indexButton_0 testVariableButton_2 ");
}

TEST(GraphsView, DrawsWithoutResultsRegressionOrUsableTestVariable) {
    GraphsView empty;
    empty.enter();
    QTest::mousePress(empty.findChild<ScatterPlot*>(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(empty.findChild<SampleInfoLabel*>()->text(), SampleInfoLabel::restingText);
    RunResult run = twentySampleRun();
    run.starRegressions[1].reset();
    EXPECT_TRUE(ShownView(run).text("regressionText").isEmpty());
    run.table.numericTestValueCounts = {5, 5, 5};
    ShownView none(run);
    QSignalSpy failures(&none, &GraphsView::regressionFailed);
    none.button("indexButton_1")->click();
    EXPECT_FALSE(none.plot()->input().usable || none.button("testVariableButton_2")->isEnabled() ||
                 none.button("cmdsave")->isEnabled() || failures.count() > 0);
    EXPECT_FALSE(empty.grab().isNull() || none.grab().isNull());
}

TEST(GraphsView, PressCountsTheSamplesUnderThePointerListsThoseThatFitAndCtrlReleaseCopiesAll) {
    RunResult run = twentySampleRun();
    for (std::size_t i = 4; i < 20; ++i) { // samples 3 and 5 to 20 lie on one spot
        run.table.samples[i].testValueTexts[1] = run.table.samples[2].testValueTexts[1];
        run.indices.staricm[i] = run.indices.staricm[2];
    }
    run.table.samples[2].code = "-3"; // copied as text
    ShownView v(run);
    const auto* sampleInfo = v.findChild<SampleInfoLabel*>();
    const QPoint onAll = v.plot()->currentScale().toPixel(0.1, run.indices.staricm[2]).toPoint();
    QApplication::clipboard()->setText("before");
    QTest::mousePress(v.plot(), Qt::LeftButton, {}, onAll);
    const QString shown = sampleInfo->text();
    const auto listed = shown.count("x: ");
    EXPECT_TRUE(shown.startsWith("17 samples under the pointer\n-3 - Site 3\n")) << shown.toStdString();
    EXPECT_TRUE(listed > 0 && shown.endsWith(QString("\u2026 and %1 more").arg(17 - listed))) << listed;
    EXPECT_LE(sampleInfo->heightForWidth(sampleInfo->width()), sampleInfo->height()); // nothing cut
    QTest::mouseRelease(v.plot(), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, onAll);
    EXPECT_EQ(sampleInfo->text(), SampleInfoLabel::restingText);
    QTest::mousePress(v.plot(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(sampleInfo->text(), SampleInfoLabel::noDataText);
    QTest::mouseRelease(v.plot(), Qt::LeftButton, Qt::ControlModifier, QPoint(2, 2));
    EXPECT_EQ(QApplication::clipboard()->text(), "before"); // neither Shift+Ctrl nor "no data" is copied
    QTest::mouseClick(v.plot(), Qt::LeftButton, Qt::ControlModifier, onAll);
    EXPECT_EQ(QApplication::clipboard()->text().count("x: "), 17); // every entry, not only those shown
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("'-3 - Site 3\n"));
    EXPECT_EQ(sampleInfo->text(), SampleInfoLabel::storedText);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sampleInfo->text() == SampleInfoLabel::restingText; }, 10000))
        << "waited 10 s for the resting hint";
}

// The plot takes the focus by click and by Tab; the arrow keys step through the samples and
// show each as a click on it does, the plot's accessible name and description telling the
// sample and its values, and screen readers told of each change; Ctrl+C copies the figure;
// Shift+F10 and the Menu key open the menu.
TEST(GraphsView, TheKeyboardStepsThroughTheSamplesCopiesTheFigureAndOpensTheMenu) {
    RunResult run = twentySampleRun();
    run.indices.staricm[0] = 11.0; // the first sample along x, the last along y
    ShownView v(run);
    QApplication::setActiveWindow(&v);
    v.button("cmdsave")->setFocus();
    QTest::keyClick(v.button("cmdsave"), Qt::Key_Backtab);
    EXPECT_TRUE(v.plot()->hasFocus());
    v.button("cmdsave")->setFocus();
    QTest::mouseClick(v.plot(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(v.plot()->hasFocus());
    const PlotInput& input = v.plot()->input();
    // Along x the samples run in their order (test variable 2 rises), along y so but sample 0.
    const std::tuple<Qt::Key, std::size_t> steps[] = {
        {Qt::Key_Right, 0}, {Qt::Key_Right, 1}, {Qt::Key_Left, 0},  {Qt::Key_Left, 0}, {Qt::Key_End, 19},
        {Qt::Key_Up, 0},    {Qt::Key_Down, 19}, {Qt::Key_Down, 18}, {Qt::Key_Home, 0}};
    std::vector<QAccessible::Event> told; // what screen readers hear of the plot
    v.plot()->setAccessibleUpdates(
        [&](QAccessibleEvent* e) { e->object() == v.plot() ? told.push_back(e->type()) : void(); });
    for (const auto& [key, sample] : steps) {
        told.clear();
        QTest::keyClick(v.plot(), key);
        ASSERT_EQ(v.plot()->currentSample(), sample) << key;
        EXPECT_EQ(told, (std::vector{QAccessible::NameChanged, QAccessible::DescriptionChanged})) << key;
        const QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(v.plot());
        const QString name = QStringLiteral("%1 - Site %1").arg(sample + 1),
                      x = QString::number(*input.x[sample], 'f', 2);
        EXPECT_EQ(heard->text(QAccessible::Name), "Scatter plot, " + name);
        EXPECT_THAT(heard->text(QAccessible::Description).toStdString(),
                    ::testing::StartsWith(QStringLiteral("%1: %2 %3, %4 %5")
                                              .arg(name, input.xTitle, x, input.yTitle,
                                                   QString::number(input.y[sample], 'f', 2))
                                              .toStdString()));
        const QString shown = v.text("sampleInfoLabel");
        const QPoint at = v.plot()->currentScale().toPixel(*input.x[sample], input.y[sample]).toPoint();
        QTest::mousePress(v.plot(), Qt::LeftButton, {}, at);
        EXPECT_EQ(shown, v.text("sampleInfoLabel")) << key; // as a click shows it
        QTest::mouseRelease(v.plot(), Qt::LeftButton, {}, at);
    }
    v.button("indexButton_1")->click(); // another figure: no sample of the last one is told
    EXPECT_EQ(QAccessible::queryAccessibleInterface(v.plot())->text(QAccessible::Name), "Scatter plot");
    const int before = v.button("cmdsave")->height();
    v.setFont(QFont(v.font().family(), 15));
    EXPECT_GT(v.button("cmdsave")->height(), before); // the buttons follow the font at once
    QApplication::clipboard()->clear();
    QTest::keyClick(v.plot(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->image().width(), exportImageWidth);
    for (const auto& [key, modifiers] :
         {std::pair(Qt::Key_F10, Qt::ShiftModifier), {Qt::Key_Menu, Qt::NoModifier}}) {
        QString opened;
        QTimer::singleShot(0, [&opened] {
            opened = QApplication::activePopupWidget()->objectName();
            QApplication::activePopupWidget()->close();
        });
        QTest::keyClick(v.plot(), key, modifiers);
        EXPECT_EQ(opened, "plotMenu") << key;
    }
}

TEST(ResultsList, SortsByTextShowsEveryTextWholeAndCtrlCCopiesTheSelectedRowsInTheirShownOrder) {
    RunResult run = twentySampleRun();
    run.table.samples[18].name = "Gew\xe4sser"; // Windows-1252
    run.table.samples[19].name = "=Site 20  ";  // shown as written but its padding, copied as text
    run.table.testVariableNames[1] = "-Var2";
    run.table.samples[7] = {"10-MED-2019-0001", "WWWWWWWWWWWWWWW", 4, {"not sampled", "0.3", "N/A"}, {}};
    ResultsList list;
    const auto shared = std::make_shared<const RunResult>(run);
    list.refresh(shared, Mediterranean);
    for (int c = 1; c < list.columnCount(); ++c) { // every header and cell fits its column
        EXPECT_GE(list.columnWidth(c), list.header()->sectionSizeHint(c)) << c;
        for (int r = 0; r < list.rowCount(); ++r) {
            EXPECT_GE(list.columnWidth(c), list.sizeHintForIndex(list.model()->index(r, c)).width()) << c;
        }
    }
    const auto column = [&list](int c) {
        QStringList texts;
        for (int r = 0; r < list.rowCount(); ++r) {
            texts << list.cellText(r, c);
        }
        return texts;
    };
    emit list.header()->sectionClicked(4), list.header()->sectionClicked(4); // sorted, then reversed
    QStringList text = column(4);
    std::sort(text.begin(), text.end(), std::greater<>());
    EXPECT_EQ(column(4), text);          // "9.60" before "10.25", "-1.20" before "-0.55"
    list.refresh(shared, Mediterranean); // a new run is listed in the order chosen last
    EXPECT_EQ(column(4), text);
    emit list.header()->sectionClicked(4); // back again
    std::reverse(text.begin(), text.end());
    EXPECT_EQ(column(4), text);
    emit list.header()->customContextMenuRequested({});             // the right button's menu:
    list.findChild<QMenu*>("sortmenu")->actions().at(2)->trigger(); // unsorted
    EXPECT_EQ(column(0).mid(0, 4), QStringList({"1", "10", "11", "12"}));
    list.sortRows(1, ResultsList::SortChoice::Descending);
    list.selectionModel()->select(list.model()->index(0, 1),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list.selectionModel()->select(list.model()->index(1, 1),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(list.cellText(0, 2), "=Site 20");
    EXPECT_EQ(QApplication::clipboard()->text(),
              QString::fromUtf8("CODE\tSAMPLE\tCLASS\tSTAR_ICMi\tMed_ICMi\tVar1\t'-Var2\tVar3\n"
                                "20.\t'=Site 20\t5\t10.25\t1.01\tN/A\t0.95\tN/A\n"
                                "19.\tGew\u00e4sser\t4\t9.60\t0.92\tN/A\t0.90\tN/A\n"));
    list.sortRows(1, ResultsList::SortChoice::Ascending); // the selection follows its samples
    QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().endsWith(
        QString::fromUtf8("19.\tGew\u00e4sser\t4\t9.60\t0.92\tN/A\t0.90\tN/A\n"
                          "20.\t'=Site 20\t5\t10.25\t1.01\tN/A\t0.95\tN/A\n")))
        << QApplication::clipboard()->text().toStdString();
}

// The list of the case file that the page's tests check too (tests/web): each line of the
// shared table names a column ("#": the hidden sample number), the sort applied before it to
// the rows as then shown, and the column's cells from the top row down.
TEST(ResultsList, ShowsAndSortsTheCaseFileAsTheSharedTableSays) {
    namespace support = torrentix::testing;
    support::TempDir dir;
    support::writeFile(dir.file("listforms.txt"), support::readFile(TEST_DATA_DIR "/listforms.txt"));
    RunOptions options;
    options.gig = Mediterranean;
    const auto read = readSampleFile(dir.file("listforms.txt"), support::realTaxa(), support::realTree(), {});
    ResultsList list;
    list.refresh(std::make_shared<const RunResult>(computeRun(read.table, support::realTaxa(), options, {})),
                 Mediterranean);
    const auto columnOf = [&list](const QString& header) {
        for (int c = 1; c < list.columnCount(); ++c) {
            if (list.headerText(c) == header) {
                return c;
            }
        }
        return 0; // "#"
    };
    std::istringstream table(support::readFile(TEST_DATA_DIR "/listforms_expected.tsv"));
    std::string line;
    std::getline(table, line); // the table's header
    while (std::getline(table, line)) {
        const QStringList cells = QString::fromStdString(line).split('\t');
        if (const QStringList sort = cells[1].split(' '); sort.size() == 2) {
            list.sortRows(columnOf(sort[0]), sort[1] == "ascending" ? ResultsList::SortChoice::Ascending
                                                                    : ResultsList::SortChoice::Descending);
        }
        QStringList shown;
        for (int r = 0; r < list.rowCount(); ++r) {
            shown << list.cellText(r, columnOf(cells[0]));
        }
        EXPECT_EQ(shown, cells.mid(2)) << line;
    }
}

TEST(ClassHistogram, BarsStandOnOneBaseUnderTheirCountsAndEveryClassLabelShowsWhole) {
    const QSizeF area(237.0, 118.5);
    const auto labels = histogramLabelRects(area);
    const std::pair<ClassCounts, int> cases[] = {
        {{5, 3, 0, 0, 0, 2, 0}, 10}, {{0, 0, 0, 0, 0, 0, 4}, 4}, {{1, 1, 1, 1, 1, 1, 1}, 7}, {{}, 0}};
    const double line = 12.0; // of the counts
    for (const auto& [counts, nsamp] : cases) {
        const auto bars = histogramBars(counts, nsamp, area, line);
        const auto numbers = histogramCountRects(bars, area, line);
        const double base = bars[0].bottom(); // the largest class reaches a line under the top edge
        const int largest = *std::max_element(counts.begin(), counts.end());
        for (std::size_t j = 0; nsamp > 0 && j < bars.size(); ++j) {
            EXPECT_NEAR(bars[j].height(), (base - line) * counts[j] / largest, 1e-9) << j;
            // The count stands on its bar, or at the top inside it when there is no room above,
            // inside the area and apart from its neighbours; bar and count over the label.
            EXPECT_EQ(numbers[j].bottom() == bars[j].top(), bars[j].top() >= line) << j;
            EXPECT_TRUE(bars[j].bottom() == base && base < labels[j].top() &&
                        QRectF(QPointF(), area).contains(numbers[j]) &&
                        (j == 0 || numbers[j].left() >= numbers[j - 1].right()) &&
                        bars[j].center().x() == labels[j].center().x() &&
                        numbers[j].center().x() == labels[j].center().x())
                << j;
        }
        EXPECT_EQ(bars[6].isNull() && numbers[6].isNull(), nsamp == 0); // no sample, no bar
    }
    ClassHistogram histogram;
    histogram.setClassCounts({1, 0, 0, 0, 0, 0, 0}, 1); // a count inside its bar, the others on theirs
    histogram.show();
    histogram.setClassCounts({5, 3, 0, 0, 0, 2, 0}, 10); // screen readers hear the counts
    EXPECT_EQ(histogram.findChild<QLabel*>("classCountLabel_5")->accessibleName(), "Bad");
    EXPECT_EQ(histogram.findChild<QLabel*>("classCountLabel_5")->accessibleDescription(), "2 of 10 samples");
    EXPECT_TRUE(histogram.accessibleDescription().startsWith("Reference: 5 of 10 samples; High: 3 of 10"));
    // The designed size, and the sizes in the narrowest and in the first window.
    for (const QSize size : {histogram.sizeHint(), QSize(158, 146), QSize(244, 146)}) {
        histogram.resize(size);
        EXPECT_FALSE(histogram.grab().isNull());
        for (const QLabel* label : histogram.findChildren<QLabel*>()) {
            const QFontMetrics metrics(label->font());
            EXPECT_TRUE(metrics.horizontalAdvance(label->text()) <= label->width() &&
                        metrics.height() <= label->height())
                << label->text().toStdString();
        }
    }
}
