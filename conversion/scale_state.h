#pragma once

// The four numbers the calculator works with. Each is held as a 32-bit float, so a value keeps
// about seven significant digits; the fields show what the user typed, these hold what was read.
struct ScaleState {
    float originalScale = 1.0f;
    float modelScale = 87.0f;
    float originalSize = 0.0f;
    float modelSize = 0.0f;
};

// Returns the 32-bit float nearest to size × factor ÷ divisor. The product of two floats is exact
// in double precision, so the quotient is rounded only once, when it becomes a float. IEEE rules
// apply without traps: x ÷ 0 gives +infinity, 0 ÷ 0 and 0 × infinity give NaN.
float ScaledSize(float size, float factor, float divisor);
