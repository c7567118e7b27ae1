// Bad input and hostile surroundings that docs/robustness.md lists and no test of a single header
// covers: odd settings files, clipboard bytes that are not UTF-8, texts typed into the fields,
// folders and files without write access, and termination signals in the middle of the work.

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QMimeData>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "app/dispatch.h"
#include "app/start_up.h"
#include "app/termination_signals.h"
#include "app_test_support.h"
#include "conversion/field_clipboard.h"
#include "conversion/scale_conversion.h"
#include "files/calculation_log.h"
#include "files/settings_file.h"
#include "widget_test_support.h"

namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

constexpr float kInfinity = std::numeric_limits<float>::infinity();

std::string SettingsBytes(const std::string& original, const std::string& model) {
    return "Korvane Init File\r\nOriginal-Scale:\r\n" + original + "\r\nModel-Scale:\r\n" + model +
           "\r\n";
}

struct BadSettingsCase {
    const char* name;
    std::string bytes;
    float originalScale;
    float modelScale;
};

TEST(BadSettingsFile, LoadsWhatItsStepsGiveAndLeavesTheFileAsItWas) {
    // clang-format off
    const BadSettingsCase cases[] = {
        // A zero byte ends a line, so every zero is an empty line of its own.
        {"only zero bytes",           std::string(10000, '\0'),                              1, 87},
        {"zero lines after the keys", "Korvane Init File\r\nOriginal-Scale:\r\n\0\0\0\r\nModel-Scale:\r\n\0\0"s, 0, 87},
        {"zero value lines",          "Korvane Init File\0Original-Scale:\0\0Model-Scale:\0\0"s, 0, 0},
        // Out of the float's range: an infinity or a zero with the number's sign.
        {"too large",                 SettingsBytes("1e39", "-1e39"),                        kInfinity, -kInfinity},
        {"far too large",             SettingsBytes("1e999999", "1" + std::string(5000, '0')), kInfinity, kInfinity},
        {"too small",                 SettingsBytes("1e-50", "-1e-999999"),                  0, -0.0f},
        {"FLT_MAX and the tie above", SettingsBytes("3.4028235e38", "3.4028236e38"),         3.4028235e38f, kInfinity},
    };
    // clang-format on
    for (const BadSettingsCase& row : cases) {
        SCOPED_TRACE(row.name);
        ScopedWorkingDirectory dir;
        WriteFileBytes(kSettingsFilePath, row.bytes);
        ScaleState state{3.0f, 4.0f, 0.0f, 0.0f};
        LoadSettings(state);
        EXPECT_EQ(state.originalScale, row.originalScale);
        EXPECT_EQ(state.modelScale, row.modelScale);
        EXPECT_EQ(std::signbit(state.modelScale), std::signbit(row.modelScale));
        EXPECT_EQ(ReadFileBytes(kSettingsFilePath), row.bytes);
    }
}

TEST(BadSettingsFile, NoAssetsFolderLeavesTheDefaults) {
    ScopedWorkingDirectory dir;
    ScaleState state{3.0f, 4.0f, 0.0f, 0.0f};
    LoadSettings(state);
    EXPECT_EQ(state.originalScale, 1.0f);
    EXPECT_EQ(state.modelScale, 87.0f);
    EXPECT_FALSE(FileExists("Assets"));
}

struct ClipboardBytesCase {
    const char* name;
    const char* mimeType;
    std::string bytes;
    const char* pasted;
};

