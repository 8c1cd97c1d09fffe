// The atomic write when a system call fails after its temporary file exists: the earlier
// file stays whole, no temporary file is left, and the message names path and reason.

#include "base/files.h"
#include "base/platform.h"
#include "support/testsupport.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

ssize_t failingWrite(int, const void*, std::size_t) {
    errno = ENOSPC;
    return -1;
}
int failingFsync(int) {
    errno = EIO;
    return -1;
}
int failingClose(int fd) {
    platform::closeFile(fd);
    errno = EIO;
    return -1;
}
int failingRename(const char*, const char*) {
    errno = EXDEV;
    return -1;
}

} // namespace

TEST(AtomicWriteFailures, EachFailingCallKeepsTheOldFileWhole) {
    struct Case {
        const char* call;
        WriteCalls calls;
        int error;
    };
    const WriteCalls system = WriteCalls::system();
    const Case cases[] = {
        {"write", {failingWrite, system.fsync, system.close, system.rename}, ENOSPC},
        {"fsync", {system.write, failingFsync, system.close, system.rename}, EIO},
        {"close", {system.write, system.fsync, failingClose, system.rename}, EIO},
        {"rename", {system.write, system.fsync, system.close, failingRename}, EXDEV},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.file("sites_OUT.txt");
        writeFile(path, "earlier results\r\n");
        EXPECT_THAT(errorOf([&] { writeFileAtomically(path, "new results\r\n", c.calls); }),
                    Mentions(path, std::strerror(c.error)))
            << c.call;
        EXPECT_EQ(readFile(path), "earlier results\r\n") << c.call;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << c.call;
    }
}

TEST(AtomicWriteFailures, NewFilesTakeTheUmaskWithoutChangingIt) {
    if (!posixSystem) {
        GTEST_SKIP() << "the umask is POSIX only";
    }
    TempDir dir;
    const auto before = ::umask(027);
    writeFileAtomically(dir.file("a.txt"), "x");
    const auto during = ::umask(before);
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("a.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(static_cast<unsigned>(during), 027u);
}
