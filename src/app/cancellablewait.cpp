#include "app/cancellablewait.h"

#include "app/userdialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace torrentix {

CancellableWait::CancellableWait(const QString& text, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("waitcancel"));
    setWindowTitle(programTitle());
    setWindowModality(Qt::WindowModal);
    auto* label = new QLabel(text);
    bar_ = new QProgressBar;
    bar_->setRange(0, steps);
    bar_->setTextVisible(false);
    bar_->setAccessibleName(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdcancel"));
    connect(buttons, &QDialogButtonBox::rejected, this, &CancellableWait::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(bar_);
    layout->addWidget(buttons);
}

void CancellableWait::start() {
    bar_->setValue(0);
    show();
}

void CancellableWait::setFraction(double fraction) {
    bar_->setValue(static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * steps)));
}

void CancellableWait::reject() {
    emit cancelRequested();
}

} // namespace torrentix
