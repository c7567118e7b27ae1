#include "conversion/scale_conversion.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <cmath>
#include <limits>
#include <vector>

#include "widget_test_support.h"

namespace {

enum class Direction { ToModel, ToOriginal };

struct ConversionCase {
    const char* name;
    const char* texts[4];  // originalScale, modelScale, originalSize, modelSize as typed
    Direction direction;
    const char* expected[4];
};

// clang-format off
const ConversionCase kConversions[] = {
    // Ordinary conversions at 1 : 87.
    {"250 to model",        {"1,0", "87,0", "250", ""},      Direction::ToModel,    {"1,0", "87,0", "250,00", "2,87"}},
    {"2,87 back",           {"1,0", "87,0", "", "2,87"},     Direction::ToOriginal, {"1,0", "87,0", "249,69", "2,87"}},
    {"870",                 {"1,0", "87,0", "870", ""},      Direction::ToModel,    {"1,0", "87,0", "870,00", "10,00"}},
    {"point as decimal",    {"1,0", "87,0", "", "2.87"},     Direction::ToOriginal, {"1,0", "87,0", "249,69", "2,87"}},
    {"ratio typed bare",    {"1", "160", "3200", "9"},       Direction::ToModel,    {"1,0", "160,0", "3200,00", "20,00"}},
    // What the user typed is read leniently and rewritten in the program's form.
    {"sign cleared",        {"1,0", "87,0", "-250", ""},     Direction::ToModel,    {"1,0", "87,0", "250,00", "2,87"}},
    {"grouped text",        {"1,0", "87,0", "1.234,5", ""},  Direction::ToModel,    {"1,0", "87,0", "1,23", "0,01"}},
    {"empty size",          {"1,0", "87,0", "", ""},         Direction::ToModel,    {"1,0", "87,0", "0,00", "0,00"}},
    {"letters",             {"1,0", "87,0", "abc", "xyz"},   Direction::ToModel,    {"1,0", "87,0", "0,00", "0,00"}},
    {"empty scale term",    {"", "87,0", "250", ""},         Direction::ToModel,    {"0,0", "87,0", "250,00", "0,00"}},
    {"blanks before",       {" 1", "\t87", "  250", ""},     Direction::ToModel,    {"1,0", "87,0", "250,00", "2,87"}},
    // A zero scale term gives the IEEE results, which are shown as words.
    {"divide by zero",      {"1,0", "0", "250", ""},         Direction::ToModel,    {"1,0", "0,0", "250,00", "+Infinity"}},
    {"zero by zero",        {"1,0", "0", "", ""},            Direction::ToModel,    {"1,0", "0,0", "0,00", "NaN"}},
    {"zero factor",         {"0", "87,0", "250", ""},        Direction::ToModel,    {"0,0", "87,0", "250,00", "0,00"}},
    {"zero divisor back",   {"0", "87,0", "", "2,87"},       Direction::ToOriginal, {"0,0", "87,0", "+Infinity", "2,87"}},
    {"zero by zero back",   {"0", "87,0", "", ""},           Direction::ToOriginal, {"0,0", "87,0", "NaN", "0,00"}},
    {"infinity times zero", {"1,0", "0", "", "+Infinity"},   Direction::ToOriginal, {"1,0", "0,0", "NaN", "+Infinity"}},
    // Words and out-of-range numbers read back as values.
    {"minus infinity",      {"1,0", "87,0", "-Infinity", ""}, Direction::ToModel,   {"1,0", "87,0", "+Infinity", "+Infinity"}},
    {"too large",           {"1,0", "87,0", "1e39", ""},     Direction::ToModel,    {"1,0", "87,0", "+Infinity", "+Infinity"}},
    {"nan",                 {"1,0", "87,0", "nan", ""},      Direction::ToModel,    {"1,0", "87,0", "NaN", "NaN"}},
    // Seven significant digits: the float nearest 123456789 is 123456792.
    {"float precision",     {"1", "1", "123456789", ""},     Direction::ToModel,    {"1,0", "1,0", "123456792,00", "123456792,00"}},
};
// clang-format on

void Convert(Direction direction, ScaleState& state, const NumberFields& fields) {
    if (direction == Direction::ToModel) {
        ComputeModelSize(state, fields);
    } else {
        ComputeOriginalSize(state, fields);
    }
}

TEST(ScaleConversion, ReadsAllFourFieldsAndShowsTheResult) {
    for (const ConversionCase& row : kConversions) {
        SCOPED_TRACE(row.name);
        FieldsFixture fixture;
        fixture.SetTexts(row.texts[0], row.texts[1], row.texts[2], row.texts[3]);
        ScaleState state;
        Convert(row.direction, state, fixture.fields);
        EXPECT_EQ(FieldTexts(fixture.fields),
                  (std::vector<std::string>{row.expected[0], row.expected[1], row.expected[2],
                                            row.expected[3]}));
    }
}

TEST(ScaleConversion, ComputesWithTheParsedValueAndRereadsTheRoundedText) {
    FieldsFixture fixture;
    fixture.SetTexts("1,0", "87,26", "250", "");
    ScaleState state;
    ComputeModelSize(state, fixture.fields);
    EXPECT_EQ(Text(fixture.fields.modelScaleField), "87,3");
    EXPECT_EQ(Text(fixture.fields.modelSizeField), "2,87");
    EXPECT_EQ(state.modelScale, 87.26f);

    ComputeModelSize(state, fixture.fields);
    EXPECT_EQ(state.modelScale, 87.3f);
    EXPECT_EQ(Text(fixture.fields.modelSizeField), "2,86");
}

TEST(ScaleConversion, StoresNoNegativeValue) {
    FieldsFixture fixture;
    fixture.SetTexts("-1", "-0", "-250", "-Infinity");
    ScaleState state;
    RefreshAllFields(state, fixture.fields);
    EXPECT_EQ(state.originalScale, 1.0f);
    EXPECT_FALSE(std::signbit(state.modelScale));
    EXPECT_EQ(state.modelScale, 0.0f);
    EXPECT_EQ(state.originalSize, 250.0f);
    EXPECT_EQ(state.modelSize, std::numeric_limits<float>::infinity());
    EXPECT_EQ(FieldTexts(fixture.fields),
              (std::vector<std::string>{"1,0", "0,0", "250,00", "+Infinity"}));
}

// Records when a field is hidden and shown, and what it showed at each moment.
class VisibilityRecorder : public QObject {
  public:
    explicit VisibilityRecorder(QLineEdit* field) : field_(field) {
        field->installEventFilter(this);
    }
    std::vector<std::string> events;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide) {
            events.push_back("hide " + Text(field_));
        } else if (event->type() == QEvent::Show) {
            events.push_back("show " + Text(field_));
        }
        return false;
    }

  private:
    QLineEdit* field_;
};

