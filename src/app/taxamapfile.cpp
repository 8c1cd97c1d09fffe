#include "app/taxamapfile.h"

#include "base/files.h"
#include "base/text.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace torrentix {
namespace {

const std::string explanation =
    "# Your answers to taxon names that the taxa database does not know: the name as the\n"
    "# sample files write it, a TAB, then the family to read it as, or IGNORE to leave the\n"
    "# column out. Torrentix adds a line for each answer you ask it to remember.\n";

} // namespace

QString defaultTaxaMapPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("taxa-map.tsv"));
}

void ensureTaxaMap(const std::string& path) {
    if (fileExists(path)) {
        return;
    }
    const QString folder = QFileInfo(QString::fromStdString(path)).absolutePath();
    if (!QDir().mkpath(folder)) {
        throw Error("The folder " + folder.toStdString() + " cannot be created.");
    }
    writeFileAtomically(path, explanation);
}

bool rememberAnswer(const std::string& path, const UnknownTaxonQuestion& question,
                    const UnknownTaxonAnswer& answer) {
    const bool ignored = answer.selectionKey == 0;
    if (answer.selectionKey < 0 || (!ignored && answer.correctTaxon.empty())) {
        return false;
    }
    const std::string name = question.utf8 ? question.name : cp1252ToUtf8(question.name);
    const std::string_view trimmed = trimBlanks(name);
    if (trimmed.empty() || trimmed.front() == '#') {
        return false;
    }
    ensureTaxaMap(path);
    // A map the user saved as Windows-1252 becomes UTF-8, so that it stays one text.
    std::string map = readWholeFile(path);
    if (!isValidUtf8(map)) {
        map = cp1252ToUtf8(map);
    }
    if (!map.empty() && map.back() != '\n') {
        map += '\n';
    }
    map += name + "\t" + (ignored ? std::string("IGNORE") : answer.correctTaxon) + "\n";
    writeFileAtomically(path, map);
    return true;
}

} // namespace torrentix
