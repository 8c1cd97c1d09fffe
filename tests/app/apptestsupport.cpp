#include "apptestsupport.h"

#include <QFile>

namespace torrentix::testing {

QString FakeDialogs::openFileName(const QString& title, const QString& filter) {
    openTitles << title;
    openFilters << filter;
    if (openAnswers.empty()) {
        return {};
    }
    QString answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

QString FakeDialogs::saveFileName(const QString&, const QString& proposed, const QString&) {
    saveProposals << proposed;
    if (saveAnswers.empty()) {
        return {};
    }
    QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

bool FakeDialogs::askYesNo(const QString& text) {
    questions << text;
    if (yesNoAnswers.empty()) {
        return false;
    }
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

void FakeDialogs::showMessage(const QString& text) {
    messages << text;
}

void FakeDialogs::showInformation(bool atStartup) {
    informationShown.push_back(atStartup);
}

std::vector<int> classList(int reference, int high, int good, int moderate, int poor, int bad) {
    std::vector<int> classes;
    const std::array<std::pair<int, int>, 6> counts = {
        {{6, reference}, {5, high}, {4, good}, {3, moderate}, {2, poor}, {1, bad}}};
    for (const auto& [code, n] : counts) {
        classes.insert(classes.end(), static_cast<std::size_t>(n), code);
    }
    return classes;
}

std::string sampleText(const SampleContent& content) {
    std::string text = "Samples for the tests\r\nCODE\tNAME\tCLASS";
    for (const auto& name : content.testNames) {
        text += "\t" + name;
    }
    for (const auto& family : content.families) {
        text += "\t" + family;
    }
    text += "\r\n";
    for (std::size_t i = 0; i < content.classes.size(); ++i) {
        const int row = static_cast<int>(i);
        text += "S" + std::to_string(row + 1) + "\tSite " + std::to_string(row + 1) + "\t" +
                std::to_string(content.classes[i]);
        for (std::size_t k = 0; k < 3; ++k) {
            text += "\t";
            if (row < content.numericTests[k]) {
                text += std::to_string(10 + row * (3 + static_cast<int>(k)) + (row * row) % 7);
            }
        }
        const std::size_t cells = content.families.size() - (row == content.missingColumnInRow ? 1 : 0);
        for (std::size_t j = 0; j < cells; ++j) {
            // Better classes hold more of the sensitive families at the front of the list.
            const int base = static_cast<int>((i * 7 + j * 13) % 17);
            const int boost = content.classes[i] * (j < 2 ? 4 : 1);
            text += "\t" + std::to_string(j == 0 ? base + boost + 1 : (base % 3 == 0 ? 0 : base + boost));
        }
        text += "\r\n";
    }
    return text;
}

QString writeSample(const QString& folder, const QString& name, const SampleContent& content) {
    const QString path = folder + "/" + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QByteArray::fromStdString(sampleText(content)));
    }
    return path;
}

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

const TaxaDatabase& testTaxa() {
    static const TaxaDatabase taxa = TaxaDatabase::open(TAXA_DB_PATH);
    return taxa;
}

} // namespace torrentix::testing
