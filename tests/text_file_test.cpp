#include "files/text_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// A fresh temporary folder per test, so that no test sees another's files.
class TextFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "text_file_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string PathOf(const std::string& name) const { return dir_ + "/" + name; }

    // Writes the bytes with plain POSIX calls, bypassing TextFile.
    static void PutBytes(const std::string& path, const std::string& bytes) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        ::close(fd);
    }

    // Reads the bytes with plain POSIX calls, bypassing TextFile and its lock.
    static std::string GetBytes(const std::string& path) {
        std::string bytes;
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0) {
            return "<missing>";
        }
        char chunk[8192];
        ssize_t got;
        while ((got = ::read(fd, chunk, sizeof chunk)) > 0) {
            bytes.append(chunk, static_cast<std::size_t>(got));
        }
        ::close(fd);
        return bytes;
    }

    // Reads lines in Ansi until the file is done, then checks it stays done.
    static std::vector<std::string> ReadAllLines(const std::string& path, std::size_t count) {
        TextFile file;
        EXPECT_TRUE(file.OpenForReading(path));
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < count; ++i) {
            lines.push_back(file.ReadLine(TextEncoding::Ansi));
        }
        EXPECT_EQ(file.ReadLine(TextEncoding::Ansi), "");
        EXPECT_EQ(file.ReadLine(TextEncoding::Ansi), "");
        return lines;
    }

    std::string dir_;
};

struct WriteCase {
    const char* name;
    std::vector<std::pair<std::string, TextEncoding>> lines;
    std::string expected;
};

TEST_F(TextFileTest, WritesLinesAsBytes) {
    const auto utf8 = TextEncoding::Utf8;
    const auto ansi = TextEncoding::Ansi;
    const WriteCase cases[] = {
        {"no line", {}, ""},
        {"empty line", {{"", utf8}}, "\r\n"},
        {"two lines", {{"1,0\t87,0", utf8}, {"x", utf8}}, "1,0\t87,0\r\nx\r\n"},
        {"utf8 as is", {{"Maß €", utf8}}, "Ma\xC3\x9F \xE2\x82\xAC\r\n"},
        {"ansi latin-1 range", {{"Maß ÿ\u00A0", ansi}}, "Ma\xDF \xFF\xA0\r\n"},
        {"ansi 0x80..0x9F",
         {{"€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ", ansi}},
         "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96\x97\x98"
         "\x99\x9A\x9B\x9C\x9E\x9F\r\n"},
        {"ansi unrepresentable", {{"a中b😀c\u0080", ansi}}, "a?b?c?\r\n"},
        {"ansi malformed utf8",
         {{"a\xC3z\xE2\x82 \xC0\xAF \xED\xA0\x80", ansi}},
         "a?z?? ?? ???\r\n"},
        {"zero dropped utf8", {{"ab\0cd"s, utf8}}, "abcd\r\n"},
        {"zero dropped ansi", {{"ab\0cd"s, ansi}}, "abcd\r\n"},
        {"only zero", {{"\0"s, utf8}}, "\r\n"},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = PathOf("out.txt");
        TextFile file;
        ASSERT_TRUE(file.CreateForWriting(path));
        for (const auto& [text, encoding] : c.lines) {
            file.WriteLine(text, encoding);
        }
        file.Close();
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(GetBytes(path), c.expected);
    }
}

TEST_F(TextFileTest, DefaultEncodingIsUtf8) {
    const std::string path = PathOf("out.txt");
    TextFile file;
    ASSERT_TRUE(file.CreateForWriting(path));
    file.WriteLine("Original-Maßstab");
    file.Close();
    EXPECT_EQ(GetBytes(path), "Original-Ma\xC3\x9Fstab\r\n");
}

TEST_F(TextFileTest, CreatingOverAnExistingFileEmptiesIt) {
    const std::string path = PathOf("old.txt");
    PutBytes(path, "earlier content\r\nsecond line\r\n");
    TextFile file;
    ASSERT_TRUE(file.CreateForWriting(path));
    file.Close();
    EXPECT_EQ(GetBytes(path), "");

    PutBytes(path, "a much longer earlier line than the new one\r\n");
    ASSERT_TRUE(file.CreateForWriting(path));
    file.WriteLine("new");
    file.Close();
    EXPECT_EQ(GetBytes(path), "new\r\n");
}

