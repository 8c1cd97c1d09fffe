#include "graphs/resultscells.h"

#include "graphs/displaytext.h"
#include "metrics/catalogue.h"

namespace torrentix {

ResultsRow initialResultsHeaders() {
    return {"0", "CODE", "SAMPLE", "CLASS", "STAR_ICMi", "", "", "", ""};
}

ResultsRow resultsHeaders(const SampleTable& table, Gig gig) {
    ResultsRow headers = initialResultsHeaders();
    headers[5] = QString::fromStdString(gigShortName(gig)) + "_ICMi";
    for (std::size_t k = 0; k < 3; ++k) {
        headers[6 + k] = displayText(table.testVariableNames[k], table.utf8);
    }
    return headers;
}

Qt::Alignment resultsColumnAlignment(int column) {
    switch (column) {
    case 1:
    case 3:
    case 5:
        return Qt::AlignRight | Qt::AlignVCenter;
    case 4:
    case 6:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace torrentix
