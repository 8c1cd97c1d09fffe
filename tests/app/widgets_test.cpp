// The desktop program's own widgets: the unknown-taxon dialog, the information window
// and the report box.
#include "app/elidedlabel.h"
#include "app/infowindow.h"
#include "app/reportbox.h"
#include "app/taxamapeditor.h"
#include "app/taxondialog.h"

#include "apptestsupport.h"
#include "support/taxa.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeWidget>

namespace torrentix {
namespace {

using namespace testing;

// One dialog answers the questions in turn, each afresh: the group and family nodes
// clicked ("TAXA": the root) or a search typed ("?"), the family then shown, and a button,
// Enter, or the window closed (nullptr). "OK", the button Enter presses, waits for a family
// of the database (a disputed name has none chosen); where it waits the window is closed,
// which aborts. A group clicked after a family keeps the family's name with the group's
// key; the root changes nothing; a search that finds one family, even one named like its
// group, chooses it.
TEST(TaxonDialogTest, AnswersFollowTheChoiceAndTheButton) {
    const struct {
        const char* name;
        std::vector<std::string> clicks;
        const char* shown; // "OK" is enabled with a family shown
        const char* button;
        int key;
        const char* taxon; // nullptr: of no account
    } cases[] = {
        {"BAETIDAX", {}, "BAETIDAE", "Enter", 120, "BAETIDAE"},
        {"ZZZZZZZZ", {}, "", "cmdok", -1, ""},
        {"ZZZZZZZZ", {"F96", "G15", "TAXA"}, "GAMMARIDAE", "cmdok", 15, "GAMMARIDAE"},
        {"QQQQQQQQ", {"G15"}, "", "Enter", -1, ""},
        {"HYDROBIUS NOVUS", {}, "", "Enter", -1, ""},
        {"HYDROPSYCHIDAX", {}, "HYDROPSYCHIDAE", "cmdok", 167, "HYDROPSYCHIDAE"},
        {"BAETIDAX", {"F96"}, "GAMMARIDAE", "cmdignore", 0, ""},
        {"BAETIDAX", {}, "BAETIDAE", "cmdabort", -1, nullptr},
        {"BAETIDAX", {}, "BAETIDAE", nullptr, -1, nullptr},
        {"NEMATODX", {"?emato"}, "NEMATODA", "cmdok", 14, "NEMATODA"},
        {"ZZZZZZZZ", {"?IDAE"}, "", "cmdok", -1, ""},
    };
    TaxonDialog dialog(realTree(), realTaxa().records());
    auto* tree = dialog.findChild<QTreeWidget*>("taxaTree");
    const auto node = [&](const std::string& tag) { return dialog.itemOfTag(tag == "TAXA" ? "" : tag); };
    EXPECT_EQ(node("F120")->parent()->text(0), "EPHEMEROPTERA");
    EXPECT_EQ(node("F120")->parent()->parent(), node("TAXA"));
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.name << " " << (c.button ? c.button : "closed"));
        QString shown, heard;
        whenShown(dialog, [&] {
            for (const auto& tag : c.clicks) {
                if (tag[0] == '?') {
                    QTest::keyClicks(dialog.findChild<QWidget*>("txt_find"), tag.substr(1).c_str());
                    continue;
                }
                tree->scrollToItem(node(tag));
                QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                                  tree->visualItemRect(node(tag)).center());
            }
            shown = dialog.findChild<QWidget*>("familyLabel")->property("text").toString();
            heard = QAccessible::queryAccessibleInterface(dialog.findChild<QWidget*>("unknownNameLabel"))
                        ->text(QAccessible::Name);
            EXPECT_EQ(dialog.findChild<QWidget*>("cmdok")->isEnabled(), *c.shown != 0);
            if (QWidget* button = c.button ? dialog.findChild<QWidget*>(c.button) : nullptr) {
                QTest::mouseClick(button, Qt::LeftButton);
            } else if (c.button) { // Enter, where the focus is
                // The dialog's own focus: its window need not be active on every platform.
                QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, Qt::Key_Return);
            }
            dialog.close(); // where the answer waits
        });
        const FamilyEvidence evidence = familyEvidence(realTaxa(), c.name, false);
        const auto answer = dialog.ask({c.name, evidence.suggestion(), &realTree(), false, {}, evidence});
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(shown.toStdString(), c.shown);
        EXPECT_EQ(heard.toStdString(), std::string("unknown taxon: ") + c.name); // the value, for readers
        EXPECT_EQ(answer.selectionKey, c.key);
        EXPECT_TRUE(!c.taxon || answer.correctTaxon == c.taxon) << answer.correctTaxon;
    }
}

