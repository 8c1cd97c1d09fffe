#include "app/mainwindow.h"

#include "report/resultsfile.h"

namespace torrentix {

QString windowCaption() {
    return QStringLiteral("  Torrentix ") + QString::fromUtf8(programVersion.data(), programVersion.size()) +
           QStringLiteral(" beta  -  Intercalibration Common Metrics of river invertebrates");
}

MainWindow::MainWindow(const TaxaDatabase& taxa, QWidget* parent) : QMainWindow(parent), taxa_(taxa) {
    setObjectName("Form1");
    setWindowTitle(windowCaption());
}

} // namespace torrentix
