#include "files/calculation_log.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "scoped_time_zone.h"
#include "widget_test_support.h"

namespace {

namespace fs = std::filesystem;

// 4F 72 69 … 4D 61 C3 9F 0D 0A: the header in UTF-8, each "ß" as C3 9F.
const std::string kHeaderBytes =
    "Original-Ma"
    "\xC3\x9F"
    "stab\tModell-Ma"
    "\xC3\x9F"
    "stab\tOriginal-Ma"
    "\xC3\x9F"
    "\tModell-Ma"
    "\xC3\x9F"
    "\r\n";

// 2025-03-03 19:05:09 UTC.
constexpr std::int64_t kEvening = 1741028709;
const std::string kEveningName = "Liste_2025-03-03_19-05-09.csv";

const float kInfinity = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

// Every file in the current directory with its bytes.
std::map<std::string, std::string> FilesHere() {
    std::map<std::string, std::string> files;
    // Without throwing: the current directory may have been taken away on purpose.
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(".", error)) {
        const std::string name = entry.path().filename().string();
        files[name] = entry.is_regular_file() ? ReadFileBytes(name) : "<not a file>";
    }
    return files;
}

struct SeenNotice {
    std::string title;
    std::string text;
    std::vector<QMessageBox::StandardButton> buttons;
    QMessageBox::Icon icon = QMessageBox::Information;
    bool modal = false;
    QWidget* parent = nullptr;
    std::map<std::string, std::string> filesMeanwhile;
};

// Plays the person who reads the notice and presses OK. It looks for the modal box from inside
// the box's own event loop, so it needs no delay; until a box shows it looks again.
class NoticeReader {
  public:
    NoticeReader() { Arm(); }
    std::vector<SeenNotice> seen;

  private:
    void Arm() {
        QTimer::singleShot(0, &context_, [this] { ReadAndDismiss(); });
    }
    void ReadAndDismiss() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            Arm();
            return;
        }
        SeenNotice notice;
        notice.title = box->windowTitle().toStdString();
        notice.text = box->text().toStdString();
        for (QAbstractButton* button : box->buttons()) {
            notice.buttons.push_back(box->standardButton(button));
        }
        notice.icon = box->icon();
        notice.modal = box->isModal();
        notice.parent = box->parentWidget();
        notice.filesMeanwhile = FilesHere();
        seen.push_back(notice);
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            ok->click();
        } else {
            box->done(QDialog::Rejected);  // never leave a test hanging on a wrong box
        }
        Arm();
    }

    QObject context_;  // its end cancels a look still pending
};

// The log's name comes from the local clock, so each test fixes the zone and restores it after.
class CalculationLogTest : public ::testing::Test {
  protected:
    void SetUp() override { owner_.show(); }
    static void UseZone(const char* zone) { ScopedTimeZone::Use(zone); }

    ScopedTimeZone zone_{"UTC"};
    ScopedWorkingDirectory dir_;
    QWidget owner_;
    CalculationLog log_;
};

struct RowCase {
    const char* name;
    ScaleState state;
    const char* row;
};

TEST(LogRow, JoinsFourNumbersWithTabsAndDecimalCommas) {
    // clang-format off
    const RowCase cases[] = {
        {"100 at 1 : 87",      {1, 87, 100, 100.0f / 87.0f},   "1,0\t87,0\t100,00\t1,15"},
        {"zeros kept",         {22.5f, 1, 0, 0},                "22,5\t1,0\t0,00\t0,00"},
        {"no grouping",        {1, 1, 1234567, 1234567},        "1,0\t1,0\t1234567,00\t1234567,00"},
        {"negative from file", {-2, 87, 1, 0},                  "-2,0\t87,0\t1,00\t0,00"},
        // The words of values that are not finite hold no "." and pass as they are.
        {"infinite result",    {1, 0, 250, kInfinity},          "1,0\t0,0\t250,00\t+Infinity"},
        {"undefined result",   {1, 0, 0, kNaN},                 "1,0\t0,0\t0,00\tNaN"},
        {"minus infinity",     {-kInfinity, 87, 0, 0},          "-Infinity\t87,0\t0,00\t0,00"},
    };
    // clang-format on
    for (const RowCase& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(LogRow(row.state), row.row);
    }
}

