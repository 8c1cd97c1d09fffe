#pragma once
// Whole-file reading and safe writing.

#include "base/error.h"

#include <cstddef>
#include <string>

namespace torrentix {

// The system calls of the atomic write after its temporary file exists. Tests replace
// them to make each one fail; the program uses the system's.
struct WriteCalls {
    std::ptrdiff_t (*write)(int, const void*, std::size_t);
    int (*fsync)(int);
    int (*close)(int);
    int (*rename)(const char*, const char*);

    static WriteCalls system();
};

// Reads a whole file; throws Error naming the path and the system's reason.
std::string readWholeFile(const std::string& path);

// A file read piece by piece from its start; errors as readWholeFile.
class FileReader {
  public:
    explicit FileReader(const std::string& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;
    // Appends up to `most` further bytes of the file to `into` (64 KB at most in one call);
    // returns how many (0 at its end).
    std::size_t readInto(std::string& into, std::size_t most);
    // The size of a regular file when it was opened (0 when unknown).
    std::size_t size() const { return size_; }

  private:
    std::string path_;
    int fd_;
    std::size_t size_ = 0;
};

// Writes a whole file in one step: the bytes go to a temporary file in the same folder,
// which then replaces `path`. A failed write leaves any earlier file untouched and no
// partial file behind. Throws Error naming the path and the system's reason. The new file
// gets the permissions the user's settings give a new file (read-write for the owner);
// one that replaces a read-only file is read-only too.
void writeFileAtomically(const std::string& path, const std::string& content,
                         const WriteCalls& calls = WriteCalls::system());

bool fileExists(const std::string& path);

// `path` with the file name cut at its last "." (a "." in a folder name does not count)
// and `suffix` appended: "/d.v/site.txt" + "_OUT.txt" gives "/d.v/site_OUT.txt".
std::string replaceExtension(const std::string& path, const std::string& suffix);

// The folder part of a path up to and including its last separator ("/", and "\\" too on
// Windows), and the file name after it.
std::string folderOf(const std::string& path);
std::string fileNameOf(const std::string& path);

// The file `name` in `folder`, with the system's separator between them when the folder
// does not end with one.
std::string pathInFolder(const std::string& folder, const std::string& name);

} // namespace torrentix
