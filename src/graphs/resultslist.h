#pragma once
// The results list of the RESULTS view: one row per sample with code, name, class, both
// indices and the three test variables; a header click offers sorting.

#include "run/calcola.h"

#include <QTreeWidget>

namespace torrentix {

class ResultsList : public QTreeWidget {
    Q_OBJECT
public:
    explicit ResultsList(QWidget* parent = nullptr); // object name "lv1", the nine columns

    // Empties the list.
    void clearRows();
    // Headers of the GIG index and test-variable columns, and one row per sample of a run.
    void refresh(const RunResult& run, int gigindex);
};

} // namespace torrentix
