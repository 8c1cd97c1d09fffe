#pragma once
// The text of a sample file as the reader takes it in: the title and header lines, then
// blocks of whole data lines of about a given size, each with the file line it starts on.
// The file is read piece by piece, never held whole, and every byte read is checked for
// NUL (a sign of a file that is not text).

#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torrentix {

class TextBlocks {
  public:
    // Appends up to the given number of further bytes to the string; returns how many.
    using Read = std::function<std::size_t(std::string&, std::size_t)>;

    // `sizeHint`: the bytes the text is expected to hold (0 when unknown), so that a small
    // file takes no more room than it needs.
    TextBlocks(Read read, std::string start, std::size_t blockBytes, std::size_t sizeHint = 0);

    // The next line (title, header) without its terminator; nullopt at the end of the text.
    std::optional<std::string> nextLine();
    bool hadByteOrderMark() const { return bom_; }

    struct Block {
        std::string text; // whole lines with their terminators
        int firstLine = 0;
    };
    // The next block of lines; nullopt at the end of the text.
    std::optional<Block> nextBlock();
    // Takes back the text of a block that has been parsed, to hold a later block: the
    // same few buffers serve the whole file. May be called from any thread.
    void giveBack(std::string text);

    // The fraction of the text handed out so far, when its size is known (else 0).
    double fractionRead() const;

    // Reads the rest of the text and gives the 0-based place of its first NUL byte, if any.
    std::optional<std::size_t> firstNul();
    // Whether the lines read so far hold bytes outside ASCII, and are valid UTF-8.
    bool linesNonAscii() const { return linesNonAscii_; }
    bool linesValidUtf8() const { return linesValidUtf8_; }
    // The first of them that is not valid UTF-8 (0 when none is).
    int firstNonUtf8Line() const { return firstNonUtf8Line_; }

  private:
    // Reads until the buffer holds `atLeast` bytes or the text ends.
    void fill(std::size_t atLeast);
    std::size_t cutPoint() const;

    Read read_;
    std::string buffer_;
    std::size_t blockBytes_;
    std::size_t sizeHint_;
    std::size_t bytesBefore_ = 0; // bytes of the text before the buffer
    bool atEnd_ = false;
    bool bom_ = false;
    int nextLine_ = 1;
    std::optional<std::size_t> nul_;
    bool linesNonAscii_ = false;
    bool linesValidUtf8_ = true;
    int firstNonUtf8Line_ = 0;
    std::mutex spareMutex_;
    std::vector<std::string> spare_;
};

} // namespace torrentix
