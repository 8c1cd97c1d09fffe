#include "base/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace torrentix {
namespace {

std::string systemReason(int error) {
    return std::strerror(error);
}

// Closes a POSIX file descriptor when it goes out of scope.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

} // namespace

std::string readWholeFile(const std::string& path) {
    FileReader file(path);
    std::string content;
    while (file.readInto(content, 1 << 20) > 0) {
    }
    return content;
}

FileReader::FileReader(const std::string& path)
    : path_(path), fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (fd_ < 0) {
        throw Error("The file " + path + " could not be opened: " + systemReason(errno) + ".");
    }
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd_);
        throw Error("The file " + path + " could not be opened: it is a folder.");
    }
    size_ = info.st_size > 0 && S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) : 0;
}

FileReader::~FileReader() {
    ::close(fd_);
}

std::size_t FileReader::readInto(std::string& into, std::size_t most) {
    // Read in pieces of at most 64 KB: the string's room is zeroed before the read fills
    // it, and a small file should not have a large room zeroed.
    most = std::min<std::size_t>(most, 1 << 16);
    const std::size_t before = into.size();
    into.resize(before + most);
    while (true) {
        const ssize_t got = ::read(fd_, into.data() + before, most);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            into.resize(before);
            throw Error("The file " + path_ + " could not be read: " + systemReason(errno) + ".");
        }
        into.resize(before + static_cast<std::size_t>(got));
        return static_cast<std::size_t>(got);
    }
}

WriteCalls WriteCalls::system() {
    return {::write, ::fsync, ::close, ::rename};
}

namespace {

// Creates a new temporary file beside `path` with O_EXCL; the kernel applies the umask to
// its mode, so no process-wide setting is touched.
std::pair<int, std::string> createTemporaryBeside(const std::string& path) {
    std::random_device random;
    std::uniform_int_distribution<unsigned> digit(0, 35);
    const std::string prefix = folderOf(path) + ".~" + fileNameOf(path) + ".";
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        std::string name = prefix;
        for (int k = 0; k < 6; ++k) {
            name += "0123456789abcdefghijklmnopqrstuvwxyz"[digit(random)];
        }
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            return {fd, name};
        }
        error = errno;
    }
    return {-1, std::strerror(error)};
}

} // namespace

void writeFileAtomically(const std::string& path, const std::string& content, const WriteCalls& calls) {
    const auto created = createTemporaryBeside(path);
    const std::string& temporary = created.second;
    if (created.first < 0) {
        throw Error("The file " + path + " could not be written: " + temporary + ".");
    }
    FileDescriptor fd(created.first);
    auto fail = [&](int error) {
        ::unlink(temporary.c_str());
        throw Error("The file " + path + " could not be written: " + systemReason(error) + ".");
    };
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = calls.write(fd.get(), content.data() + written, content.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (calls.fsync(fd.get()) != 0 && errno != EINVAL) {
        fail(errno);
    }
    if (calls.close(fd.release()) != 0) {
        fail(errno);
    }
    if (calls.rename(temporary.c_str(), path.c_str()) != 0) {
        fail(errno);
    }
}

bool fileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::string replaceExtension(const std::string& path, const std::string& suffix) {
    auto slash = path.rfind('/');
    auto dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return path + suffix;
    }
    return path.substr(0, dot) + suffix;
}

std::string folderOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string fileNameOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace torrentix
