#pragma once
// The main window of the desktop program.

#include "input/taxadatabase.h"

#include <QMainWindow>

namespace torrentix {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const TaxaDatabase& taxa, QWidget* parent = nullptr);

private:
    const TaxaDatabase& taxa_;
};

// "  Torrentix 1.2.7 beta  -  " followed by the credits notice.
QString windowCaption();

} // namespace torrentix
