#include "report/reporttext.h"

#include "base/files.h"
#include "base/numberforms.h"

namespace torrentix {
namespace {

// Test variables need 12 values to be reported by name.
constexpr int reportedTestValues = 12;

std::string percentOf(int count, int total) {
    return total > 0 ? formatPercent(static_cast<double>(count) / total) : formatPercent(0.0);
}

} // namespace

std::string reportText(const ReportInput& in) {
    const std::string crlf = "\r\n";
    std::string out = "  REPORT:" + crlf + crlf;
    out += "  file location: " + folderOf(in.sourcePath) + crlf;
    out += "  filename: " + fileNameOf(in.sourcePath) + crlf + crlf;
    out += "  GIG: " + in.gigCaption + crlf;
    out += "  River Type: " + in.riverTypeCaption + crlf + crlf;
    out +=
        "  " + std::to_string(in.nsamp) + " samples - " + std::to_string(in.nfam) + " Taxa (Families)" + crlf;
    for (std::size_t c = 0; c < classNames.size(); ++c) {
        out += "     " + std::to_string(in.classcount[c]) + " " + std::string(classNames[c]) + " (" +
               percentOf(in.classcount[c], in.nsamp) + ")" + crlf;
    }
    out += crlf + "  Test variables:";
    for (std::size_t k = 0; k < 3; ++k) {
        out += crlf;
        if (in.numericTestValueCounts[k] < reportedTestValues) {
            out += "  Var" + std::to_string(k + 1) + " absent or values<12";
        } else {
            out += "  " + in.testVariableNames[k] + " (min value=" + in.minValueTexts[k] +
                   (in.biological[k] ? ", bio" : "") + ").";
        }
    }
    if (!in.notes.empty()) {
        out += crlf;
    }
    for (const std::string& note : in.notes) {
        out += crlf + "  Note: " + note;
    }
    return out;
}

} // namespace torrentix
