#pragma once
// The choices of the START view that outlast a run and a session: the GIG and river type,
// the options of each test-variable row and the bootstrap tick, kept in the user's
// settings when the program is given them.

#include "metrics/catalogue.h"

#include <QString>

#include <array>
#include <optional>

class QSettings;

namespace torrentix {

// The options of one test-variable row as the user last ran them.
struct RowChoice {
    QString minText = QStringLiteral("0"); // "Min Value"
    bool observed = false;                 // "Observed Min"
    bool biological = false;               // "Biological"
};

struct Choices {
    std::optional<Gig> gig;
    std::optional<int> riverType; // of `gig`
    std::array<RowChoice, 3> rows;
    bool intervals = false; // "Confidence intervals"
};

class KeptChoices {
  public:
    // Loads the choices from `settings` and keeps them there from now on; nullptr keeps
    // them for this session only.
    void keepIn(QSettings* settings);
    const Choices& choices() const { return choices_; }
    void setRiverType(Gig gig, int type);
    // The choices of the rows given (the others as they were), saved once.
    void setRows(const std::array<std::optional<RowChoice>, 3>& rows);
    void setIntervals(bool wanted);

  private:
    void save();

    QSettings* settings_ = nullptr;
    Choices choices_;
};

} // namespace torrentix
