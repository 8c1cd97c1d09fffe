#include "base/files.h"

#include "base/platform.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

namespace torrentix {
namespace {

std::string systemReason(int error) {
    return std::strerror(error);
}

// Closes a file descriptor when it goes out of scope.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            platform::closeFile(fd_);
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

FileReader::FileReader(const std::string& path) : path_(path), fd_(platform::openForReading(path)) {
    // Some systems refuse to open a folder, others open it and refuse to read it: both
    // are told as a folder.
    if (fd_ < 0) {
        const int error = errno;
        if (platform::isFolder(path)) {
            throw Error("The file " + path + " could not be opened: it is a folder.");
        }
        throw Error("The file " + path + " could not be opened: " + systemReason(error) + ".");
    }
    platform::OpenFileInfo info;
    if (platform::describeOpenFile(fd_, info) && info.isFolder) {
        platform::closeFile(fd_);
        throw Error("The file " + path + " could not be opened: it is a folder.");
    }
    size_ = info.isRegular ? static_cast<std::size_t>(info.size) : 0;
}

FileReader::~FileReader() {
    platform::closeFile(fd_);
}

std::size_t FileReader::readInto(std::string& into, std::size_t most) {
    // Read in pieces of at most 64 KB: the string's room is zeroed before the read fills
    // it, and a small file should not have a large room zeroed.
    most = std::min<std::size_t>(most, 1 << 16);
    const std::size_t before = into.size();
    into.resize(before + most);
    while (true) {
        const std::ptrdiff_t got = platform::readSome(fd_, into.data() + before, most);
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
    return {platform::writeSome, platform::syncToDisk, platform::closeFile, platform::replaceFile};
}

namespace {

// Creates a new temporary file beside `path`, one that did not exist before.
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
        const int fd = platform::createNewFile(name);
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
    // The temporary file is closed before it is removed: some systems do not remove an
    // open file. A folder standing at `path` is told as such.
    auto fail = [&](int error) {
        if (fd.get() >= 0) {
            platform::closeFile(fd.release());
        }
        platform::removeFile(temporary);
        const std::string reason = platform::isFolder(path) ? "it is a folder" : systemReason(error);
        throw Error("The file " + path + " could not be written: " + reason + ".");
    };
    std::size_t written = 0;
    while (written < content.size()) {
        const std::ptrdiff_t n = calls.write(fd.get(), content.data() + written, content.size() - written);
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
    // A read-only file replaced (the user agreed to it) stays read-only; Windows replaces
    // no read-only file, so the mark is taken off first.
    const bool readOnly = platform::isReadOnly(path);
    if (readOnly) {
        platform::setReadOnly(path, false);
    }
    if (calls.rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        if (readOnly) {
            platform::setReadOnly(path, true);
        }
        fail(error);
    }
    if (readOnly) {
        platform::setReadOnly(path, true);
    }
}

bool fileExists(const std::string& path) {
    return platform::pathExists(path);
}

std::string replaceExtension(const std::string& path, const std::string& suffix) {
    auto slash = path.find_last_of(platform::pathSeparators());
    auto dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return path + suffix;
    }
    return path.substr(0, dot) + suffix;
}

std::string folderOf(const std::string& path) {
    auto slash = path.find_last_of(platform::pathSeparators());
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string fileNameOf(const std::string& path) {
    auto slash = path.find_last_of(platform::pathSeparators());
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string pathInFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || platform::isPathSeparator(folder.back())) {
        return folder + name;
    }
    return folder + platform::preferredSeparator() + name;
}

} // namespace torrentix
