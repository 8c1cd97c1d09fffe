// Minimal views until the real ones are drawn.
#include "graphs/classhistogram.h"
#include "graphs/graphsview.h"
#include "graphs/resultslist.h"

namespace torrentix {

ClassHistogram::ClassHistogram(QWidget* parent) : QWidget(parent) { setObjectName("istopic"); }
void ClassHistogram::faisto(const ClassCounts&, int) {}

ResultsList::ResultsList(QWidget* parent) : QTreeWidget(parent) { setObjectName("lv1"); }
void ResultsList::clearRows() { clear(); }
void ResultsList::refresh(const RunResult&, int) {}

GraphsView::GraphsView(QWidget* parent) : QWidget(parent) { setObjectName("frame_gra"); }
void GraphsView::fileRead(int) {}
void GraphsView::setResults(const RunResult&) {}
void GraphsView::enter() {}

} // namespace torrentix