TEST(ScaleConversion, HidesOnlyTheResultFieldWhileItWorks) {
    FieldsFixture fixture;
    fixture.SetTexts("1,0", "87,0", "250", "old");
    VisibilityRecorder result(fixture.fields.modelSizeField);
    VisibilityRecorder source(fixture.fields.originalSizeField);
    ScaleState state;
    ComputeModelSize(state, fixture.fields);
    EXPECT_EQ(result.events, (std::vector<std::string>{"hide old", "show 2,87"}));
    EXPECT_TRUE(source.events.empty());
    EXPECT_TRUE(fixture.fields.modelSizeField->isVisible());
}

TEST(ScaleConversion, WritesFieldsWithoutChangeSignals) {
    FieldsFixture fixture;
    fixture.SetTexts("1", "87", "250", "");
    int changes = 0;
    for (QLineEdit* field : fixture.fields.InReadingOrder()) {
        QObject::connect(field, &QLineEdit::textChanged, field, [&changes] { ++changes; });
    }
    ScaleState state;
    ComputeModelSize(state, fixture.fields);
    ComputeOriginalSize(state, fixture.fields);
    EXPECT_EQ(changes, 0);
}

struct ArithmeticCase {
    const char* name;
    float size, factor, divisor, expected;
};

TEST(ScaledSize, RoundsOnceFromTheExactProduct) {
    const float infinity = std::numeric_limits<float>::infinity();
    // clang-format off
    const ArithmeticCase cases[] = {
        {"ordinary",                     250.0f, 1.0f, 87.0f, 250.0f / 87.0f},
        {"product beyond float range",   3e38f, 10.0f, 100.0f, 3e37f},
        {"product below float range",    1e-30f, 1e-30f, 1e-20f, 1e-40f},
        {"quotient beyond float range",  3e38f, 10.0f, 1.0f, infinity},
        {"quotient subnormal",           1e-38f, 1.0f, 1e4f, 1e-42f},
        {"quotient below the subnormals", 1e-45f, 1.0f, 10.0f, 0.0f},
    };
    // clang-format on
    for (const ArithmeticCase& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ScaledSize(row.size, row.factor, row.divisor), row.expected);
    }
}

TEST(ScaledSize, GivesIeeeResultsForZeroAndInfinity) {
    const float infinity = std::numeric_limits<float>::infinity();
    EXPECT_EQ(ScaledSize(250.0f, 1.0f, 0.0f), infinity);
    EXPECT_TRUE(std::isnan(ScaledSize(0.0f, 1.0f, 0.0f)));
    EXPECT_TRUE(std::isnan(ScaledSize(infinity, 0.0f, 1.0f)));
    EXPECT_TRUE(std::isnan(ScaledSize(infinity, 1.0f, infinity)));
    EXPECT_EQ(ScaledSize(250.0f, 1.0f, infinity), 0.0f);
}

}  // namespace