// Each question fits anew: a long name is shortened in the middle, whole in the tooltip,
// and the next question has the usual size again, with its buttons inside the window.
// Blanks that cannot be seen and characters that show nothing are shown for what they are.
TEST(TaxonDialogTest, FitsEachQuestionAnew) {
    TaxonDialog dialog(realTree(), realTaxa().records());
    const auto shown = [&](const std::string& name) {
        dialog.prepare({name, std::nullopt, &realTree()});
        dialog.show();
        QApplication::processEvents();
        return dialog.findChild<ElidedLabel*>("unknownNameLabel");
    };
    const QSize usual = (shown("BAETIDAX"), dialog.size());
    const ElidedLabel* given = shown(std::string(5000, 'X') + " ");
    // The blank as the screen's fonts can show it.
    EXPECT_TRUE(given->toolTip().startsWith(QString(5000, 'X')) &&
                QStringList({QChar(0x2420), "[blank]"}).contains(given->toolTip().mid(5000)));
    EXPECT_EQ(shown("BAETIDAX")->text(), "BAETIDAX");
    EXPECT_EQ(dialog.size(), usual);
    EXPECT_TRUE(dialog.rect().contains(dialog.findChild<QWidget*>("cmdabort")->geometry()));
    for (const auto& [name, seen] :
         {std::array<const char16_t*, 2>{u" BAETIS  RHODANI", u"\u2420BAETIS\u2420\u2420RHODANI"},
          {u"BAETIS RHODANI", u"BAETIS RHODANI"},
          {u"BAETI\u00A0DAE\t", u"BAETI[no-break space]DAE\u2409"},
          {u"BAE\u200BTIDAE", u"BAE[zero-width space]TIDAE"}}) {
        EXPECT_EQ(visibleName(QString::fromUtf16(name)), QString::fromUtf16(seen));
    }
    EXPECT_EQ(visibleName(" BAETIS\t", false), "[blank]BAETIS[U+0009]"); // fonts without the symbols
}

// At start-up the information window goes on the first mouse movement, click or key; on
// request it stays, its buttons choose the pages, and a click on the page or "close" ends it.
QLabel* pageLabel(InfoWindow& info) {
    for (QLabel* label : info.findChildren<QLabel*>()) {
        if (label->isVisible() && label->text().contains("<h3>")) {
            return label;
        }
    }
    return nullptr;
}

TEST(InfoWindowTest, StartupAndRequestForms) {
    InfoWindow info;
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_A, Qt::Key_Escape}) {
        info.prepareForStartup();
        info.show();
        QTest::keyPress(&info, key); // gone as the key goes down
        EXPECT_FALSE(info.isVisible()) << key;
    }
    for (const bool atStartup : {true, false}) {
        atStartup ? info.prepareForStartup() : info.prepareOnRequest();
        info.show();
        EXPECT_EQ(info.findChild<QWidget*>("cmdclose")->isVisible(), !atStartup);
        EXPECT_EQ(info.page(), 0);
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(pageLabel(info), &move);
        QTest::keyClick(&info, Qt::Key_A); // the form asked for keeps its keys for its buttons
        EXPECT_EQ(info.isVisible(), !atStartup);
    }
    for (int i = InfoWindow::pageCount - 1; i >= 0; --i) {
        QTest::mouseClick(info.findChild<QWidget*>(QStringLiteral("cmdpage_%1").arg(i)), Qt::LeftButton);
        EXPECT_EQ(info.page(), i);
    }
    QTest::mouseClick(pageLabel(info), Qt::LeftButton);
    EXPECT_FALSE(info.isVisible());
    info.prepareOnRequest();
    info.show();
    QTest::mouseClick(info.findChild<QWidget*>("cmdclose"), Qt::LeftButton);
    EXPECT_FALSE(info.isVisible());
}

