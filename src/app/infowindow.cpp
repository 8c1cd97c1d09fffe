#include "app/infowindow.h"

#include "app/layout.h"
#include "report/resultsfile.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace torrentix {
namespace {

QWidget* makePage(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    label->setContentsMargins(12, 6, 12, 6);
    auto* scroll = new QScrollArea;
    scroll->setWidget(label);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    return scroll;
}

QLabel* banner() {
    auto* label = new QLabel(
        QStringLiteral("<span style='font-size:18pt; font-weight:bold'>Torrentix %1</span><br>"
                       "Intercalibration Common Metrics of river macro-invertebrates")
            .arg(QString::fromLatin1(programVersion.data(), static_cast<qsizetype>(programVersion.size()))));
    label->setObjectName(QStringLiteral("lbl_banner"));
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor(192, 255, 255));
    palette.setColor(QPalette::WindowText, QColor(0, 64, 96));
    label->setPalette(palette);
    label->setMargin(10);
    return label;
}

// Buttons and scroll bars keep their clicks; a click anywhere else closes the window.
bool isControl(QObject* object) {
    for (QObject* o = object; o != nullptr; o = o->parent()) {
        if (qobject_cast<QAbstractButton*>(o) != nullptr || qobject_cast<QAbstractSlider*>(o) != nullptr) {
            return true;
        }
    }
    return false;
}

} // namespace

InfoWindow::InfoWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("infoWindow"));
    setWindowTitle(QStringLiteral("Torrentix - Information"));
    setModal(true);

    pages_ = new QStackedWidget;
    pages_->setObjectName(QStringLiteral("pages"));
    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < pageCount; ++i) {
        pages_->addWidget(makePage(pageText(i)));
        auto* b = new QPushButton(pageButtonCaption(i));
        b->setObjectName(QStringLiteral("cmdpage_%1").arg(i));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { showPage(i); });
        pageButtons_[static_cast<std::size_t>(i)] = b;
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    closeButton_ = new QPushButton(QStringLiteral("close"));
    closeButton_->setObjectName(QStringLiteral("cmdclose"));
    closeButton_->setAutoDefault(false);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(closeButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(banner());
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);

    const Twips t(logicalDpiX());
    resize(t.px(QSize(8400, 6000)));
    watchDescendants();
    prepareOnRequest();
}

void InfoWindow::watchDescendants() {
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) {
        w->installEventFilter(this);
    }
}

void InfoWindow::prepareForStartup() {
    hideOnMove_ = true;
    showPage(0);
    for (QPushButton* b : pageButtons_) {
        b->hide();
    }
    closeButton_->hide();
    setMouseTracking(true);
    for (QWidget* w : findChildren<QWidget*>()) {
        w->setMouseTracking(true);
    }
}

void InfoWindow::prepareOnRequest() {
    hideOnMove_ = false;
    showPage(0);
    for (QPushButton* b : pageButtons_) {
        b->show();
    }
    closeButton_->show();
}

int InfoWindow::page() const {
    return pages_->currentIndex();
}

void InfoWindow::showPage(int index) {
    if (index < 0 || index >= pageCount) {
        return;
    }
    pages_->setCurrentIndex(index);
    for (int i = 0; i < pageCount; ++i) {
        QFont font = pageButtons_[static_cast<std::size_t>(i)]->font();
        font.setBold(i == index);
        pageButtons_[static_cast<std::size_t>(i)]->setFont(font);
    }
}

bool InfoWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        if (hideOnMove_ && isVisible()) {
            accept();
            return true;
        }
        break;
    case QEvent::KeyPress: // the start-up form has no controls that take keys
        if (hideOnMove_ && isVisible()) {
            accept();
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
        if (!isControl(watched) && isVisible()) {
            accept();
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace torrentix
