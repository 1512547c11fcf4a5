// File streams on plain descriptors, read in large blocks: bookmarks files can reach 100 MB.
#include "framework/files/Streams.h"

#include "framework/files/UniqueFd.h"

#include <unistd.h>

namespace fw {
namespace {

constexpr std::size_t kBlockSize = 1 << 16;

} // namespace

TextInputStream::TextInputStream(int fd) : fd_(fd) {}

TextInputStream::~TextInputStream() {
    Close();
}

bool TextInputStream::Fill() {
    if (fd_ < 0)
        return false;
    buffer_.resize(kBlockSize);
    const ssize_t n = ReadSome(fd_, buffer_.data(), buffer_.size());
    buffer_.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    pos_ = 0;
    return n > 0;
}

std::string TextInputStream::ReadLine() {
    std::string line;
    while (pos_ < buffer_.size() || Fill()) {
        const std::string_view rest = std::string_view(buffer_).substr(pos_);
        const std::size_t end = rest.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            line.append(rest);
            pos_ = buffer_.size();
            continue;
        }
        line.append(rest.substr(0, end));
        pos_ += end + 1;
        // A CR may be the first half of CR LF, whose LF can sit in the next block.
        if (rest[end] == '\r' && (pos_ < buffer_.size() || Fill()) && buffer_[pos_] == '\n')
            ++pos_;
        break;
    }
    return line;
}

std::string TextInputStream::ReadAll() {
    std::string all;
    while (pos_ < buffer_.size() || Fill()) {
        all.append(buffer_, pos_);
        pos_ = buffer_.size();
    }
    return all;
}

bool TextInputStream::AtEOF() {
    return pos_ >= buffer_.size() && !Fill();
}

void TextInputStream::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    buffer_.clear();
    pos_ = 0;
}

} // namespace fw
