// Text input and binary output streams over files. Bytes pass unchanged: no encoding is applied.
#pragma once

#include <string>
#include <string_view>

namespace fw {

class TextInputStream {
public:
    // Takes ownership of an open file descriptor.
    explicit TextInputStream(int fd);
    ~TextInputStream();
    TextInputStream(const TextInputStream&) = delete;
    TextInputStream& operator=(const TextInputStream&) = delete;

    // The next line without its end; a line ends at LF, CR LF or CR.
    std::string ReadLine();
    // Everything not read yet.
    std::string ReadAll();
    // True when nothing is left to read. (EOF itself is a macro of <cstdio>.)
    bool AtEOF();
    void Close();

private:
    bool Fill();

    int fd_;
    std::string buffer_;
    std::size_t pos_ = 0;
};

} // namespace fw