// The report box is read-only: typing, pasting and cutting change nothing; Ctrl+A selects
// it all, Ctrl+C and Ctrl+Insert copy; Home and End go to a line's ends, with Ctrl the report's.
TEST(ReportBoxTest, CopiesButNeverChanges) {
    ReportBox box;
    box.setPlainText(QStringLiteral("  a line of the report\n").repeated(20));
    box.show();
    const QString original = box.toPlainText();
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier); // all of it
    QApplication::clipboard()->setText("pasted");
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClicks(&box, "abc\b");
    EXPECT_EQ(box.toPlainText(), original);
    for (const Qt::Key copy : {Qt::Key_C, Qt::Key_Insert}) {
        QApplication::clipboard()->clear();
        QTest::keyClick(&box, copy, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), original) << copy;
    }
    QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
    const int end = box.textCursor().position();
    QTest::keyClick(&box, Qt::Key_Home, Qt::ControlModifier), QTest::keyClick(&box, Qt::Key_End);
    EXPECT_EQ(std::pair(end, box.textCursor().position()), std::pair(int(original.size()), 22));
}

// The taxa map's editor: a row per line, the blanks at a name's ends shown; it saves only
// a map the reader takes, with the comments at its head, and says which line is wrong.
TEST(TaxaMapEditorTest, SavesOnlyAMapTheReaderTakes) {
    TempDir dir;
    const std::string path = dir.file("map.tsv");
    writeFile(path, "# mine\nname\tfamily\nBAETIDAX \tBAETIDAE\r\nZZZ\tIGNORE\n");
    TaxaMapEditor editor(realTaxa(), QString::fromStdString(path));
    auto* table = editor.findChild<QTableWidget*>("mapTable");
    ASSERT_EQ(table->rowCount(), 2);
    const auto* delegate = static_cast<QStyledItemDelegate*>(table->itemDelegate());
    EXPECT_EQ(delegate->displayText(table->item(0, 0)->text(), QLocale()), QString::fromUtf8("BAETIDAX␣"));
    EXPECT_EQ(withVisibleBlanks("  a b "), QString::fromUtf8("␣␣a b␣"));
    table->item(1, 1)->setText("NOSUCHFAMILY");
    EXPECT_FALSE(editor.save());
    EXPECT_THAT(editor.findChild<QLabel*>("lbl_mapproblem")->text().toStdString(), HasSubstr("line 2"));
    EXPECT_THAT(readFile(path), HasSubstr("ZZZ\tIGNORE"));
    table->item(1, 1)->setText("gammaridae");
    QTest::mouseClick(editor.findChild<QWidget*>("cmdaddrow"), Qt::LeftButton); // left empty
    EXPECT_TRUE(editor.save());
    EXPECT_EQ(readFile(path), "# mine\nBAETIDAX \tBAETIDAE\nZZZ\tgammaridae\n");
}

// The report wraps its lines to its width, a long path without blanks too: it never scrolls sideways.
TEST(ReportBoxTest, WrapsToItsWidth) {
    ReportBox report;
    report.resize(200, 300);
    report.setPlainText("  file: /a/long/folder/name/without/any/blank/at/all/samples_of_the_river.txt");
    report.show();
    QApplication::processEvents();
    EXPECT_EQ(report.horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(report.document()->firstBlock().layout()->lineCount(), 2);
}

} // namespace
} // namespace torrentix