TEST_F(CalculationLogTest, NamesTheLogAfterTheLocalMomentOfTheStart) {
    struct NameCase {
        const char* name;
        const char* zone;
        std::int64_t moment;
        const char* fileName;  // "": no log
    };
    // clang-format off
    const NameCase cases[] = {
        {"24-hour clock",         "UTC",    kEvening,                   "Liste_2025-03-03_19-05-09.csv"},
        {"local, not UTC",        "XYZ-2",  kEvening,                   "Liste_2025-03-03_21-05-09.csv"},
        {"first second of 1970",  "UTC",    0,                          "Liste_1970-01-01_00-00-00.csv"},
        {"past 32-bit time",      "UTC",    2147483648,                 "Liste_2038-01-19_03-14-08.csv"},
        {"year 2100",             "UTC",    4102444800,                 "Liste_2100-01-01_00-00-00.csv"},
        {"last second of 9999",   "UTC",    253402300799,               "Liste_9999-12-31_23-59-59.csv"},
        // A moment whose four-digit year cannot name it creates nothing.
        {"before 1970",           "UTC",    -1,                         ""},
        {"locally before 1970",   "XYZ+1",  0,                          ""},
        {"year 10000",            "UTC",    253402300800,               ""},
        {"beyond any calendar",   "UTC",    std::numeric_limits<std::int64_t>::max(), ""},
    };
    // clang-format on
    for (const NameCase& row : cases) {
        SCOPED_TRACE(row.name);
        ScopedWorkingDirectory here;
        UseZone(row.zone);
        const std::string fileName = row.fileName;
        NoticeReader reader;
        StartLoggingAt(log_, &owner_, row.moment);
        EXPECT_EQ(IsLogging(log_), !fileName.empty());
        StopLogging(log_);
        if (fileName.empty()) {
            EXPECT_TRUE(FilesHere().empty());
            EXPECT_TRUE(reader.seen.empty());
        } else {
            EXPECT_EQ(FilesHere(), (std::map<std::string, std::string>{{fileName, kHeaderBytes}}));
            ASSERT_EQ(reader.seen.size(), 1u);
            EXPECT_EQ(reader.seen[0].text, LogNoticeText(fileName));
        }
    }
}

TEST_F(CalculationLogTest, NoticeHasItsTitleTextAndOneOkButton) {
    NoticeReader reader;
    StartLoggingAt(log_, &owner_, kEvening);
    ASSERT_EQ(reader.seen.size(), 1u);
    const SeenNotice& notice = reader.seen[0];
    EXPECT_EQ(notice.title, "Hinweis");
    EXPECT_EQ(notice.text,
              "Die Berechnungen werden in der Datei \n     Liste_2025-03-03_19-05-09.csv\n"
              "gespeichert.");
    EXPECT_EQ(notice.buttons, std::vector<QMessageBox::StandardButton>{QMessageBox::Ok});
    EXPECT_EQ(notice.icon, QMessageBox::NoIcon);
    EXPECT_TRUE(notice.modal);
    EXPECT_EQ(notice.parent, &owner_);
}

TEST_F(CalculationLogTest, WritesTheHeaderAfterTheNoticeAndEachRowAsItComes) {
    NoticeReader reader;
    StartLoggingAt(log_, &owner_, kEvening);
    ASSERT_TRUE(IsLogging(log_));
    ASSERT_EQ(reader.seen.size(), 1u);
    // Nothing is in the file while the notice shows, so no row can come before the header.
    EXPECT_EQ(reader.seen[0].filesMeanwhile,
              (std::map<std::string, std::string>{{kEveningName, ""}}));
    EXPECT_EQ(ReadFileBytes(kEveningName), kHeaderBytes);
    ASSERT_EQ(kHeaderBytes.size(), 61u);

    // 31 2C 30 09 38 37 2C 30 09 31 30 30 2C 30 30 09 31 2C 31 35 0D 0A
    const std::string row = "1,0\t87,0\t100,00\t1,15\r\n";
    ASSERT_EQ(row.size(), 22u);
    AppendLogRow(log_, ScaleState{1, 87, 100, 100.0f / 87.0f});
    // On disk before the log is closed, so that a crash loses no row.
    EXPECT_EQ(ReadFileBytes(kEveningName), kHeaderBytes + row);
    AppendLogRow(log_, ScaleState{1, 0, 250, kInfinity});
    const std::string second = "1,0\t0,0\t250,00\t+Infinity\r\n";
    EXPECT_EQ(ReadFileBytes(kEveningName), kHeaderBytes + row + second);

    StopLogging(log_);
    EXPECT_FALSE(IsLogging(log_));
    AppendLogRow(log_, ScaleState{});
    StopLogging(log_);
    EXPECT_EQ(FilesHere(),
              (std::map<std::string, std::string>{{kEveningName, kHeaderBytes + row + second}}));
    EXPECT_EQ(reader.seen.size(), 1u);
}

