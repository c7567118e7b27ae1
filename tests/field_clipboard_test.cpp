#include "conversion/field_clipboard.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTest>

#include "widget_test_support.h"

namespace {

QClipboard& Clipboard() {
    return *QGuiApplication::clipboard();
}

struct CopyCase {
    const char* shown;
    const char* copied;  // also what the field shows afterwards
};

TEST(CopyField, RewritesTheNumberWithTwoDecimalsAndCopiesThatText) {
    // clang-format off
    const CopyCase cases[] = {
        {"87,0", "87,00"},
        {"-12,5", "12,50"},
        {"", "0,00"},
        {"abc", "0,00"},
        {"2.875", "2,88"},
        {"1.234,5", "1,23"},
        {"+Infinity", "+Infinity"},
        {"-Infinity", "+Infinity"},
        {"NaN", "NaN"},
    };
    // clang-format on
    for (const CopyCase& row : cases) {
        SCOPED_TRACE(row.shown);
        FieldsFixture fixture;
        QLineEdit* field = fixture.fields.modelScaleField;
        field->setText(QString::fromUtf8(row.shown));
        Clipboard().setText("before");
        CopyField(*field);
        EXPECT_EQ(Text(field), row.copied);
        EXPECT_EQ(Clipboard().text().toStdString(), row.copied);
    }
}

struct PasteCase {
    const char* clipboard;
    const char* inSizeField;   // pasted with 2 decimals
    const char* inScaleField;  // pasted with 1 decimal
};

TEST(PasteField, WritesTheClipboardsNumberKeepingItsSign) {
    // clang-format off
    const PasteCase cases[] = {
        {"12,5", "12,50", "12,5"},
        {"12.5", "12,50", "12,5"},
        {"-12,5", "-12,50", "-12,5"},
        {"-Infinity", "-Infinity", "-Infinity"},
        {"nan", "NaN", "NaN"},
        {"1.234,56", "1,23", "1,2"},
        {"  42 mm\n", "42,00", "42,0"},
        {"abc", "0,00", "0,0"},
        {"", "0,00", "0,0"},
        {"1e39", "+Infinity", "+Infinity"},
    };
    // clang-format on
    for (const PasteCase& row : cases) {
        SCOPED_TRACE(row.clipboard);
        FieldsFixture fixture;
        Clipboard().setText(QString::fromUtf8(row.clipboard));
        PasteField(*fixture.fields.originalSizeField, 2);
        PasteField(*fixture.fields.originalScaleField, 1);
        EXPECT_EQ(Text(fixture.fields.originalSizeField), row.inSizeField);
        EXPECT_EQ(Text(fixture.fields.originalScaleField), row.inScaleField);
        EXPECT_EQ(Clipboard().text().toStdString(), row.clipboard) << "pasting leaves it as it was";
    }
}

TEST(PasteField, AClipboardWithoutTextPastesZero) {
    FieldsFixture fixture;
    Clipboard().clear();
    PasteField(*fixture.fields.modelSizeField, 2);
    EXPECT_EQ(Text(fixture.fields.modelSizeField), "0,00");

    auto* pictureOnly = new QMimeData;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    pictureOnly->setImageData(picture);
    Clipboard().setMimeData(pictureOnly);
    fixture.fields.modelSizeField->setText("5");
    PasteField(*fixture.fields.modelSizeField, 2);
    EXPECT_EQ(Text(fixture.fields.modelSizeField), "0,00");
}

TEST(PasteField, HandlesHugeAndOddTexts) {
    FieldsFixture fixture;
    QLineEdit* field = fixture.fields.originalSizeField;
    Clipboard().setText(QString(1'000'000, QChar('9')));
    PasteField(*field, 2);
    EXPECT_EQ(Text(field), "+Infinity");
    Clipboard().setText(
        QString::fromUtf8("7\0"
                          "8",
                          3));
    PasteField(*field, 2);
    EXPECT_EQ(Text(field), "7,00");
    Clipboard().setText(QString::fromUtf8("٣"));  // an Arabic-Indic digit is not a number here
    PasteField(*field, 2);
    EXPECT_EQ(Text(field), "0,00");
}

TEST(ClearField, EmptiesTheFieldAndGivesItTheFocus) {
    FieldsFixture fixture;
    fixture.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fixture.window));
    fixture.fields.originalScaleField->setFocus();
    fixture.fields.modelSizeField->setText("12,50");
    ClearField(*fixture.fields.modelSizeField);
    EXPECT_EQ(Text(fixture.fields.modelSizeField), "");
    EXPECT_TRUE(fixture.fields.modelSizeField->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), fixture.fields.modelSizeField);
}

TEST(FieldClipboard, CopyAndPasteLeaveAFocusedFieldFocused) {
    FieldsFixture fixture;
    fixture.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fixture.window));
    QLineEdit* field = fixture.fields.originalSizeField;
    field->setFocus();
    field->setText("250");
    CopyField(*field);
    EXPECT_EQ(QApplication::focusWidget(), field);
    PasteField(*field, 2);
    EXPECT_EQ(QApplication::focusWidget(), field);
    EXPECT_TRUE(field->isVisible());

    // An unfocused field does not take the focus.
    CopyField(*fixture.fields.modelSizeField);
    PasteField(*fixture.fields.modelSizeField, 2);
    EXPECT_EQ(QApplication::focusWidget(), field);
}

}  // namespace
