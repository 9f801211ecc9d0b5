#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>
#include <optional>

#include "resident/AboutLink.h"

class QLabel;
class QPushButton;

namespace tovrimo {

class MessageBoxes;

// The version window: the program's name and version, the maker's notice, a banner and a link
// that opens the maker's page (after asking) or the user's guide. Deletes itself when closed.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(MessageBoxes& messages, std::optional<AboutLink> link, QWidget* parent = nullptr);

    // Opens an address with the desktop's handler; QDesktopServices::openUrl unless replaced.
    std::function<bool(const QUrl&)> openUrl;

    // The link command of the address label and the banner.
    void openLink();

    void done(int result) override;

signals:
    // Emitted once, when the window goes (the tray takes clicks again).
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MessageBoxes& messages_;
    std::optional<AboutLink> link_;
    bool done_ = false;

    QLabel* iconLabel_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QLabel* noticeLabel_ = nullptr;
    QLabel* linkCaptionLabel_ = nullptr;
    QLabel* linkLabel_ = nullptr;
    QLabel* bannerLabel_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace tovrimo
