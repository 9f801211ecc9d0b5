#include "controls/FileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>
#include <QWidget>
#include <utility>

#include "controls/WidgetText.h"
#include "platform/Translated.h"

namespace tovrimo {

namespace {

// A hidden parent (the resident window) would only make the dialog transient for a window the
// window manager never shows; such a dialog is better left without parent.
QWidget* VisibleParent(QWidget* parent)
{
    return parent && parent->isVisible() ? parent : nullptr;
}

// Where a file dialog starts: the folder itself, or the folder of a file name such as the
// last file chosen.
QString StartFolder(const std::string& dir)
{
    if (dir.empty()) return QDir::currentPath();
    const QFileInfo info(FromUtf8(dir));
    if (info.isDir()) return info.absoluteFilePath();
    const QFileInfo parent(info.absolutePath());
    return parent.isDir() ? parent.absoluteFilePath() : QDir::currentPath();
}

std::vector<std::string> SplitBars(const std::string& text)
{
    std::vector<std::string> items;
    std::string item;
    for (char c : text) {
        if (c == '|') {
            items.push_back(item);
            item.clear();
        } else {
            item += c;
        }
    }
    if (!item.empty()) items.push_back(item);
    return items;
}

// What the open and the save dialog have in common.
FileDialogRequest BasicRequest(FileDialogRequest::AcceptMode mode, QWidget* parent,
                               const std::string& caption, const std::string& dir,
                               const std::string& filter, int selectedFilter)
{
    FileDialogRequest request;
    request.acceptMode = mode;
    request.parent = parent;
    request.caption = caption;
    request.dir = dir;
    if (!filter.empty()) request.filter = filter;
    request.selectedFilter = selectedFilter;
    return request;
}

}  // namespace

std::optional<std::string> FileDialog::getOpenFileName(QWidget* parent, const std::string& caption,
                                                       const std::string& dir,
                                                       const std::string& filter,
                                                       int selectedFilter, bool fileMustExist)
{
    FileDialogRequest request = BasicRequest(FileDialogRequest::AcceptMode::Open, parent, caption,
                                             dir, filter, selectedFilter);
    request.fileMustExist = fileMustExist;
    return exec(request);
}

std::optional<std::string> FileDialog::getSaveFileName(QWidget* parent, const std::string& caption,
                                                       const std::string& dir,
                                                       const std::string& filter,
                                                       int selectedFilter, bool confirmOverwrite)
{
    FileDialogRequest request = BasicRequest(FileDialogRequest::AcceptMode::Save, parent, caption,
                                             dir, filter, selectedFilter);
    request.confirmOverwrite = confirmOverwrite;
    return exec(request);
}

void FileDialog::setNextFileName(const std::optional<std::string>& fileName)
{
    hasNextFileName_ = true;
    nextFileName_ = fileName;
}

std::optional<std::string> FileDialog::exec(const FileDialogRequest& request)
{
    if (hasNextFileName_) {
        hasNextFileName_ = false;
        if (request.chosenFilter)
            *request.chosenFilter =
                selectedFilterPosition(request.selectedFilter,
                                       static_cast<int>(filterPairs(request.filter).size())) +
                1;
        return std::exchange(nextFileName_, std::nullopt);
    }
    QFileDialog dialog(VisibleParent(request.parent));
    configure(dialog, request);
    std::optional<std::string> chosen;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        chosen = dialog.selectedFiles().first().toStdString();
        if (request.chosenFilter) {
            const int at = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
            *request.chosenFilter = at >= 0 ? at + 1 : 1;
        }
    }
    return acceptedPath(chosen, request.maxPathLength);
}

void FileDialog::configure(QFileDialog& dialog, const FileDialogRequest& request)
{
    const bool save = request.acceptMode == FileDialogRequest::AcceptMode::Save;
    dialog.setObjectName(kObjectName);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Descriptions are shown as written, as the patterns are already part of them.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setWindowTitle(Translated(kFileDialogContext, request.caption));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && request.fileMustExist ? QFileDialog::ExistingFile
                                                      : QFileDialog::AnyFile);
    if (!(save && request.confirmOverwrite)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDirectory(StartFolder(request.dir));

    QStringList filters;
    // The descriptions in the user's language; the patterns are the same in every translation.
    for (const std::string& f : nameFilters(TranslatedUtf8(kFileDialogContext, request.filter)))
        filters << FromUtf8(f);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(
            filters[selectedFilterPosition(request.selectedFilter, filters.size())]);
    }
    std::string suffix = request.defaultSuffix;
    if (!suffix.empty() && suffix.front() == '.') suffix.erase(0, 1);
    if (!suffix.empty()) dialog.setDefaultSuffix(FromUtf8(suffix));
}

std::vector<FilterPair> FileDialog::filterPairs(const std::string& filter)
{
    const std::vector<std::string> items = SplitBars(filter);
    std::vector<FilterPair> pairs;
    for (size_t i = 0; i + 1 < items.size(); i += 2) {
        // An empty item marks the end of the list.
        if (items[i].empty() || items[i + 1].empty()) break;
        pairs.push_back({items[i], items[i + 1]});
    }
    return pairs;
}

std::string FileDialog::nameFilter(const FilterPair& pair)
{
    std::string patterns;
    std::string item;
    auto flush = [&] {
        // Surrounding spaces are not part of a pattern; inner ones cannot be expressed.
        const auto first = item.find_first_not_of(' ');
        const auto last = item.find_last_not_of(' ');
        if (first != std::string::npos) {
            if (!patterns.empty()) patterns += ' ';
            patterns += item.substr(first, last - first + 1);
        }
        item.clear();
    };
    for (char c : pair.patterns) {
        if (c == ';')
            flush();
        else
            item += c;
    }
    flush();
    return pair.description + " (" + patterns + ")";
}

std::string FileDialog::formatOfFilter(const std::string& filter, int chosenFilter)
{
    const std::vector<FilterPair> pairs = filterPairs(filter);
    if (chosenFilter < 1 || chosenFilter > static_cast<int>(pairs.size())) return {};
    const std::string& patterns = pairs[static_cast<size_t>(chosenFilter - 1)].patterns;
    const std::string first = patterns.substr(0, patterns.find(';'));
    const auto dot = first.rfind('.');
    if (dot == std::string::npos || dot + 1 >= first.size()) return {};
    std::string format = first.substr(dot + 1);
    for (char& c : format) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        // A wildcard names no one type.
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return {};
    }
    return format;
}

std::vector<std::string> FileDialog::nameFilters(const std::string& filter)
{
    std::vector<std::string> filters;
    for (const FilterPair& pair : filterPairs(filter)) filters.push_back(nameFilter(pair));
    return filters;
}

int FileDialog::selectedFilterPosition(int selectedFilter, int pairCount)
{
    if (selectedFilter < 1 || selectedFilter > pairCount) return 0;
    return selectedFilter - 1;
}

std::optional<std::string> FileDialog::acceptedPath(const std::optional<std::string>& chosen,
                                                    int maxPathLength)
{
    // A name longer than the program takes would be cut off on the way: such a choice fails
    // rather than hand on a different file's name.
    if (!chosen || chosen->empty() || FromUtf8(*chosen).size() > maxPathLength) return std::nullopt;
    return chosen;
}

}  // namespace tovrimo
