#pragma once

#include <optional>
#include <string>
#include <vector>

class QFileDialog;
class QWidget;

namespace tovrimo {

// What a command asks of an open or save dialog.
struct FileDialogRequest {
    enum class AcceptMode { Open, Save };

    AcceptMode acceptMode = AcceptMode::Open;
    QWidget* parent = nullptr;
    std::string caption = "Open File";
    // The folder to start in, or a file whose folder is used; empty: the current folder.
    std::string dir;
    // Pairs of description and patterns, each ended by '|' ("Pictures|*.bmp;*.jpg|"), as the
    // program's texts write them.
    std::string filter = "All Files (*.*)|*.*";
    // The pair selected at first, counted from 1; 0 and numbers past the end select the first.
    int selectedFilter = 0;
    std::string defaultSuffix;
    // Open dialogs only: refuse names of files that do not exist.
    bool fileMustExist = false;
    // Save dialogs only: ask before an existing file is replaced.
    bool confirmOverwrite = false;
    // Where the pair selected when the dialog was accepted is written, counted from 1; none:
    // not asked for. A caller that offers several file types writes the one chosen.
    int* chosenFilter = nullptr;
    // Longest path the program accepts, in UTF-16 units; a longer choice counts as a failure.
    int maxPathLength = 254;
};

// One "description|patterns" pair of a filter text.
struct FilterPair {
    std::string description;
    std::string patterns;  // as written, separated by ';'

    friend bool operator==(const FilterPair&, const FilterPair&) = default;
};

// Asks the user for a file name. Commands take it by reference so that tests can answer in
// place of the dialog, either through setNextFileName or by overriding exec.
class FileDialog {
public:
    // Object name by which a test finds the dialog while it is open.
    static constexpr const char* kObjectName = "fileDialog";

    virtual ~FileDialog() = default;

    // As QFileDialog's static calls, with the filter written as in FileDialogRequest: an open
    // dialog takes existing files only and a save dialog asks before replacing a file, unless
    // told otherwise. The chosen path, or nothing when cancelled.
    std::optional<std::string> getOpenFileName(QWidget* parent = nullptr,
                                               const std::string& caption = {},
                                               const std::string& dir = {},
                                               const std::string& filter = {},
                                               int selectedFilter = 0, bool fileMustExist = true);
    std::optional<std::string> getSaveFileName(
        QWidget* parent = nullptr, const std::string& caption = {}, const std::string& dir = {},
        const std::string& filter = {}, int selectedFilter = 0, bool confirmOverwrite = true);

    // The chosen path exactly as the dialog returned it; nothing when cancelled.
    virtual std::optional<std::string> exec(const FileDialogRequest& request);

    // Sets the result of the next get* or exec call instead of showing a dialog. Use only for
    // testing.
    void setNextFileName(const std::optional<std::string>& fileName);

    // The pairs of a filter text, in order. A description without a pattern is dropped; an
    // empty item ends the list.
    static std::vector<FilterPair> filterPairs(const std::string& filter);
    // One name filter as QFileDialog reads it: the description as shown, then the patterns in
    // parentheses ("Images(*.BMP) (*.bmp *.jpg)").
    static std::string nameFilter(const FilterPair& pair);
    // The image format that the pair chosenFilter names stands for, from its first pattern's
    // extension in capitals ("*.png" gives "PNG"); empty when the pair or extension is missing.
    static std::string formatOfFilter(const std::string& filter, int chosenFilter);
    // Every pair of the filter text as a name filter.
    static std::vector<std::string> nameFilters(const std::string& filter);
    // The position in nameFilters of the pair selectedFilter names.
    static int selectedFilterPosition(int selectedFilter, int pairCount);
    // What the dialog's answer gives the caller: the path when one was chosen and fits
    // maxPathLength, nothing otherwise.
    static std::optional<std::string> acceptedPath(const std::optional<std::string>& chosen,
                                                   int maxPathLength);

private:
    static void configure(QFileDialog& dialog, const FileDialogRequest& request);

    bool hasNextFileName_ = false;
    std::optional<std::string> nextFileName_;
};

}  // namespace tovrimo
