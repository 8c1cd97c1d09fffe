// A results file holds one encoding: Windows-1252 when the path and every name can be
// written in it, else UTF-8 throughout.

#include "base/text.h"
#include "input/correctedfile.h"
#include "input/samplereader.h"
#include "run/computerun.h"
#include "support/samplefile.h"
#include "support/taxa.h"
#include "support/testsupport.h"

#include <filesystem>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

struct EncodedFile : ::testing::Test {
    TempDir dir;

    // Reads the bytes as a sample file in the folder (by default "rivières") and runs them.
    RunResult run(const std::string& bytes, const std::string& name = "rivi\xC3\xA8res") {
        const std::string folder = dir.file(name);
        std::filesystem::create_directories(fsPath(folder));
        writeFile(folder + "/s.txt", bytes);
        const ReadResult read =
            readSampleFileSavingCorrections(folder + "/s.txt", realTaxa(), realTree(), {});
        RunOptions options;
        options.gig = CentralBaltic;
        return computeRun(read.table, realTaxa(), options, {});
    }
    static std::string utf16(const std::u16string& text, bool bigEndian) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const char16_t unit : text) {
            const auto high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    }
};

std::u16string widened(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

} // namespace

// A title with "río" and a sample "Rière" in Windows-1252, in the folders "ποταμοί" and "rivières".
TEST_F(EncodedFile, AWindows1252FileInAGreekFolderIsWrittenAsUtf8Throughout) {
    SampleFile f = SampleFile::typical();
    f.title = "Caudal del r\xEDo";
    f.cell(0, 1) = "Ri\xE8re";
    for (const std::string folder : {"ποταμοί", "rivi\xC3\xA8res"}) {
        const RunResult r = run(f.text(), folder);
        const bool greek = folder.front() != 'r';
        EXPECT_EQ(isValidUtf8(r.resultsText), greek) << folder;
        EXPECT_EQ(r.table.utf8, greek);
        for (const auto& [cp1252, utf8] : {std::pair{"Ri\xE8re", "Ri\xC3\xA8re"},
                                           {"r\xEDo", "r\xC3\xADo"},
                                           {"r\xB2 = ", "r\xC2\xB2 = "}}) {
            EXPECT_THAT(r.resultsText, HasSubstr(greek ? utf8 : cp1252)) << folder;
        }
    }
}

// A byte-order mark says UTF-8 even when every other byte is ASCII: the results file is
// UTF-8, the folder's name too.
TEST_F(EncodedFile, AByteOrderMarkMeansUtf8ForAnAsciiFile) {
    const RunResult r = run("\xEF\xBB\xBF" + SampleFile::typical().text());
    EXPECT_TRUE(r.table.utf8 && isValidUtf8(r.resultsText));
    EXPECT_THAT(r.resultsText, HasSubstr("rivi\xC3\xA8res"));
    // A file that says UTF-8 but holds a Windows-1252 name is refused at that line.
    SampleFile f = SampleFile::typical();
    f.cell(3, 1) = "Ri\xE8re";
    EXPECT_THAT(errorOf([&] { run("\xEF\xBB\xBF" + f.text()); }),
                Mentions("byte-order mark of UTF-8", "line 6 holds bytes that are not UTF-8"));
}

// UTF-16 in both byte orders keeps every character, those beyond the basic plane (written
// as surrogate pairs) included; text that stops being UTF-16 is refused at its offset.
TEST_F(EncodedFile, Utf16KeepsEveryCharacterAndIsRefusedWhereItBreaks) {
    SampleFile f = SampleFile::typical();
    f.cell(0, 1) = "FISH";
    std::u16string text = widened(f.text());
    text.replace(text.find(u"FISH"), 4, u"\U0001F41F\u00E8"); // a fish, then "è"
    for (const bool bigEndian : {false, true}) {
        const RunResult r = run(utf16(text, bigEndian));
        EXPECT_TRUE(isValidUtf8(r.resultsText));
        EXPECT_EQ(r.table.samples[0].fullName, "\xF0\x9F\x90\x9F\xC3\xA8") << bigEndian;
        EXPECT_NE(r.resultsText.find("\xF0\x9F\x90\x9F\xC3\xA8"), std::string::npos);
    }
    const std::u16string lone = u"Title\r\n" + std::u16string(1, char16_t{0xDC01}) + u"CODE";
    EXPECT_THAT(errorOf([&] { run(utf16(lone, false)); }),
                Mentions("not valid UTF-16", "byte offset 16", "half of a character"));
    const std::u16string cut = u"Title\r\nA" + std::u16string(1, char16_t{0xD83D});
    EXPECT_THAT(errorOf([&] { run(utf16(cut, true)); }), Mentions("not valid UTF-16", "byte offset 18"));
    EXPECT_THAT(errorOf([&] { run(utf16(widened(f.text()), false) + "x"); }),
                Mentions("an odd number", "byte offset " + std::to_string(2 + 2 * f.text().size())));
}

// Every file of the fuzzers' seed corpus that reads and runs gives a results file and a
// corrected file in one encoding: UTF-8 that decodes, or Windows-1252 holding no byte
// outside ASCII but those of the sample file and the "²" of r².
TEST(ResultsEncoding, EveryOutputOfTheFuzzCorpusDecodesInItsOneEncoding) {
    TempDir dir;
    int computed = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(TEST_DATA_DIR) + "/../fuzz/corpus")) {
        const std::string input = readFile(entry.path().string());
        const std::string path = dir.file("s.txt");
        writeFile(path, input);
        std::filesystem::remove(dir.file("s_OUT.txt"));
        try {
            const ReadResult read =
                readSampleFile(path, realTaxa(), realTree(),
                               [](const UnknownTaxonQuestion&) { return UnknownTaxonAnswer::ignore(); });
            RunOptions options;
            options.gig = CentralBaltic;
            const RunResult run = computeRun(read.table, realTaxa(), options, {});
            const std::string corrected = correctedFileText(read.table);
            for (const std::string* text : {&run.resultsText, &corrected}) {
                if (run.table.utf8) {
                    EXPECT_TRUE(isValidUtf8(*text)) << entry.path();
                    continue;
                }
                for (const char c : *text) {
                    EXPECT_TRUE(static_cast<unsigned char>(c) < 0x80 || c == '\xB2' ||
                                input.find(c) != std::string::npos)
                        << entry.path() << " byte " << static_cast<int>(static_cast<unsigned char>(c));
                }
            }
            computed += run.refused ? 0 : 1;
        } catch (const Error&) {
            // a file the reader or the run refuses, with its message
        }
    }
    EXPECT_GE(computed, 5);
}
