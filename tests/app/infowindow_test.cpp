// The information window.
#include "app/infowindow.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace torrentix {
namespace {

QLabel* pageLabel(InfoWindow& info) {
    for (QLabel* label : info.findChildren<QLabel*>()) {
        if (label->isVisible() && label->text().contains("<h3>")) {
            return label;
        }
    }
    return nullptr;
}

void moveMouseOver(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

TEST(InfoWindowTest, AtStartupItHidesOnMouseMovement) {
    InfoWindow info;
    EXPECT_EQ(info.objectName(), "Forminfo");
    info.prepareForStartup();
    info.show();
    EXPECT_FALSE(info.findChild<QPushButton*>("cmdclose")->isVisible());
    EXPECT_FALSE(info.findChild<QPushButton*>("cmdpage_1")->isVisible());
    EXPECT_EQ(info.page(), 0);
    QLabel* label = pageLabel(info);
    ASSERT_NE(label, nullptr);
    moveMouseOver(label);
    EXPECT_FALSE(info.isVisible());
}

TEST(InfoWindowTest, OnRequestPagesAreChosenByButtons) {
    InfoWindow info;
    info.prepareOnRequest();
    info.show();
    QLabel* label = pageLabel(info);
    ASSERT_NE(label, nullptr);
    moveMouseOver(label);
    EXPECT_TRUE(info.isVisible());
    for (int i = InfoWindow::pageCount - 1; i >= 0; --i) {
        QTest::mouseClick(info.findChild<QPushButton*>(QStringLiteral("cmdpage_%1").arg(i)), Qt::LeftButton);
        EXPECT_EQ(info.page(), i);
        EXPECT_TRUE(info.isVisible());
    }
    QTest::mouseClick(pageLabel(info), Qt::LeftButton); // a click on the page closes the window
    EXPECT_FALSE(info.isVisible());

    info.prepareOnRequest();
    info.show();
    QTest::mouseClick(info.findChild<QPushButton*>("cmdclose"), Qt::LeftButton);
    EXPECT_FALSE(info.isVisible());
}

TEST(InfoWindowTest, PagesTellWhatWhoHowToCiteTermsAndSources) {
    EXPECT_TRUE(InfoWindow::pageText(0).contains("freshwater ecologists"));
    EXPECT_TRUE(InfoWindow::pageText(1).contains("Torrentix 1.2.7"));
    EXPECT_TRUE(InfoWindow::pageText(2).contains("MIT licence"));
    EXPECT_TRUE(InfoWindow::pageText(2).contains("WITHOUT WARRANTY"));
    const QString sources = InfoWindow::pageText(3);
    for (const char* source : {"Directive 2000/60/EC", "Water Research 17: 333-347", "Limnetica 4: 51-56",
                               "Limnetica 21: 175-185", "Bell System Technical Journal 27",
                               "Hydrobiologia 566", "Hydrobiologia 566: 401-415", "2008/915/EC"}) {
        EXPECT_TRUE(sources.contains(QLatin1String(source))) << source;
    }
}

} // namespace
} // namespace torrentix