struct ReadCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST_F(TextFileTest, ReadsLinesUpToEachTerminator) {
    const ReadCase cases[] = {
        {"empty file", "", {}},
        {"cr, cr lf, end of file", "a\rb\r\nc", {"a", "b", "c"}},
        {"lf then cr lf", "\n\r\n", {"", ""}},
        {"zero byte", "ab\0cd"s, {"ab", "cd"}},
        {"trailing lf", "a\n", {"a"}},
        {"trailing cr", "a\r", {"a"}},
        {"lf cr is two ends", "a\n\rb", {"a", "", "b"}},
        {"cr cr lf", "x\r\r\ny", {"x", "", "y"}},
        {"zero then lf", "a\0\nb"s, {"a", "", "b"}},
        {"bom is part of the line", "\xEF\xBB\xBFKorvane\r\n", {"ï»¿Korvane"}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = PathOf("in.txt");
        PutBytes(path, c.bytes);
        EXPECT_EQ(ReadAllLines(path, c.lines.size()), c.lines);
    }
}

TEST_F(TextFileTest, DecodesAnsiAsWindows1252) {
    const ReadCase cases[] = {
        {"euro and sharp s", "\x80|\xDF", {"€|ß"}},
        {"0x80..0x9F",
         "\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96",
         {"‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–"}},
        {"0x97..0x9F", "\x97\x98\x99\x9A\x9B\x9C\x9E\x9F", {"—˜™š›œžŸ"}},
        {"undefined bytes", "\x81\x8D\x8F\x90\x9D", {"\u0081\u008D\u008F\u0090\u009D"}},
        {"latin-1 bounds", "\x7F\xA0\xFF", {"\x7F\u00A0ÿ"}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = PathOf("in.txt");
        PutBytes(path, c.bytes);
        EXPECT_EQ(ReadAllLines(path, c.lines.size()), c.lines);
    }
}

TEST_F(TextFileTest, AnsiRoundTripsEveryByteThatIsNoTerminator) {
    std::string bytes;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n') {
            bytes += static_cast<char>(b);
        }
    }
    const std::string in = PathOf("in.txt");
    const std::string out = PathOf("out.txt");
    PutBytes(in, bytes);
    TextFile reader;
    ASSERT_TRUE(reader.OpenForReading(in));
    const std::string text = reader.ReadLine(TextEncoding::Ansi);
    TextFile writer;
    ASSERT_TRUE(writer.CreateForWriting(out));
    writer.WriteLine(text, TextEncoding::Ansi);
    writer.Close();
    EXPECT_EQ(GetBytes(out), bytes + "\r\n");
}

TEST_F(TextFileTest, EndOfFileStaysEvenWhenTheFileGrows) {
    const std::string path = PathOf("in.txt");
    PutBytes(path, "a");
    TextFile file;
    ASSERT_TRUE(file.OpenForReading(path));
    EXPECT_EQ(file.ReadLine(TextEncoding::Ansi), "a");
    PutBytes(path, "later\r\n");
    EXPECT_EQ(file.ReadLine(TextEncoding::Ansi), "");
}

TEST_F(TextFileTest, ReadsUtf8AsRawBytes) {
    const std::string path = PathOf("in.txt");
    PutBytes(path, "Ma\xC3\x9F\r\n\x80");
    TextFile file;
    ASSERT_TRUE(file.OpenForReading(path));
    EXPECT_EQ(file.ReadLine(TextEncoding::Utf8), "Ma\xC3\x9F");
    EXPECT_EQ(file.ReadLine(TextEncoding::Utf8), "\x80");
    EXPECT_EQ(file.ReadLine(TextEncoding::Utf8), "");
}

