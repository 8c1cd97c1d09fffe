#include "base/files.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace torrentix;
using torrentix::testing::TempDir;

TEST(AtomicWrite, ReplacesTheFileWholeAndLeavesNoTemporary) {
    TempDir dir;
    const std::string path = dir.file("out.txt");
    writeFileAtomically(path, "first");
    writeFileAtomically(path, "second, longer");
    EXPECT_EQ(readWholeFile(path), "second, longer");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u);
}

TEST(AtomicWrite, FailureNamesThePathAndKeepsTheOldFile) {
    TempDir dir;
    const std::string missingFolder = dir.file("no/such/folder/out.txt");
    try {
        writeFileAtomically(missingFolder, "x");
        FAIL() << "expected an error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find(missingFolder), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos);
    }
}

TEST(ReadWholeFile, MissingFileAndFolderAreErrors) {
    TempDir dir;
    EXPECT_THROW(readWholeFile(dir.file("missing.txt")), Error);
    EXPECT_THROW(readWholeFile(dir.path()), Error);
}