// Another program may offer bytes that are not UTF-8 at all; Qt turns each bad sequence into
// U+FFFD, which is no digit, so the number ends there.
TEST(ClipboardFromAnotherProgram, InvalidUtf8PastesTheNumberBeforeIt) {
    // clang-format off
    const ClipboardBytesCase cases[] = {
        {"bad bytes first",          "text/plain",               "\xff\xfe" "12",       "0,00"},
        {"bad bytes after",          "text/plain",               "12\xff\xfe",          "12,00"},
        {"overlong encoded digit",   "text/plain",               "\xc0\xb1",            "0,00"},
        {"lone surrogate after",     "text/plain",               "3,5\xed\xa0\x80",     "3,50"},
        {"cut-off sequence after",   "text/plain;charset=utf-8", "7\xe2\x82",           "7,00"},
        {"Latin-1 no-break space",   "text/plain;charset=utf-8", "\xa0" "5",            "0,00"},
        {"zero bytes inside",        "text/plain",               "4\0" "2"s,            "4,00"},
    };
    // clang-format on
    for (const ClipboardBytesCase& row : cases) {
        SCOPED_TRACE(row.name);
        FieldsFixture fixture;
        auto* offered = new QMimeData;
        offered->setData(QString::fromLatin1(row.mimeType),
                         QByteArray(row.bytes.data(), static_cast<qsizetype>(row.bytes.size())));
        QGuiApplication::clipboard()->setMimeData(offered);
        PasteField(*fixture.fields.originalSizeField, 2);
        EXPECT_EQ(Text(fixture.fields.originalSizeField), row.pasted);
    }
}

struct TypedCase {
    const char* name;
    std::string typed;  // into originalSizeField, at 1 : 87
    const char* originalSize;
    const char* modelSize;
};

TEST(TypedText, IsReadAsItsLeadingNumberAndRewritten) {
    // clang-format off
    const TypedCase cases[] = {
        // QLineEdit keeps at most 32767 characters of a longer text; those digits are too large.
        {"a megabyte of digits",       std::string(1 << 20, '9'),   "+Infinity", "+Infinity"},
        {"long junk after a number",   "5" + std::string(100000, 'x'), "5,00",   "0,06"},
        {"exponent far too large",     "1e999999",                  "+Infinity", "+Infinity"},
        {"exponent far too small",     "1e-999999",                 "0,00",      "0,00"},
        {"minus zero",                 "-0",                        "0,00",      "0,00"},
        // Only ASCII digits are digits.
        {"Arabic-Indic three",         "\xd9\xa3",                  "0,00",      "0,00"},
        {"Devanagari one two",         "\xe0\xa5\xa7\xe0\xa5\xa8",  "0,00",      "0,00"},
        {"fullwidth eight seven",      "\xef\xbc\x98\xef\xbc\x97",  "0,00",      "0,00"},
        {"superscript two after 8",    "87\xc2\xb2",                "87,00",     "1,00"},
        {"Arabic decimal separator",   "87\xd9\xab" "5",            "87,00",     "1,00"},
        {"zero character inside",      "87\0" "5"s,                 "87,00",     "1,00"},
    };
    // clang-format on
    for (const TypedCase& row : cases) {
        SCOPED_TRACE(row.name);
        FieldsFixture fixture;
        fixture.SetTexts("1,0", "87,0", "", "");
        fixture.fields.originalSizeField->setText(
            QString::fromUtf8(row.typed.data(), static_cast<qsizetype>(row.typed.size())));
        ScaleState state;
        ComputeModelSize(state, fixture.fields);
        EXPECT_EQ(Text(fixture.fields.originalSizeField), row.originalSize);
        EXPECT_EQ(Text(fixture.fields.modelSizeField), row.modelSize);
    }
}

