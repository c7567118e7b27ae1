#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

enum class TextEncoding { Utf8, Ansi };  // Ansi is Windows-1252 here

enum class CreateNewOutcome { Created, NameTaken, Failed };

// A file on disk written or read as text lines ended by CR LF. An open file holds an exclusive
// flock, so a second running copy of the program can neither read nor write it meanwhile.
class TextFile {
  public:
    TextFile() = default;
    ~TextFile();  // closes (writes out the buffer)
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Creates the file, or empties an existing one, for writing; closes an open file first.
    // Result: true when open. False when the path cannot be opened or another holder has the
    // file locked; an existing file is emptied only after its lock is ours, so a failed call
    // leaves its bytes untouched.
    bool CreateForWriting(const std::string& path);

    // Creates the file for writing only if no file of that name exists; closes an open file
    // first. NameTaken when the name exists (its bytes stay as they are), Failed for any other
    // failure; the TextFile is open only on Created.
    CreateNewOutcome CreateNew(const std::string& path);

    // Opens an existing file for reading; closes an open file first. False when the file does
    // not exist, cannot be opened, or another holder has it locked.
    bool OpenForReading(const std::string& path);

    // Writes the text in the encoding, then CR LF. Zero characters in the text are dropped,
    // because a zero byte would end the line for a reader. In Ansi, characters Windows-1252
    // cannot represent (and malformed UTF-8 bytes) become '?'. Does nothing unless the file was
    // opened for writing. Write errors are not reported; bytes written earlier stay intact.
    void WriteLine(std::string_view text, TextEncoding encoding = TextEncoding::Utf8);

    // Reads the next line: up to LF, CR, CR LF, a zero byte or the end of the file, without the
    // terminator. Ansi decodes Windows-1252 to UTF-8; Utf8 returns the raw bytes. The whole line
    // is consumed, but only its first keepAtMost raw bytes are kept. At the end of the file, after
    // a read error, or on a file not opened for reading: empty text, on every further call.
    std::string ReadLine(TextEncoding encoding, std::size_t keepAtMost = std::string::npos);

    // Writes out the buffer and closes the file, which releases the lock. No-op when closed.
    void Close();

    // Whether the TextFile holds an open file.
    bool IsOpen() const;

    // On: every later WriteLine hands its line to the OS in one write() call, so a crash loses
    // no row. Turning it on writes out what the buffer holds. Stays in force across opens.
    void SetWriteThrough(bool on);

  private:
    void Adopt(int fd, bool forReading);
    void AddPiece(const char* data, std::size_t size);
    void FlushBuffer();
    bool Refill();
    int TakeLineBytes(std::string& line, std::size_t keepAtMost);
    void ConsumeLfAfterCr();

    int fd_ = -1;
    bool forReading_ = false;
    bool writeThrough_ = false;
    bool atEnd_ = false;
    // One extra byte past the 4096 holds a zero sentinel, so the reader's scan needs no bound.
    std::unique_ptr<char[]> buffer_;
    std::size_t begin_ = 0;  // reading: next unread byte
    std::size_t end_ = 0;    // reading: end of valid bytes; writing: bytes gathered
};
