#pragma once

#include <QChar>
#include <QString>
#include <cstdint>
#include <optional>

// The print dialog's value rules: the scale box and its step buttons, the offset boxes and
// inserting title fields at the caret. Widget-free so they can be checked without a display.

namespace tovrimo {

// The option buttons and the title options dialog's hand-over identify a layout code by its
// place in its enum; any other index is Unrecognised.
template <typename Code>
Code CodeAtIndex(int index)
{
    return index >= 0 && index < static_cast<int>(Code::Unrecognised) ? static_cast<Code>(index)
                                                                      : Code::Unrecognised;
}

template <typename Code>
int IndexOfCode(Code code)
{
    return static_cast<int>(code);
}

constexpr int kScaleMinimum = 1;
constexpr int kScaleMaximum = 200;
constexpr int kScaleStep = 25;
constexpr int kScaleDefault = 100;

// The number a text starts with, as the scale box reads it: leading blanks are skipped, an
// optional sign, digits and a decimal point are taken, anything after them is ignored; empty or
// non-numeric text is 0.
double LeadingNumber(const QString& text);

// The whole text as a number (surrounding blanks allowed), or nothing when it is not one. The
// offset boxes accept only such text.
std::optional<double> ParseNumber(const QString& text);

// True when the scale box must refuse the value: only an enabled box is checked.
bool ScaleOutOfRange(double value, bool boxEnabled);

// The scale stored from the box: rounded, kept within what the layout field can hold.
int16_t StoredScale(double value);

// The step buttons: the next multiple of 25 up (at most 200) or down (at least 1).
int ScaleStepUp(int position);
int ScaleStepDown(int position);

// What the box is set to when the manual scale is chosen: "200" above the range, "100" below
// zero, nothing (keep the text) otherwise.
std::optional<QString> ManualScaleCorrection(double value);

// Keys typed into the scale box: digits and Backspace pass, everything else is refused.
bool ScaleKeyPasses(QChar typed);

// Text pasted into the scale box: taken only when it is nothing but the digits 0-9, as if
// typed; anything else (letters, signs, blanks, an empty clipboard) is refused whole.
bool ScalePastePasses(const QString& pasted);

// The fitted width as a whole percentage of the actual size (rounded down); 0 for an empty
// capture.
int FitPercent(int64_t fittedWidthTwips, int64_t imageWidthPixels, double screenTwipsPerPixelX);

// An offset in centimetres as the offset boxes show it: two decimals.
QString FormatCentimetres(double cm);

// A title field inserted at the caret. `position` is the caret, or the start of the selection
// when there is one; a selection is not replaced, the selected text follows the field.
struct TitleEdit {
    QString text;
    int caret = 0;
};
TitleEdit InsertField(const QString& text, int position, const QString& field);

}  // namespace tovrimo