// Permission bits do not bind root, so as root the work runs in a child process that has given
// up root for the unprivileged "nobody"; as anyone else it runs right here. The result is the
// work's own, or -1 when the child did not end by itself.
int AsUnprivilegedUser(const std::function<int()>& work) {
    if (geteuid() != 0) {
        return work();
    }
    const pid_t child = fork();
    if (child == 0) {
        // A deadline, not a wait: a fault that blocks the child ends it instead of the test run.
        alarm(60);
        constexpr uid_t kNobody = 65534;
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) {
            _exit(100);
        }
        // _exit: the child must not run the parent's exit handlers or test teardown.
        _exit(work());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

void SetMode(const std::string& path, fs::perms mode) {
    fs::permissions(path, mode, fs::perm_options::replace);
}

constexpr auto kOpen = fs::perms::all;
constexpr auto kReadOnlyFolder = fs::perms::owner_read | fs::perms::owner_exec |
                                 fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec;
constexpr auto kReadOnlyFile =
    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
constexpr auto kWritableFile =
    kReadOnlyFile | fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

std::vector<std::string> LogsHere() {
    std::vector<std::string> logs;
    for (const auto& entry : fs::directory_iterator(".")) {
        if (entry.path().extension() == ".csv") {
            logs.push_back(entry.path().filename().string());
        }
    }
    return logs;
}

enum class SettingsOnDisk { None, Earlier };

struct AccessCase {
    const char* name;
    fs::perms workingFolder;
    fs::perms assetsFolder;
    SettingsOnDisk settings;
    fs::perms settingsFile;
    // Outcomes.
    float loadedOriginalScale;  // what LoadSettings gives before the save
    bool saved;                 // whether the save replaced or created the file
    bool logCanStart;           // false: a log start must fail quietly
};

// Exit codes of the unprivileged work, so that the parent can tell what went wrong.
enum AccessResult { kAsExpected = 0, kWrongLoad = 1, kWrongState = 2, kWrongLog = 3 };

// Closes a notice that should not have come, so that a fault cannot leave the test waiting.
class NoticeCloser {
  public:
    NoticeCloser() { Arm(); }
    bool closed = false;

  private:
    void Arm() {
        QTimer::singleShot(0, &context_, [this] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                closed = true;
                box->close();
            }
            Arm();
        });
    }
    QObject context_;  // its end cancels the look still pending
};

int LoadSaveAndLog(const AccessCase& row, const NumberFields& fields, QWidget* owner) {
    ScaleState state;
    LoadSettings(state);
    if (state.originalScale != row.loadedOriginalScale) {
        return kWrongLoad;
    }
    SaveSettings(state, fields);
    if (state.originalScale != 1.0f || state.modelScale != 87.0f) {
        return kWrongState;
    }
    // Where a log may start, starting one shows the notice; that is covered elsewhere, and here
    // only the failing start is tried.
    if (!row.logCanStart) {
        const NoticeCloser closer;
        CalculationLog log;
        StartLogging(log, owner);
        if (IsLogging(log) || closer.closed) {
            return kWrongLog;
        }
    }
    return kAsExpected;
}

TEST(FilesWithoutAccess, NothingOnDiskIsDestroyedAndTheWorkGoesOn) {
    const std::string earlier = SettingsBytes("22.5", "160");
    // clang-format off
    const AccessCase cases[] = {
        {"Assets folder read-only, no file",        kOpen,           kReadOnlyFolder, SettingsOnDisk::None,    kWritableFile,   1,     false, true},
        // A file that may be written is rewritten even in a read-only folder: it is not created.
        {"Assets folder read-only, writable file",  kOpen,           kReadOnlyFolder, SettingsOnDisk::Earlier, kWritableFile,   22.5f, true,  true},
        {"settings file read-only",                 kOpen,           kOpen,           SettingsOnDisk::Earlier, kReadOnlyFile,   22.5f, false, true},
        {"settings file without any access",        kOpen,           kOpen,           SettingsOnDisk::Earlier, fs::perms::none, 1,     false, true},
        // The settings live in Assets/, which stays writable; only the log cannot be created.
        {"working folder read-only",                kReadOnlyFolder, kOpen,           SettingsOnDisk::Earlier, kWritableFile,   22.5f, true,  false},
    };
    // clang-format on
    for (const AccessCase& row : cases) {
        SCOPED_TRACE(row.name);
        ScopedWorkingDirectory dir;
        fs::create_directory("Assets");
        if (row.settings == SettingsOnDisk::Earlier) {
            WriteFileBytes(kSettingsFilePath, earlier);
            SetMode(kSettingsFilePath, row.settingsFile);
        }
        SetMode("Assets", row.assetsFolder);
        SetMode(dir.path(), row.workingFolder);
        FieldsFixture fixture;
        fixture.SetTexts("1", "87", "", "");

        const int result = AsUnprivilegedUser(
            [&] { return LoadSaveAndLog(row, fixture.fields, &fixture.window); });

        SetMode(dir.path(), kOpen);
        SetMode("Assets", kOpen);
        EXPECT_EQ(result, kAsExpected);
        if (row.saved) {
            EXPECT_EQ(ReadFileBytes(kSettingsFilePath), SettingsBytes("1", "87"));
        } else if (row.settings == SettingsOnDisk::Earlier) {
            EXPECT_EQ(ReadFileBytes(kSettingsFilePath), earlier);
        } else {
            EXPECT_FALSE(FileExists(kSettingsFilePath));
        }
        EXPECT_TRUE(LogsHere().empty() || row.logCanStart);
    }
}

