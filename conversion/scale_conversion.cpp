#include "conversion/scale_conversion.h"

#include <QLineEdit>

#include "conversion/number_text.h"

namespace {

std::string FieldNumberText(float value, int decimals) {
    return FormatFixed(static_cast<double>(value), decimals, ",", "");
}

}  // namespace

void RefreshAllFields(ScaleState& state, const NumberFields& fields) {
    struct FieldValue {
        QLineEdit* field;
        float& value;
        int decimals;
    };
    const FieldValue inReadingOrder[] = {
        {fields.originalScaleField, state.originalScale, 1},
        {fields.modelScaleField, state.modelScale, 1},
        {fields.originalSizeField, state.originalSize, 2},
        {fields.modelSizeField, state.modelSize, 2},
    };
    for (const FieldValue& each : inReadingOrder) {
        each.value = ReadFieldValue(*each.field);
        WriteFieldText(*each.field, FieldNumberText(each.value, each.decimals));
    }
}

void ComputeModelSize(ScaleState& state, const NumberFields& fields) {
    BlinkField(*fields.modelSizeField, [&] {
        RefreshAllFields(state, fields);
        state.modelSize = ScaledSize(state.originalSize, state.originalScale, state.modelScale);
        WriteFieldText(*fields.modelSizeField, FieldNumberText(state.modelSize, 2));
    });
}

void ComputeOriginalSize(ScaleState& state, const NumberFields& fields) {
    BlinkField(*fields.originalSizeField, [&] {
        RefreshAllFields(state, fields);
        state.originalSize = ScaledSize(state.modelSize, state.modelScale, state.originalScale);
        WriteFieldText(*fields.originalSizeField, FieldNumberText(state.originalSize, 2));
    });
}