TEST_F(TextFileTest, ReadsAcrossBufferLoads) {
    const std::string x4095(4095, 'x');
    const std::string x4096(4096, 'x');
    const std::string long10000 = std::string(9999, 'L') + "\xDF";
    const ReadCase cases[] = {
        {"cr lf split between loads", x4095 + "\r\nnext", {x4095, "next"}},
        {"cr ends load, no lf follows", x4095 + "\rnext", {x4095, "next"}},
        {"cr ends load and file", x4095 + "\r", {x4095}},
        {"lf starts second load", x4096 + "\nnext", {x4096, "next"}},
        {"cr lf after first load", x4096 + "\r\nnext", {x4096, "next"}},
        {"line of 10000 bytes", long10000 + "\r\nend", {std::string(9999, 'L') + "ß", "end"}},
        {"line of 10000 at end", long10000, {std::string(9999, 'L') + "ß"}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = PathOf("in.txt");
        PutBytes(path, c.bytes);
        EXPECT_EQ(ReadAllLines(path, c.lines.size()), c.lines);
    }
}

TEST_F(TextFileTest, ManyLinesRoundTripInOrder) {
    std::vector<std::string> lines;
    std::string expected;
    for (int i = 0; i < 700; ++i) {
        lines.push_back(std::to_string(i) + std::string(static_cast<std::size_t>(i % 53), '-'));
        expected += lines.back() + "\r\n";
    }
    ASSERT_GT(expected.size(), 4 * 4096u);
    const std::string path = PathOf("many.txt");
    TextFile writer;
    ASSERT_TRUE(writer.CreateForWriting(path));
    for (const std::string& line : lines) {
        writer.WriteLine(line);
    }
    writer.Close();
    EXPECT_EQ(GetBytes(path), expected);
    EXPECT_EQ(ReadAllLines(path, lines.size()), lines);
}

TEST_F(TextFileTest, WritesPiecesAroundTheBufferSizeInOrder) {
    const std::size_t sizes[] = {4093, 4094, 4095, 4096, 4097, 10000};
    for (const std::size_t size : sizes) {
        SCOPED_TRACE(size);
        const std::string big(size, 'B');
        const std::string path = PathOf("big.txt");
        TextFile file;
        ASSERT_TRUE(file.CreateForWriting(path));
        file.WriteLine("head");
        file.WriteLine(big);
        file.WriteLine("tail");
        file.WriteLine(big);
        file.Close();
        EXPECT_EQ(GetBytes(path), "head\r\n" + big + "\r\ntail\r\n" + big + "\r\n");
    }
}

struct FlushCase {
    const char* name;
    std::vector<std::size_t> textSizes;
    std::size_t onDiskBeforeClose;
};

TEST_F(TextFileTest, BufferIsWrittenOutBeforeAPieceWouldFillIt) {
    const FlushCase cases[] = {
        {"4095 bytes gathered", {4091, 0}, 0},
        {"CR LF would fill the buffer", {4092, 0}, 4094},
        {"text of 4095 stays, its CR LF would fill", {4095}, 4095},
        {"text of 4096 goes straight to the file", {4096}, 4096},
        {"big text after a small line", {10, 5000}, 12 + 5000},
    };
    for (const FlushCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = PathOf("out.txt");
        std::string expected;
        TextFile file;
        ASSERT_TRUE(file.CreateForWriting(path));
        for (const std::size_t size : c.textSizes) {
            file.WriteLine(std::string(size, 'w'));
            expected += std::string(size, 'w') + "\r\n";
        }
        EXPECT_EQ(GetBytes(path).size(), c.onDiskBeforeClose);
        file.Close();
        EXPECT_EQ(GetBytes(path), expected);
    }
}

struct KeepCase {
    const char* name;
    std::string firstLine;
    std::size_t keepAtMost;
    std::string kept;
};

TEST_F(TextFileTest, KeepAtMostBoundsTheLineButConsumesIt) {
    const std::string huge(10000, 'h');
    const KeepCase cases[] = {
        {"prefix", "abcdefgh", 3, "abc"},
        {"keep nothing", "abcdefgh", 0, ""},
        {"keep exactly the line", "abcdefgh", 8, "abcdefgh"},
        {"keep more than the line", "abcdefgh", 9, "abcdefgh"},
        {"prefix of a line across loads", huge, 5000, std::string(5000, 'h')},
        {"prefix ends at a load boundary", huge, 4096, std::string(4096, 'h')},
    };
    for (const KeepCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = PathOf("in.txt");
        PutBytes(path, c.firstLine + "\r\nnext\r\n");
        TextFile file;
        ASSERT_TRUE(file.OpenForReading(path));
        EXPECT_EQ(file.ReadLine(TextEncoding::Ansi, c.keepAtMost), c.kept);
        EXPECT_EQ(file.ReadLine(TextEncoding::Ansi), "next");
        EXPECT_EQ(file.ReadLine(TextEncoding::Ansi), "");
    }
}

TEST_F(TextFileTest, BufferedLinesReachTheDiskAtClose) {
    const std::string path = PathOf("buffered.txt");
    TextFile file;
    ASSERT_TRUE(file.CreateForWriting(path));
    file.WriteLine("row");
    EXPECT_EQ(GetBytes(path), "");
    file.Close();
    EXPECT_EQ(GetBytes(path), "row\r\n");

    {
        TextFile scoped;
        ASSERT_TRUE(scoped.CreateForWriting(path));
        scoped.WriteLine("from destructor");
    }
    EXPECT_EQ(GetBytes(path), "from destructor\r\n");
}

TEST_F(TextFileTest, WriteThroughPutsEachLineOnDiskAtOnce) {
    const std::string path = PathOf("log.csv");
    TextFile file;
    file.SetWriteThrough(true);
    ASSERT_EQ(file.CreateNew(path), CreateNewOutcome::Created);
    file.WriteLine("header");
    EXPECT_EQ(GetBytes(path), "header\r\n");
    file.WriteLine("1,0\t87,0");
    EXPECT_EQ(GetBytes(path), "header\r\n1,0\t87,0\r\n");
    file.Close();
    EXPECT_EQ(GetBytes(path), "header\r\n1,0\t87,0\r\n");
}

TEST_F(TextFileTest, TurningWriteThroughOnWritesOutTheBuffer) {
    const std::string path = PathOf("log.csv");
    TextFile file;
    ASSERT_TRUE(file.CreateForWriting(path));
    file.WriteLine("buffered");
    file.SetWriteThrough(true);
    EXPECT_EQ(GetBytes(path), "buffered\r\n");
    file.WriteLine("direct");
    EXPECT_EQ(GetBytes(path), "buffered\r\ndirect\r\n");
}

// flock locks belong to the open file description, so a second open() in this process stands
// in for another running copy of the program.
class HeldFile {
  public:
    explicit HeldFile(const std::string& path) : fd_(::open(path.c_str(), O_RDWR)) {}
    ~HeldFile() { ::close(fd_); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Lock() { return fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0; }

  private:
    int fd_;
};

TEST_F(TextFileTest, FileHeldByAnotherHolderIsLeftAlone) {
    const std::string path = PathOf("held.txt");
    const std::string bytes = "someone else's\r\ndata\r\n";
    PutBytes(path, bytes);
    HeldFile holder(path);
    ASSERT_TRUE(holder.Lock());

    TextFile file;
    EXPECT_FALSE(file.CreateForWriting(path));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.OpenForReading(path));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.CreateNew(path), CreateNewOutcome::NameTaken);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(GetBytes(path), bytes);
}

