#include "app/keptchoices.h"

#include <QSettings>

namespace torrentix {
namespace {

QString rowKey(std::size_t row, const char* name) {
    return QStringLiteral("choices/row%1/%2").arg(row + 1).arg(QLatin1String(name));
}

} // namespace

// A GIG or river type that the program does not have (settings of another version, or
// edited by hand) is not restored.
void KeptChoices::keepIn(QSettings* settings) {
    settings_ = settings;
    if (settings_ == nullptr) {
        return;
    }
    choices_ = {};
    bool gigRead = false;
    bool typeRead = false;
    const int gig = settings_->value(QStringLiteral("choices/gig")).toInt(&gigRead);
    const int type = settings_->value(QStringLiteral("choices/riverType")).toInt(&typeRead);
    if (gigRead && typeRead && gig >= 0 && gig < gigCount && type >= 0 &&
        type < gigInfo(gigOf(gig)).riverTypeCount) {
        choices_.gig = gigOf(gig);
        choices_.riverType = type;
    }
    for (std::size_t k = 0; k < choices_.rows.size(); ++k) {
        RowChoice& row = choices_.rows[k];
        row.minText = settings_->value(rowKey(k, "minValue"), row.minText).toString();
        row.observed = settings_->value(rowKey(k, "observedMin"), false).toBool();
        row.biological = settings_->value(rowKey(k, "biological"), false).toBool();
    }
    choices_.intervals = settings_->value(QStringLiteral("choices/intervals"), false).toBool();
}

void KeptChoices::setRiverType(Gig gig, int type) {
    choices_.gig = gig;
    choices_.riverType = type;
    save();
}

void KeptChoices::setRows(const std::array<std::optional<RowChoice>, 3>& rows) {
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (rows[k]) {
            choices_.rows[k] = *rows[k];
        }
    }
    save();
}

void KeptChoices::setIntervals(bool wanted) {
    choices_.intervals = wanted;
    save();
}

void KeptChoices::save() {
    if (settings_ == nullptr) {
        return;
    }
    if (choices_.gig && choices_.riverType) {
        settings_->setValue(QStringLiteral("choices/gig"), static_cast<int>(*choices_.gig));
        settings_->setValue(QStringLiteral("choices/riverType"), *choices_.riverType);
    }
    for (std::size_t k = 0; k < choices_.rows.size(); ++k) {
        const RowChoice& row = choices_.rows[k];
        settings_->setValue(rowKey(k, "minValue"), row.minText);
        settings_->setValue(rowKey(k, "observedMin"), row.observed);
        settings_->setValue(rowKey(k, "biological"), row.biological);
    }
    settings_->setValue(QStringLiteral("choices/intervals"), choices_.intervals);
    settings_->sync();
}

} // namespace torrentix
