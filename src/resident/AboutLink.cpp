#include "resident/AboutLink.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace tovrimo {

std::optional<AboutLink> ResolveAboutLink(std::string_view makerUrl,
                                          const std::vector<std::string>& folders,
                                          std::string_view helpFile,
                                          const std::function<bool(const std::string&)>& exists)
{
    if (!makerUrl.empty()) return AboutLink{std::string(makerUrl), false};
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        std::string path = folder + std::string(helpFile);
        if (exists(path)) return AboutLink{std::move(path), true};
    }
    return std::nullopt;
}

std::optional<AboutLink> InstalledAboutLink()
{
    std::vector<std::string> folders;
    if (QCoreApplication::instance()) {
        const std::string bin = QCoreApplication::applicationDirPath().toStdString() + "/";
        folders.push_back(bin);
        folders.push_back(bin + TOVRIMO_DATADIR_FROM_BINDIR + "/");
    }
    folders.push_back(std::string(TOVRIMO_DATADIR) + "/");
    return ResolveAboutLink(TOVRIMO_MAKER_URL, folders, "tovrimo.html", [](const std::string& p) {
        return QFileInfo(QString::fromStdString(p)).isFile();
    });
}

}  // namespace tovrimo