// Raises a signal from the middle of an operation: when the watched field is hidden, which is
// the first thing a conversion does to its result field.
class SignalWhenHidden : public QObject {
  public:
    SignalWhenHidden(QWidget* watched, int signalNumber) : signal_(signalNumber) {
        watched->installEventFilter(this);
    }
    bool raised = false;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide && !raised) {
            raised = true;
            std::raise(signal_);
        }
        return false;
    }

  private:
    int signal_;
};

// Runs the application's loop as the program does, after `start` has been posted to it. A loop
// that no signal ends is stopped after a generous deadline and reported with status 99, so that
// a fault fails the test instead of hanging it; a passing run never waits for the deadline.
int RunLoopAfter(QObject* context, const std::function<void()>& start) {
    QTimer::singleShot(0, context, start);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, context, [] { QCoreApplication::exit(99); });
    deadline.start(std::chrono::seconds(60));
    return QCoreApplication::exec();
}

const std::string kLogHeaderBytes = std::string(kLogHeaderLine) + "\r\n";

TEST(TerminationSignal, DuringAConversionTheConversionFinishesThenTheProgramShutsDown) {
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        CalculatorFixture fixture;
        QuitOnTerminationSignals(fixture.window);
        AnswerNextNotice([](QMessageBox&) {});
        ToggleLog(fixture.calculator);
        ASSERT_TRUE(IsLogging(fixture.calculator.log));
        fixture.window->modelScaleField->setText("160");
        fixture.window->originalSizeField->setText("320");
        SignalWhenHidden trigger(fixture.window->modelSizeField, signalNumber);

        const int status =
            RunLoopAfter(fixture.window, [&] { fixture.window->toModelButton->click(); });

        EXPECT_EQ(status, 0);
        EXPECT_TRUE(trigger.raised);
        EXPECT_EQ(Text(fixture.window->modelSizeField), "2,00");
        EXPECT_TRUE(fixture.window->modelSizeField->isVisibleTo(fixture.window));
        ShutDown(fixture.calculator);
        EXPECT_EQ(ReadFileBytes(kSettingsFilePath), SettingsBytes("1", "160"));
        const std::vector<std::string> logs = LogsHere();
        ASSERT_EQ(logs.size(), 1u);
        EXPECT_EQ(ReadFileBytes(logs[0]), kLogHeaderBytes + "1,0\t160,0\t320,00\t2,00\r\n");
    }
}

TEST(TerminationSignal, WhileTheNoticeIsShownItClosesAndTheProgramShutsDown) {
    CalculatorFixture fixture;
    QuitOnTerminationSignals(fixture.window);
    fixture.window->modelScaleField->setText("160");
    bool noticeShown = false;
    WhenWindowShown(QStringLiteral("Hinweis"), [&](QWidget&) {
        noticeShown = true;
        std::raise(SIGTERM);
    });

    const int status =
        RunLoopAfter(fixture.window, [&] { fixture.window->logToggleButton->click(); });

    EXPECT_EQ(status, 0);
    EXPECT_TRUE(noticeShown);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The log that the notice announced is open and has its header; the shut-down closes it.
    EXPECT_TRUE(IsLogging(fixture.calculator.log));
    ShutDown(fixture.calculator);
    const std::vector<std::string> logs = LogsHere();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(ReadFileBytes(logs[0]), kLogHeaderBytes);
    EXPECT_EQ(ReadFileBytes(kSettingsFilePath), SettingsBytes("1", "160"));
}

}  // namespace
