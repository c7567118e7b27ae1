#include "files/text_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr std::size_t kBufferSize = 4096;
constexpr int kEndOfFile = -1;

// Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves undefined map to the C1
// controls of the same value, so every byte decodes to a character and encodes back unchanged.
constexpr char32_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Windows1252ToUtf8(const std::string& raw) {
    std::string out;
    out.reserve(raw.size());
    for (char c : raw) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            AppendUtf8(out, b < 0xA0 ? kWindows1252High[b - 0x80] : char32_t{b});
        }
    }
    return out;
}

struct DecodedChar {
    char32_t cp;
    std::size_t length;  // 0 when the bytes at the position are not well-formed UTF-8
};

// Decodes the multi-byte sequence at text[pos]; overlong forms, surrogates and values past
// U+10FFFF count as malformed so that each of their bytes becomes its own '?'.
DecodedChar DecodeUtf8(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return {0, 0};
    }
    if (text.size() - pos < length) {
        return {0, 0};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if ((b & 0xC0) != 0x80) {
            return {0, 0};
        }
        cp = (cp << 6) | (b & 0x3Fu);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return {0, 0};
    }
    return {cp, length};
}

char ToWindows1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    const auto* end = std::end(kWindows1252High);
    const auto* hit = std::find(std::begin(kWindows1252High), end, cp);
    return hit == end ? '?' : static_cast<char>(0x80 + (hit - std::begin(kWindows1252High)));
}

std::string Utf8ToWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (static_cast<unsigned char>(c) < 0x80) {
            if (c != '\0') {
                out += c;
            }
            ++pos;
            continue;
        }
        const DecodedChar decoded = DecodeUtf8(text, pos);
        out += decoded.length == 0 ? '?' : ToWindows1252(decoded.cp);
        pos += std::max<std::size_t>(decoded.length, 1);
    }
    return out;
}

std::string WithoutZeros(std::string_view text) {
    std::string out(text);
    std::erase(out, '\0');
    return out;
}

// Loops over short writes and EINTR. On an error the rest of the piece is dropped: the caller has
// no way to act on it, and the bytes already written are left as they are.
void WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

int OpenFd(const std::string& path, int flags) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool LockExclusive(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

// Empties a regular file only; like O_TRUNC, devices and pipes are left alone, since ftruncate
// refuses them and they hold nothing to empty.
bool EmptyIfRegular(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return false;
    }
    return !S_ISREG(info.st_mode) || ::ftruncate(fd, 0) == 0;
}

}  // namespace

TextFile::~TextFile() {
    Close();
}

bool TextFile::CreateForWriting(const std::string& path) {
    Close();
    // No O_TRUNC: the file may belong to another holder, and it may be emptied only once the
    // lock is ours. Write-only is the fallback for a file we may write but not read.
    int fd = OpenFd(path, O_RDWR | O_CREAT);
    if (fd < 0) {
        fd = OpenFd(path, O_WRONLY);
    }
    if (fd < 0) {
        return false;
    }
    if (!LockExclusive(fd) || !EmptyIfRegular(fd)) {
        ::close(fd);
        return false;
    }
    Adopt(fd, false);
    return true;
}

CreateNewOutcome TextFile::CreateNew(const std::string& path) {
    Close();
    // O_EXCL makes "no such name yet" and "created" one step, so no earlier file is ever emptied.
    const int fd = OpenFd(path, O_WRONLY | O_CREAT | O_EXCL);
    if (fd < 0) {
        return errno == EEXIST ? CreateNewOutcome::NameTaken : CreateNewOutcome::Failed;
    }
    if (!LockExclusive(fd)) {
        ::close(fd);
        return CreateNewOutcome::Failed;
    }
    Adopt(fd, false);
    return CreateNewOutcome::Created;
}

bool TextFile::OpenForReading(const std::string& path) {
    Close();
    const int fd = OpenFd(path, O_RDONLY);
    if (fd < 0) {
        return false;
    }
    if (!LockExclusive(fd)) {
        ::close(fd);
        return false;
    }
    Adopt(fd, true);
    return true;
}

