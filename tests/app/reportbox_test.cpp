// The read-only report box and the keys it lets through.
#include "app/reportbox.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace torrentix {
namespace {

TEST(ReportBoxKeysTest, OnlyScrollingAndCopyingKeysAct) {
    for (int key :
         {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown}) {
        EXPECT_TRUE(reportKeyAllowed(key, Qt::NoModifier));
        EXPECT_TRUE(reportKeyAllowed(key, Qt::ShiftModifier));
    }
    EXPECT_TRUE(reportKeyAllowed(Qt::Key_C, Qt::ControlModifier));
    EXPECT_TRUE(reportKeyAllowed(Qt::Key_Insert, Qt::ControlModifier));
    EXPECT_FALSE(reportKeyAllowed(Qt::Key_C, Qt::NoModifier));
    EXPECT_FALSE(reportKeyAllowed(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier));
    EXPECT_FALSE(reportKeyAllowed(Qt::Key_Insert, Qt::NoModifier));
    EXPECT_FALSE(reportKeyAllowed(Qt::Key_V, Qt::ControlModifier));
    EXPECT_FALSE(reportKeyAllowed(Qt::Key_X, Qt::ControlModifier));
    EXPECT_FALSE(reportKeyAllowed(Qt::Key_Home, Qt::NoModifier));
    EXPECT_FALSE(reportKeyAllowed(Qt::Key_End, Qt::ControlModifier));
    EXPECT_FALSE(reportKeyAllowed(Qt::Key_Delete, Qt::NoModifier));
    EXPECT_FALSE(reportKeyAllowed(Qt::Key_Return, Qt::NoModifier));
}

class ReportBoxTest : public ::testing::Test {
  protected:
    ReportBox box;
    QString text;

    void SetUp() override {
        for (int i = 0; i < 200; ++i) {
            text += QStringLiteral("  line %1\n").arg(i);
        }
        box.setPlainText(text);
        box.resize(300, 150);
        box.show();
        box.setFocus();
    }
    int scroll() const { return box.verticalScrollBar()->value(); }
};

TEST_F(ReportBoxTest, ScrollsWithArrowsAndPagesOnly) {
    QTest::keyClick(&box, Qt::Key_PageDown);
    const int paged = scroll();
    EXPECT_GT(paged, 0);
    QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_End);
    EXPECT_EQ(scroll(), paged);
    QTest::keyClick(&box, Qt::Key_PageUp);
    EXPECT_LT(scroll(), paged);
}

TEST_F(ReportBoxTest, CopiesButNeverChanges) {
    const QString original = box.toPlainText();
    box.selectAll();
    QApplication::clipboard()->clear();
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), box.toPlainText());

    QApplication::clipboard()->clear();
    QTest::keyClick(&box, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), box.toPlainText());

    QTest::keyClicks(&box, "abc");
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QApplication::clipboard()->setText("pasted");
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(box.toPlainText(), original);
    EXPECT_EQ(box.objectName(), "lblres");
}

} // namespace
} // namespace torrentix
