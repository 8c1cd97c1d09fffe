#include "input/textblocks.h"

#include "base/lines.h"
#include "base/text.h"

#include <algorithm>
#include <cstring>

namespace torrentix {
namespace {

// The lines a block of text ends, as LineReader ends them.
// Every LF ends a line, and every CR not followed by LF; a block ends with its last line's
// end (or with the text).
int lineCount(std::string_view text) {
    auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    for (auto cr = text.find('\r'); cr != std::string_view::npos; cr = text.find('\r', cr + 1)) {
        lines += cr + 1 == text.size() || text[cr + 1] != '\n' ? 1 : 0;
    }
    return lines;
}

} // namespace

TextBlocks::TextBlocks(Read read, std::string start, std::size_t blockBytes, std::size_t sizeHint)
    : read_(std::move(read)), blockBytes_(std::max<std::size_t>(blockBytes, 1)), sizeHint_(sizeHint) {
    if (const auto* nul = std::memchr(start.data(), '\0', start.size())) {
        nul_ = static_cast<std::size_t>(static_cast<const char*>(nul) - start.data());
    }
    buffer_ = std::move(start);
    fill(utf8ByteOrderMark.size());
    if (std::string_view(buffer_).substr(0, utf8ByteOrderMark.size()) == utf8ByteOrderMark) {
        buffer_.erase(0, utf8ByteOrderMark.size());
        bytesBefore_ = utf8ByteOrderMark.size();
        bom_ = true;
    }
}

void TextBlocks::fill(std::size_t atLeast) {
    if (!atEnd_ && buffer_.capacity() < atLeast) {
        // One step, not a doubling per read; no more than the rest of the text needs.
        const std::size_t rest = sizeHint_ > bytesBefore_ ? sizeHint_ - bytesBefore_ + 1 : 0;
        buffer_.reserve(sizeHint_ == 0 ? atLeast + (1 << 16) : std::min(atLeast + (1 << 16), rest));
    }
    while (buffer_.size() < atLeast && !atEnd_) {
        const std::size_t before = buffer_.size();
        const std::size_t got = read_(buffer_, std::max<std::size_t>(atLeast - before, 1 << 16));
        atEnd_ = got == 0;
        if (!nul_) {
            if (const auto* nul = std::memchr(buffer_.data() + before, '\0', got)) {
                nul_ =
                    bytesBefore_ + static_cast<std::size_t>(static_cast<const char*>(nul) - buffer_.data());
            }
        }
    }
}

std::optional<std::string> TextBlocks::nextLine() {
    std::size_t end = buffer_.find_first_of("\r\n");
    while ((end == std::string::npos || end + 1 == buffer_.size()) && !atEnd_) {
        fill(buffer_.size() + blockBytes_);
        end = buffer_.find_first_of("\r\n");
    }
    if (buffer_.empty()) {
        return std::nullopt;
    }
    if (end == std::string::npos) {
        end = buffer_.size();
    }
    std::string line = buffer_.substr(0, end);
    const std::size_t terminator =
        end == buffer_.size()                                                            ? 0
        : (buffer_[end] == '\r' && end + 1 < buffer_.size() && buffer_[end + 1] == '\n') ? 2
                                                                                         : 1;
    buffer_.erase(0, end + terminator);
    bytesBefore_ += end + terminator;
    ++nextLine_;
    if (hasNonAscii(line)) {
        linesNonAscii_ = true;
        if (linesValidUtf8_ && !isValidUtf8(line)) {
            linesValidUtf8_ = false;
            firstNonUtf8Line_ = nextLine_ - 1;
        }
    }
    return line;
}

// After the first line end from the block size on; 0 when the buffer holds none yet. A CR
// that ends the buffer may be followed by LF: it is not taken until the next byte is known.
std::size_t TextBlocks::cutPoint() const {
    const std::size_t end = buffer_.find_first_of("\r\n", std::min(blockBytes_, buffer_.size()) - 1);
    if (end != std::string::npos && (buffer_[end] == '\n' || end + 1 < buffer_.size())) {
        return end + (buffer_[end] == '\r' && buffer_[end + 1] == '\n' ? 2 : 1);
    }
    return atEnd_ ? buffer_.size() : 0;
}

std::optional<TextBlocks::Block> TextBlocks::nextBlock() {
    fill(blockBytes_);
    std::size_t cut = cutPoint();
    while (cut == 0 && !atEnd_) {
        fill(buffer_.size() + blockBytes_); // a line longer than a block
        cut = cutPoint();
    }
    if (buffer_.empty()) {
        return std::nullopt;
    }
    Block block{std::move(buffer_), nextLine_};
    {
        std::lock_guard lock(spareMutex_);
        if (!spare_.empty()) {
            buffer_ = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    buffer_.assign(block.text, cut, std::string::npos);
    block.text.resize(cut);
    bytesBefore_ += cut;
    nextLine_ += lineCount(block.text);
    return block;
}

void TextBlocks::giveBack(std::string text) {
    std::lock_guard lock(spareMutex_);
    spare_.push_back(std::move(text));
}

std::optional<std::size_t> TextBlocks::firstNul() {
    while (!nul_ && !atEnd_) {
        bytesBefore_ += buffer_.size();
        buffer_.clear();
        fill(blockBytes_);
    }
    return nul_;
}

double TextBlocks::fractionRead() const {
    if (sizeHint_ == 0) {
        return 0.0;
    }
    return std::min(1.0, static_cast<double>(bytesBefore_) / static_cast<double>(sizeHint_));
}

} // namespace torrentix
