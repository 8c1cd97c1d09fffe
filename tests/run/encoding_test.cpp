// A results file holds one encoding: Windows-1252 when the path and every name can be
// written in it, else UTF-8 throughout.

#include "base/text.h"
#include "input/samplereader.h"
#include "run/calcola.h"
#include "support/samplefile.h"
#include "support/taxa.h"
#include "support/testsupport.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace torrentix;
using namespace torrentix::testing;

TEST(ResultsEncoding, AWindows1252FileInAGreekFolderIsWrittenAsUtf8Throughout) {
    TempDir dir;
    for (const std::string folder : {"ποταμοί", "rivi\xC3\xA8res"}) { // Greek, and "rivières"
        std::filesystem::create_directory(fsPath(dir.file(folder)));
        SampleFile f = SampleFile::typical();
        f.cell(0, 1) = "Ri\xE8re"; // "Rière" in Windows-1252
        const std::string path = dir.file(folder + "/s.txt");
        writeFile(path, f.text());
        const ReadResult read = inputtxt(path, realTaxa(), realTree(), {});
        ASSERT_FALSE(read.table.utf8);
        RunOptions options;
        options.gigindex = 1;
        const RunResult run = calcola(read.table, realTaxa(), options, {});
        const bool greek = folder.front() != 'r';
        EXPECT_EQ(isValidUtf8(run.resultsText), greek) << folder;
        EXPECT_NE(run.resultsText.find(greek ? "Ri\xC3\xA8re" : "Ri\xE8re"), std::string::npos) << folder;
        EXPECT_NE(run.resultsText.find(greek ? "r\xC2\xB2 = " : "r\xB2 = "), std::string::npos) << folder;
        EXPECT_EQ(run.table.utf8, greek);
    }
}
