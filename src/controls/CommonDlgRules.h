#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovrimo {

// The parts of the common-dialog wrappers that need no dialog: how the filter text is read,
// how a chosen font's weight and height come back, and the error texts.

// One "description|pattern" pair of a filter text.
struct FilterPair {
    std::string description;
    std::string patterns;  // as written, separated by ';'

    friend bool operator==(const FilterPair&, const FilterPair&) = default;
};

// The filter text in the system's own form: every '|' a NUL, ending in one more NUL
// ("a|b|" -> "a\0b\0\0"; "a|b" -> "a\0b\0").
std::string SystemFilterText(const std::string& filter);

// The pairs of a filter text, in order. A description without a pattern is dropped; an empty
// item stops the list, as the system reads it.
std::vector<FilterPair> FilterPairs(const std::string& filter);

// One name filter for the dialog: the description as shown, then the patterns in the
// parentheses the dialog reads ("Images(*.BMP) (*.bmp *.jpg)").
std::string DialogNameFilter(const FilterPair& pair);

// Every pair of the filter text as a dialog name filter.
std::vector<std::string> DialogNameFilters(const std::string& filter);

// The name filter that FilterIndex (1-based) selects; 0 and values past the end pick the first.
int SelectedFilterPosition(int filterIndex, int pairCount);

// The name a file dialog returns fits its buffer of MaxFileSize characters (one is the NUL).
bool FileNameFits(const std::u16string& path, int32_t maxFileSize);

// Weights on the 100..900 scale (400 regular, 700 bold).
// FontDlg: anything but regular counts as bold, light faces included.
bool FontDlgBold(int weight);
// ShowFont: medium and heavier count as bold.
bool ShowFontBold(int weight);

// Points to the logical font's height in device pixels and back, both rounded to the
// nearest, ties to even.
int LogicalFontHeight(double points, double pixelsPerInch);
int PointsFromHeight(int height, double pixelsPerInch);

// The text for an extended error number of the common dialogs.
std::string ErrDescriptionText(int32_t errNumber);

}  // namespace tovrimo
