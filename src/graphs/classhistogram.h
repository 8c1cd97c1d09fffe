#pragma once
// The class histogram of the RESULTS view: one bar per quality class, its height the
// share of the samples in that class, over seven fixed labels.

#include "index/classes.h"

#include <QWidget>

namespace torrentix {

class ClassHistogram : public QWidget {
    Q_OBJECT
public:
    explicit ClassHistogram(QWidget* parent = nullptr); // object name "istopic"

    // Draws the bars of these counts anew (faisto); no bars when nsamp is 0.
    void faisto(const ClassCounts& counts, int nsamp);
};

} // namespace torrentix
