#include "conversion/scale_state.h"

float ScaledSize(float size, float factor, float divisor) {
    const double product = static_cast<double>(size) * static_cast<double>(factor);
    return static_cast<float>(product / static_cast<double>(divisor));
}
