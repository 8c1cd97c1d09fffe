#include "base/platform.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib> // defines __GLIBC__ with the GNU C library
#include <fmt/format.h>
#include <memory>
#include <type_traits>

#if defined(_WIN32)
#include <windows.h>
// After windows.h, which it needs.
#include <fcntl.h>
#include <io.h>
#include <malloc.h>
#include <shellapi.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <filesystem>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__EMSCRIPTEN__)
#include <emscripten.h>
#endif
#endif

namespace torrentix::platform {

bool isPathSeparator(char c) {
    return pathSeparators().find(c) != std::string_view::npos;
}

namespace {

// The user's form of a date or a time where it is printable ASCII, else the ISO 8601 form.
std::string readableOr(const std::string& regional, std::string iso) {
    const bool printable =
        !regional.empty() &&
        std::all_of(regional.begin(), regional.end(), [](unsigned char c) { return c >= 0x20 && c < 0x7F; });
    return printable ? regional : iso;
}

DateAndTime readableOrIso(const DateAndTime& regional, const std::tm& local) {
    return {readableOr(regional.date, fmt::format("{:04}-{:02}-{:02}", local.tm_year + 1900, local.tm_mon + 1,
                                                  local.tm_mday)),
            readableOr(regional.time,
                       fmt::format("{:02}:{:02}:{:02}", local.tm_hour, local.tm_min, local.tm_sec))};
}

} // namespace

#if defined(_WIN32)

namespace {

std::wstring widen(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), n);
    return wide;
}

std::string narrow(const wchar_t* wide, std::size_t length) {
    if (length == 0) {
        return {};
    }
    const int size = static_cast<int>(std::min<std::size_t>(length, INT_MAX));
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, size, text.data(), n, nullptr, nullptr);
    return text;
}

// The wide path the system's calls take. A path whose full form reaches the classic limit
// of 260 characters (248 for a folder) is given as "\\?\" and its full form, which lifts
// the limit.
std::wstring systemPath(const std::string& path) {
    const std::wstring wide = widen(path);
    if (wide.starts_with(L"\\\\?\\")) {
        return wide;
    }
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed < 248) {
        return wide;
    }
    std::wstring full(needed, L'\0');
    full.resize(GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr));
    if (full.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

// The C library's error number for the system's error code of the last failed call.
int errnoOfLastError() {
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return EEXIST;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
        return EINVAL;
    default:
        return EIO;
    }
}

DWORD attributesOf(const std::string& path) {
    return GetFileAttributesW(systemPath(path).c_str());
}

unsigned int chunk(std::size_t count) {
    return static_cast<unsigned int>(std::min<std::size_t>(count, INT_MAX));
}

} // namespace

std::string_view pathSeparators() {
    return "\\/";
}

char preferredSeparator() {
    return '\\';
}

