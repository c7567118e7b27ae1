#pragma once

#include <cstdint>
#include <string>

#include "conversion/scale_state.h"
#include "files/text_file.h"

class QWidget;

// The log of conversions: open from StartLogging to StopLogging, one TAB-separated row per
// conversion, each row handed to the system as it is written so that nothing is lost to a crash.
struct CalculationLog {
    TextFile file;
};

inline constexpr const char* kLogNameMask = "Liste_%yyyy-%mm-%dd_%hh-%ii-%ss.csv";
inline constexpr const char* kLogHeaderLine =
    "Original-Maßstab\tModell-Maßstab\tOriginal-Maß\tModell-Maß";

// Whether a log is open.
bool IsLogging(const CalculationLog& log);

// Opens a new log named after the local date and time now, shows the notice that names it
// (modal, owned by noticeOwner) and writes the header. If the file cannot be created, logging
// stays off and nothing is shown. A name that is taken is never emptied: "_2", "_3", … is added.
void StartLogging(CalculationLog& log, QWidget* noticeOwner);

// StartLogging for a given moment, in seconds since the epoch.
void StartLoggingAt(CalculationLog& log, QWidget* noticeOwner, std::int64_t secondsSinceEpoch);

// Closes the log if it is open.
void StopLogging(CalculationLog& log);

// Writes the row of the four values if a log is open.
void AppendLogRow(CalculationLog& log, const ScaleState& state);

// The row of the four values, with decimal commas, without line end.
std::string LogRow(const ScaleState& state);

// The notice's text for a log of that name: three lines.
std::string LogNoticeText(const std::string& fileName);
