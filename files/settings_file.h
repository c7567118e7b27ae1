#pragma once

#include "conversion/number_fields.h"
#include "conversion/scale_state.h"

// The ratio outlives the program in this file, relative to the current directory.
inline constexpr const char* kSettingsFilePath = "Assets/Korvane.ini";

// Sets the ratio to 1 : 87, then to the numbers in the settings file where it has them. A file
// that is missing, locked or not of the expected form leaves the defaults, silently. Values are
// taken as written: no "," for ".", no absolute value, no range check.
void LoadSettings(ScaleState& state);

// Takes the ratio from the two scale fields (not from the last conversion), keeps it in the
// state, and rewrites the settings file. If the file cannot be created, the disk stays as it was.
void SaveSettings(ScaleState& state, const NumberFields& fields);