int openForReading(const std::string& path) {
    return _wopen(systemPath(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int createNewFile(const std::string& path) {
    return _wopen(systemPath(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}

std::ptrdiff_t readSome(int fd, void* into, std::size_t most) {
    return _read(fd, into, chunk(most));
}

std::ptrdiff_t writeSome(int fd, const void* bytes, std::size_t count) {
    return _write(fd, bytes, chunk(count));
}

int syncToDisk(int fd) {
    return _commit(fd);
}

int closeFile(int fd) {
    return _close(fd);
}

int replaceFile(const char* from, const char* to) {
    if (MoveFileExW(systemPath(from).c_str(), systemPath(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    errno = errnoOfLastError();
    return -1;
}

int removeFile(const std::string& path) {
    return _wunlink(systemPath(path).c_str());
}

bool describeOpenFile(int fd, OpenFileInfo& info) {
    struct _stat64 s {};
    if (_fstat64(fd, &s) != 0) {
        return false;
    }
    info.isFolder = (s.st_mode & _S_IFMT) == _S_IFDIR;
    info.isRegular = (s.st_mode & _S_IFMT) == _S_IFREG;
    info.size = s.st_size > 0 ? static_cast<unsigned long long>(s.st_size) : 0;
    return true;
}

bool pathExists(const std::string& path) {
    return attributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool isReadOnly(const std::string& path) {
    const DWORD a = attributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY) != 0 &&
           (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

int setReadOnly(const std::string& path, bool readOnly) {
    const DWORD a = attributesOf(path);
    if (a == INVALID_FILE_ATTRIBUTES) {
        errno = ENOENT;
        return -1;
    }
    DWORD wanted = readOnly ? (a | FILE_ATTRIBUTE_READONLY) & ~DWORD{FILE_ATTRIBUTE_NORMAL}
                            : a & ~DWORD{FILE_ATTRIBUTE_READONLY};
    if (wanted == 0) {
        wanted = FILE_ATTRIBUTE_NORMAL; // valid only alone
    }
    if (SetFileAttributesW(systemPath(path).c_str(), wanted)) {
        return 0;
    }
    errno = errnoOfLastError();
    return -1;
}

namespace {

// The volume and file index of an existing file (or folder), through links; false when it
// cannot be opened.
bool fileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE file =
        CreateFileW(systemPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    return known;
}

std::wstring fullPath(const std::string& path) {
    const std::wstring wide = widen(path);
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(needed, L'\0');
    full.resize(GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr));
    return full;
}

} // namespace

bool sameFile(const std::string& a, const std::string& b) {
    if (!pathExists(a) || !pathExists(b)) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    if (fileIdentity(a, first) && fileIdentity(b, second)) {
        return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
               first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
    }
    // A file that cannot be opened (in use without sharing): its full path, letter case aside.
    const std::wstring fullA = fullPath(a), fullB = fullPath(b);
    return CompareStringOrdinal(fullA.c_str(), static_cast<int>(fullA.size()), fullB.c_str(),
                                static_cast<int>(fullB.size()), TRUE) == CSTR_EQUAL;
}

bool isFolder(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Creates the folders of the path that are missing; false (errno set) when one cannot be.
bool makeFolderChain(const std::string& path) {
    // The root of a network path (\\server\share) is not created: it is skipped whole.
    std::size_t from = 0;
    if (path.size() > 1 && isPathSeparator(path[0]) && isPathSeparator(path[1])) {
        int separators = 0;
        while (from < path.size() && separators < 4) {
            separators += isPathSeparator(path[from++]) ? 1 : 0;
        }
    }
    for (std::size_t at = from; at <= path.size(); ++at) {
        if (at < path.size() && !isPathSeparator(path[at])) {
            continue;
        }
        const std::string folder = path.substr(0, at);
        if (folder.empty() || folder.back() == ':' || isPathSeparator(folder.back()) || isFolder(folder)) {
            continue;
        }
        if (!CreateDirectoryW(systemPath(folder).c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS) {
            errno = errnoOfLastError();
            return false;
        }
    }
    return true;
}

std::string executableFolder() {
    std::wstring name(MAX_PATH, L'\0');
    while (true) {
        const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0) {
            return ".";
        }
        if (n < name.size()) {
            name.resize(n);
            break;
        }
        name.resize(name.size() * 2);
    }
    const std::string program = narrow(name.data(), name.size());
    const auto last = program.find_last_of(pathSeparators());
    return last == std::string::npos ? std::string(".") : program.substr(0, last);
}

DateAndTime localDateAndTime(std::time_t t) {
    std::tm local{};
    localtime_s(&local, &t);
    SYSTEMTIME moment{};
    moment.wYear = static_cast<WORD>(local.tm_year + 1900);
    moment.wMonth = static_cast<WORD>(local.tm_mon + 1);
    moment.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    moment.wDay = static_cast<WORD>(local.tm_mday);
    moment.wHour = static_cast<WORD>(local.tm_hour);
    moment.wMinute = static_cast<WORD>(local.tm_min);
    moment.wSecond = static_cast<WORD>(local.tm_sec);
    wchar_t date[80];
    wchar_t time[80];
    // Each count holds the closing NUL; 0 is a failure.
    const int dateSize =
        GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &moment, nullptr, date, 80, nullptr);
    const int timeSize = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &moment, nullptr, time, 80);
    return readableOrIso(
        {dateSize > 0 ? narrow(date, static_cast<std::size_t>(dateSize - 1)) : std::string(),
         timeSize > 0 ? narrow(time, static_cast<std::size_t>(timeSize - 1)) : std::string()},
        local);
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return {argv + std::min(argc, 1), argv + argc};
    }
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.push_back(narrow(wide[i], wcslen(wide[i])));
    }
    LocalFree(wide);
    return arguments;
}

Utf8Console::Utf8Console() : previous_(GetConsoleOutputCP()) {
    SetConsoleOutputCP(CP_UTF8);
}

Utf8Console::~Utf8Console() {
    if (previous_ != 0) {
        SetConsoleOutputCP(previous_);
    }
}

void returnFreedMemory() {
    _heapmin();
}

#else // POSIX

std::string_view pathSeparators() {
    return "/";
}

char preferredSeparator() {
    return '/';
}

int openForReading(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

int createNewFile(const std::string& path) {
    // The kernel applies the umask to the mode, so no process-wide setting is touched.
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
}

std::ptrdiff_t readSome(int fd, void* into, std::size_t most) {
    return ::read(fd, into, most);
}

std::ptrdiff_t writeSome(int fd, const void* bytes, std::size_t count) {
    return ::write(fd, bytes, count);
}

int syncToDisk(int fd) {
    return ::fsync(fd);
}

int closeFile(int fd) {
    return ::close(fd);
}

int replaceFile(const char* from, const char* to) {
    return ::rename(from, to);
}

int removeFile(const std::string& path) {
    return ::unlink(path.c_str());
}

bool describeOpenFile(int fd, OpenFileInfo& info) {
    struct stat s {};
    if (::fstat(fd, &s) != 0) {
        return false;
    }
    info.isFolder = S_ISDIR(s.st_mode);
    info.isRegular = S_ISREG(s.st_mode);
    info.size = s.st_size > 0 ? static_cast<unsigned long long>(s.st_size) : 0;
    return true;
}

bool pathExists(const std::string& path) {
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0;
}

bool isReadOnly(const std::string& path) {
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0 && !S_ISDIR(s.st_mode) &&
           (s.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

int setReadOnly(const std::string& path, bool readOnly) {
    struct stat s {};
    if (::stat(path.c_str(), &s) != 0) {
        return -1;
    }
    const mode_t mode = s.st_mode & 07777;
    return ::chmod(path.c_str(), readOnly ? mode & ~mode_t{S_IWUSR | S_IWGRP | S_IWOTH} : mode | S_IWUSR);
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool isFolder(const std::string& path) {
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

// Creates the folders of the path that are missing; false (errno set) when one cannot be.
bool makeFolderChain(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec) {
        errno = ec.value();
        return false;
    }
    return true;
}

#if defined(__EMSCRIPTEN__)
// Under node the program is its script, the second word of node's command line; in a
// browser the engine's files lie at the root of its own file system.
EM_JS(void, scriptFolder, (char* folder, int size), {
    if (typeof process == "object" && process.argv && process.argv[1]) {
        stringToUTF8(require("path").dirname(process.argv[1]), folder, size);
    }
});
#endif

std::string executableFolder() {
#if defined(__EMSCRIPTEN__)
    char folder[PATH_MAX] = "/";
    scriptFolder(folder, PATH_MAX);
    return folder;
#else
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
#endif
}

namespace {

// The locale the C library takes for dates and times: LC_ALL, else LC_TIME, else LANG.
std::string timeLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "C";
}

bool isCLocale(std::string_view name) {
    return name == "C" || name == "POSIX" || name.starts_with("C.");
}

std::string formatted(const char* format, const std::tm& local, locale_t timeLocale) {
    char text[128];
    return std::string(text, strftime_l(text, sizeof text, format, &local, timeLocale));
}

} // namespace

DateAndTime localDateAndTime(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    const std::string name = timeLocaleName();
    if (isCLocale(name)) {
        return readableOrIso({}, local);
    }
    // A locale object of the time category alone: the program's own locale is left as it is.
    const std::unique_ptr<std::remove_pointer_t<locale_t>, decltype(&freelocale)> timeLocale(
        newlocale(LC_TIME_MASK, name.c_str(), locale_t{}), &freelocale);
    if (!timeLocale) {
        return readableOrIso({}, local);
    }
    return readableOrIso({formatted("%x", local, timeLocale.get()), formatted("%X", local, timeLocale.get())},
                         local);
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return {argv + std::min(argc, 1), argv + argc};
}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

void returnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

#endif

bool createFolders(const std::string& path) {
    if (!makeFolderChain(path)) {
        return false;
    }
    if (!isFolder(path)) { // a file stands where the folder belongs
        errno = ENOTDIR;
        return false;
    }
    return true;
}

} // namespace torrentix::platform