TEST_F(TextFileTest, OpenTextFileLocksOthersOutUntilClosed) {
    const std::string path = PathOf("settings.ini");
    PutBytes(path, "x\r\n");
    struct Opener {
        const char* name;
        bool (TextFile::*open)(const std::string&);
    };
    const Opener openers[] = {{"create", &TextFile::CreateForWriting},
                              {"read", &TextFile::OpenForReading}};
    for (const Opener& first : openers) {
        SCOPED_TRACE(first.name);
        TextFile owner;
        ASSERT_TRUE((owner.*first.open)(path));
        HeldFile other(path);
        EXPECT_FALSE(other.Lock());
        TextFile second;
        EXPECT_FALSE(second.OpenForReading(path));
        EXPECT_FALSE(second.CreateForWriting(path));
        owner.Close();
        EXPECT_TRUE(other.Lock());
    }
}

TEST_F(TextFileTest, CreateNewNeverEmptiesAnEarlierFile) {
    const std::string path = PathOf("Liste_2023-06-01_08-04-05.csv");
    TextFile file;
    ASSERT_EQ(file.CreateNew(path), CreateNewOutcome::Created);
    EXPECT_TRUE(file.IsOpen());
    TextFile second;
    EXPECT_FALSE(second.OpenForReading(path));
    file.WriteLine("header");
    file.Close();
    EXPECT_EQ(GetBytes(path), "header\r\n");

    EXPECT_EQ(file.CreateNew(path), CreateNewOutcome::NameTaken);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(GetBytes(path), "header\r\n");

    EXPECT_EQ(file.CreateNew(PathOf("missing/log.csv")), CreateNewOutcome::Failed);
    EXPECT_EQ(file.CreateNew(""), CreateNewOutcome::Failed);
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(TextFileTest, MissingPathsFailAndLeaveTheFileClosed) {
    TextFile file;
    EXPECT_FALSE(file.OpenForReading(PathOf("absent.ini")));
    EXPECT_FALSE(file.IsOpen());
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.ReadLine(TextEncoding::Ansi), "");
    file.WriteLine("goes nowhere");

    EXPECT_FALSE(file.CreateForWriting(PathOf("absent/out.txt")));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(std::filesystem::exists(PathOf("absent")));
    EXPECT_FALSE(file.CreateForWriting(""));
}