void TextFile::Adopt(int fd, bool forReading) {
    fd_ = fd;
    forReading_ = forReading;
    atEnd_ = false;
    buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize + 1);
    buffer_[0] = '\0';
    begin_ = 0;
    end_ = 0;
}

void TextFile::WriteLine(std::string_view text, TextEncoding encoding) {
    if (fd_ < 0 || forReading_) {
        return;
    }
    std::string bytes =
        encoding == TextEncoding::Ansi ? Utf8ToWindows1252(text) : WithoutZeros(text);
    if (writeThrough_) {
        bytes += "\r\n";
        WriteAll(fd_, bytes.data(), bytes.size());
        return;
    }
    AddPiece(bytes.data(), bytes.size());
    AddPiece("\r\n", 2);
}

void TextFile::AddPiece(const char* data, std::size_t size) {
    if (end_ + size >= kBufferSize) {
        FlushBuffer();
    }
    if (size >= kBufferSize) {
        WriteAll(fd_, data, size);
        return;
    }
    std::memcpy(buffer_.get() + end_, data, size);
    end_ += size;
}

void TextFile::FlushBuffer() {
    if (end_ > 0) {
        WriteAll(fd_, buffer_.get(), end_);
    }
    end_ = 0;
}

std::string TextFile::ReadLine(TextEncoding encoding, std::size_t keepAtMost) {
    std::string line;
    if (fd_ < 0 || !forReading_ || atEnd_) {
        return line;
    }
    const int terminator = TakeLineBytes(line, keepAtMost);
    if (terminator == kEndOfFile) {
        atEnd_ = true;
    } else if (terminator == '\r') {
        ConsumeLfAfterCr();
    }
    return encoding == TextEncoding::Ansi ? Windows1252ToUtf8(line) : line;
}

// Appends the line's bytes, up to keepAtMost in all, and consumes its terminator. Returns the
// terminator, or kEndOfFile when the file (or a read error) ended the line.
int TextFile::TakeLineBytes(std::string& line, std::size_t keepAtMost) {
    for (;;) {
        if (begin_ == end_ && !Refill()) {
            return kEndOfFile;
        }
        const char* start = buffer_.get() + begin_;
        // strcspn stops at CR, LF or a zero byte, scanning fast; the zero sentinel at end_ bounds
        // it, and is told apart from a zero byte of the file by its position.
        const std::size_t run = std::strcspn(start, "\r\n");
        if (line.size() < keepAtMost) {
            line.append(start, std::min(run, keepAtMost - line.size()));
        }
        begin_ += run;
        if (begin_ < end_) {
            return static_cast<unsigned char>(buffer_[begin_++]);
        }
    }
}

// The LF of a CR LF pair may be the first byte of the next buffer load.
void TextFile::ConsumeLfAfterCr() {
    if (begin_ == end_ && !Refill()) {
        atEnd_ = true;
        return;
    }
    if (buffer_[begin_] == '\n') {
        ++begin_;
    }
}

bool TextFile::Refill() {
    ssize_t got;
    do {
        got = ::read(fd_, buffer_.get(), kBufferSize);
    } while (got < 0 && errno == EINTR);
    begin_ = 0;
    end_ = got > 0 ? static_cast<std::size_t>(got) : 0;
    buffer_[end_] = '\0';
    return end_ > 0;
}

void TextFile::Close() {
    if (fd_ < 0) {
        return;
    }
    if (!forReading_) {
        FlushBuffer();
    }
    // Closing the only descriptor of this open file description releases the flock.
    ::close(fd_);
    fd_ = -1;
    forReading_ = false;
    atEnd_ = false;
    buffer_.reset();
    begin_ = 0;
    end_ = 0;
}

bool TextFile::IsOpen() const {
    return fd_ >= 0;
}

void TextFile::SetWriteThrough(bool on) {
    writeThrough_ = on;
    if (on && fd_ >= 0 && !forReading_) {
        FlushBuffer();
    }
}
