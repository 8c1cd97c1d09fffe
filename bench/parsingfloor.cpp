#include "parsingfloor.h"

#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace torrentix::bench {
namespace {

std::string readFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw std::runtime_error("cannot open " + path);
    }
    struct stat info {};
    ::fstat(fd, &info);
    std::string content(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t got = ::read(fd, content.data() + done, content.size() - done);
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    content.resize(done);
    return content;
}

void convertLine(std::string_view line, FloorResult& result) {
    const char* cell = line.data();
    const char* const end = line.data() + line.size();
    while (true) {
        const auto* tab =
            static_cast<const char*>(std::memchr(cell, '\t', static_cast<std::size_t>(end - cell)));
        const char* cellEnd = tab != nullptr ? tab : end;
        double value = 0.0;
        if (std::from_chars(cell, cellEnd, value).ec == std::errc()) {
            result.sum += value;
            ++result.numbers;
        }
        ++result.cells;
        if (tab == nullptr) {
            return;
        }
        cell = tab + 1;
    }
}

} // namespace

FloorResult parseFloor(const std::string& path) {
    const std::string content = readFile(path);
    FloorResult result;
    std::string_view rest = content;
    while (!rest.empty()) {
        const auto newline = rest.find('\n');
        std::string_view line = rest.substr(0, newline);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        convertLine(line, result);
        rest.remove_prefix(newline == std::string_view::npos ? rest.size() : newline + 1);
    }
    return result;
}

} // namespace torrentix::bench
