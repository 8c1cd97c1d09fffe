#pragma once
// The sample files read last, newest first, kept between sessions in the user's settings
// when the program is given them.

#include <QStringList>

class QSettings;

namespace torrentix {

class RecentFiles {
  public:
    static constexpr qsizetype kept = 8;

    // Loads the list from `settings` and keeps it there from now on; nullptr keeps it
    // for this session only.
    void keepIn(QSettings* settings);
    const QStringList& files() const { return files_; }
    // The file goes to the top of the list.
    void add(const QString& path);
    void remove(const QString& path);

  private:
    void save();

    QSettings* settings_ = nullptr;
    QStringList files_;
};

} // namespace torrentix
