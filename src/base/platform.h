#pragma once
// What differs between the operating systems the program runs on: files opened by UTF-8
// paths, the replacement of one file by another, folders, the program's own folder, the
// local date and time in the user's forms, the command line and the console. Every other
// file of the program uses these and holds no system-specific code.
//
// Calls that may fail return -1 (or false) and leave the reason in errno, as the C library
// does, so that one message text serves every system.

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace torrentix::platform {

// The characters that separate the folders of a path, and the one the system writes.
std::string_view pathSeparators();
char preferredSeparator();
bool isPathSeparator(char c);

// File descriptors of files named by UTF-8 paths, always in binary mode: no byte is
// changed on the way, whatever the line ends are. Paths longer than the system's usual
// limit are accepted too.
int openForReading(const std::string& path);
// Creates, for writing, a file that must not exist yet, with the permissions the user's
// settings give a new file.
int createNewFile(const std::string& path);
std::ptrdiff_t readSome(int fd, void* into, std::size_t most);
std::ptrdiff_t writeSome(int fd, const void* bytes, std::size_t count);
// Forces the written bytes onto the disk.
int syncToDisk(int fd);
int closeFile(int fd);
// Replaces `to` with `from` in one step, also when `to` exists.
int replaceFile(const char* from, const char* to);
int removeFile(const std::string& path);

struct OpenFileInfo {
    bool isFolder = false;
    bool isRegular = false;
    unsigned long long size = 0;
};
// What an open file is; false when the system cannot tell.
bool describeOpenFile(int fd, OpenFileInfo& info);

bool pathExists(const std::string& path);
// Whether an existing file is marked read-only: without any write permission on POSIX
// systems, with the read-only attribute on Windows. False for a folder or no file.
bool isReadOnly(const std::string& path);
// Sets or clears that mark (clearing gives the owner write permission).
int setReadOnly(const std::string& path, bool readOnly);
// Whether two paths name one existing file, however they are spelt: through a symbolic
// link, with "." or ".." in them, or (where the file system ignores letter case) in other
// letter case. Decided by the file's identity (device and inode; on Windows the volume
// and file index, or the full paths without letter case where a file cannot be opened),
// never by comparing the texts. False when either does not exist.
bool sameFile(const std::string& a, const std::string& b);
bool isFolder(const std::string& path);
// Creates a folder and the folders above it that are missing; true when it is a folder
// afterwards.
bool createFolders(const std::string& path);

// The folder of the running program, without a separator at its end; "." when unknown.
std::string executableFolder();

// The date and time of a moment as its user reads them, for the results file's header.
struct DateAndTime {
    std::string date;
    std::string time;
};
// The short date and the time of the user's regional settings: the time locale (LC_ALL,
// else LC_TIME, else LANG) on POSIX systems, the user's default locale on Windows; the
// numeric locale is neither read nor changed. ISO 8601 (2026-12-07, 14:05:09) under the C
// or POSIX locale, whose 12/07/26 a European reads as 12 July, when the locale cannot be
// had, and for a form that needs more than printable ASCII (the results file may be
// Windows-1252).
DateAndTime localDateAndTime(std::time_t t);

// The program's arguments as UTF-8, without the program's name.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// While it lives, the console shows the program's UTF-8 text as such; the console's own
// setting comes back afterwards.
class Utf8Console {
  public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

  private:
    [[maybe_unused]] unsigned previous_ = 0; // the console's code page, on Windows
};

// Hands memory that the program has freed back to the system, where the C library allows it.
void returnFreedMemory();

} // namespace torrentix::platform