TEST_F(TextFileTest, OpeningAgainClosesTheEarlierFileFirst) {
    const std::string first = PathOf("first.txt");
    const std::string second = PathOf("second.txt");
    PutBytes(second, "line\r\n");
    TextFile file;
    ASSERT_TRUE(file.CreateForWriting(first));
    file.WriteLine("kept");
    ASSERT_TRUE(file.OpenForReading(second));
    EXPECT_EQ(GetBytes(first), "kept\r\n");
    HeldFile other(first);
    EXPECT_TRUE(other.Lock());
    EXPECT_EQ(file.ReadLine(TextEncoding::Ansi), "line");
}

TEST_F(TextFileTest, ReadAndWriteOnlyWorkInTheirOwnMode) {
    const std::string path = PathOf("in.txt");
    PutBytes(path, "a\r\nb\r\n");
    TextFile file;
    ASSERT_TRUE(file.OpenForReading(path));
    file.WriteLine("not written");
    EXPECT_EQ(file.ReadLine(TextEncoding::Ansi), "a");
    file.SetWriteThrough(true);
    file.WriteLine("not written either");
    file.Close();
    EXPECT_EQ(GetBytes(path), "a\r\nb\r\n");

    ASSERT_TRUE(file.CreateForWriting(path));
    file.WriteLine("w");
    EXPECT_EQ(file.ReadLine(TextEncoding::Ansi), "");
    file.Close();
    EXPECT_EQ(GetBytes(path), "w\r\n");
}

TEST_F(TextFileTest, DirectoryReadsAsEndOfFileAndCannotBeCreated) {
    TextFile file;
    if (file.OpenForReading(dir_)) {
        EXPECT_EQ(file.ReadLine(TextEncoding::Ansi), "");
        EXPECT_EQ(file.ReadLine(TextEncoding::Ansi), "");
        file.Close();
    }
    EXPECT_FALSE(file.CreateForWriting(dir_));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(std::filesystem::is_directory(dir_));
}

TEST_F(TextFileTest, WriteErrorsAreSwallowed) {
    // /dev/full fails every write with ENOSPC; the writer must neither loop nor crash.
    TextFile file;
    ASSERT_TRUE(file.CreateForWriting("/dev/full"));
    file.WriteLine(std::string(5000, 'x'));
    file.WriteLine("small");
    file.SetWriteThrough(true);
    file.WriteLine("direct");
    file.Close();
    EXPECT_FALSE(file.IsOpen());
}

// Root ignores permission bits, so these cases cannot fail for the reason they test.
TEST_F(TextFileTest, WriteOnlyFileIsCreatedWithoutReadAccess) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permission bits do not apply to root";
    }
    const std::string path = PathOf("write_only.txt");
    PutBytes(path, "old\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0200), 0);
    TextFile file;
    ASSERT_TRUE(file.CreateForWriting(path));
    file.WriteLine("new");
    file.Close();
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    EXPECT_EQ(GetBytes(path), "new\r\n");
}

TEST_F(TextFileTest, FilesWithoutAccessFailAndKeepTheirBytes) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permission bits do not apply to root";
    }
    const std::string readOnly = PathOf("read_only.txt");
    const std::string noAccess = PathOf("no_access.txt");
    PutBytes(readOnly, "keep\r\n");
    PutBytes(noAccess, "keep\r\n");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0400), 0);
    ASSERT_EQ(::chmod(noAccess.c_str(), 0000), 0);
    TextFile file;
    EXPECT_FALSE(file.CreateForWriting(readOnly));
    EXPECT_FALSE(file.OpenForReading(noAccess));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(GetBytes(readOnly), "keep\r\n");
}

}  // namespace
