#pragma once

#include "conversion/number_fields.h"
#include "conversion/scale_state.h"

// Reads the four fields into the state (as ReadFieldValue does) and writes each back in the
// program's number form: 1 decimal for the scale terms, 2 for the sizes. The state keeps the
// parsed value, not the rounded text, so a conversion right after computes with full precision.
void RefreshAllFields(ScaleState& state, const NumberFields& fields);

// Computes the model size from the original size for the ratio, shows it in modelSizeField.
void ComputeModelSize(ScaleState& state, const NumberFields& fields);

// Computes the original size from the model size for the ratio, shows it in originalSizeField.
void ComputeOriginalSize(ScaleState& state, const NumberFields& fields);