TEST_F(CalculationLogTest, StartAndStopWithoutARowLeaveTheHeaderOnly) {
    NoticeReader reader;
    StartLoggingAt(log_, &owner_, kEvening);
    StopLogging(log_);
    EXPECT_EQ(FilesHere(), (std::map<std::string, std::string>{{kEveningName, kHeaderBytes}}));
}

TEST_F(CalculationLogTest, WhileOffNothingIsWritten) {
    NoticeReader reader;
    AppendLogRow(log_, ScaleState{1, 87, 100, 1.15f});
    StopLogging(log_);
    EXPECT_FALSE(IsLogging(log_));
    EXPECT_TRUE(FilesHere().empty());
    EXPECT_TRUE(reader.seen.empty());
}

TEST_F(CalculationLogTest, StartsInOneSecondKeepEveryLog) {
    NoticeReader reader;
    const std::string rowA = "1,0\t87,0\t100,00\t1,15\r\n";
    const std::string rowB = "1,0\t160,0\t3200,00\t20,00\r\n";
    StartLoggingAt(log_, &owner_, kEvening);
    AppendLogRow(log_, ScaleState{1, 87, 100, 100.0f / 87.0f});
    StopLogging(log_);
    StartLoggingAt(log_, &owner_, kEvening);
    AppendLogRow(log_, ScaleState{1, 160, 3200, 20});
    StopLogging(log_);
    StartLoggingAt(log_, &owner_, kEvening);
    StopLogging(log_);

    EXPECT_EQ(FilesHere(), (std::map<std::string, std::string>{
                               {"Liste_2025-03-03_19-05-09.csv", kHeaderBytes + rowA},
                               {"Liste_2025-03-03_19-05-09_2.csv", kHeaderBytes + rowB},
                               {"Liste_2025-03-03_19-05-09_3.csv", kHeaderBytes},
                           }));
    ASSERT_EQ(reader.seen.size(), 3u);
    EXPECT_EQ(reader.seen[0].text, LogNoticeText("Liste_2025-03-03_19-05-09.csv"));
    EXPECT_EQ(reader.seen[1].text, LogNoticeText("Liste_2025-03-03_19-05-09_2.csv"));
    EXPECT_EQ(reader.seen[2].text, LogNoticeText("Liste_2025-03-03_19-05-09_3.csv"));
}

TEST_F(CalculationLogTest, AFileOfTheSameNameIsLeftAlone) {
    WriteFileBytes(kEveningName, "keep\r\n");
    NoticeReader reader;
    StartLoggingAt(log_, &owner_, kEvening);
    AppendLogRow(log_, ScaleState{22.5f, 1, 2, 45});
    StopLogging(log_);
    EXPECT_EQ(FilesHere(),
              (std::map<std::string, std::string>{
                  {kEveningName, "keep\r\n"},
                  {"Liste_2025-03-03_19-05-09_2.csv", kHeaderBytes + "22,5\t1,0\t2,00\t45,00\r\n"},
              }));
    ASSERT_EQ(reader.seen.size(), 1u);
    EXPECT_EQ(reader.seen[0].text, LogNoticeText("Liste_2025-03-03_19-05-09_2.csv"));
}

// Permissions do not stop root, so the folder is taken away instead: no one can create in it.
TEST_F(CalculationLogTest, AFolderThatCannotBeWrittenLeavesLoggingOff) {
    ASSERT_EQ(::rmdir(dir_.path().c_str()), 0);
    NoticeReader reader;
    StartLoggingAt(log_, &owner_, kEvening);
    EXPECT_FALSE(IsLogging(log_));
    EXPECT_TRUE(reader.seen.empty());
    AppendLogRow(log_, ScaleState{});
    StopLogging(log_);
    EXPECT_FALSE(FileExists(dir_.path()));
}

}  // namespace
