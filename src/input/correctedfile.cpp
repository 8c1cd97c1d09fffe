#include "input/correctedfile.h"

#include "base/files.h"
#include "base/numberforms.h"
#include "base/platform.h"

namespace torrentix {
namespace {

const std::string crlf = "\r\n";

} // namespace

void saveCorrectedFile(ReadResult& result) {
    const SampleTable& table = result.table;
    std::string path = replaceExtension(table.sourcePath, "_adj.txt");
    try {
        if (platform::sameFile(path, table.sourcePath)) {
            throw Error("The corrected file would replace the sample file " + path + ".");
        }
        writeFileAtomically(path, correctedFileText(table));
        result.correctedPath = path;
        result.notice = "The corrected file has been saved as " + path;
        if (!table.ignoredColumns.empty()) {
            result.notice += crlf + crlf + "The following taxa were ignored:";
            for (const std::string& name : table.ignoredColumns) {
                result.notice += crlf + name;
            }
        }
    } catch (const Error& e) {
        result.correctedFileError = std::string("The corrected file could not be saved. ") + e.what();
    }
}

std::string correctedFileText(const SampleTable& table) {
    std::string out = table.title + crlf;
    for (const auto& label : table.headerlabel) {
        out += label + "\t";
    }
    for (const auto& name : table.testVariableNames) {
        out += name + "\t";
    }
    for (std::size_t j = 0; j < table.familyNames.size(); ++j) {
        out += (j == 0 ? "" : "\t") + table.familyNames[j];
    }
    out += crlf;
    std::vector<double> row(table.familyNames.size());
    for (int i = 0; i < table.nsamp(); ++i) {
        const Sample& s = table.samples[static_cast<std::size_t>(i)];
        out += s.code + "\t" + s.name + "\t" + std::to_string(s.qualityClass);
        for (const auto& t : s.testValueTexts) {
            out += "\t" + t;
        }
        std::fill(row.begin(), row.end(), 0.0);
        for (const Abundances::Present p : table.present(i)) {
            row[static_cast<std::size_t>(p.family)] = p.abundance;
        }
        for (const double a : row) {
            out += "\t" + formatGeneral(a);
        }
        out += crlf;
    }
    return out;
}

} // namespace torrentix
