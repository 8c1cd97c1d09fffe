#include "app/recentfiles.h"

#include <QFileInfo>
#include <QSettings>

namespace torrentix {
namespace {

constexpr QLatin1StringView settingsKey("recentFiles");

QString absolute(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

void RecentFiles::keepIn(QSettings* settings) {
    settings_ = settings;
    if (settings_ != nullptr) {
        files_ = settings_->value(settingsKey).toStringList().mid(0, kept);
    }
}

void RecentFiles::add(const QString& path) {
    const QString file = absolute(path);
    files_.removeAll(file);
    files_.prepend(file);
    files_ = files_.mid(0, kept);
    save();
}

void RecentFiles::remove(const QString& path) {
    if (files_.removeAll(absolute(path)) > 0) {
        save();
    }
}

void RecentFiles::save() {
    if (settings_ != nullptr) {
        settings_->setValue(settingsKey, files_);
        settings_->sync();
    }
}

} // namespace torrentix
