#pragma once

#include <QIcon>
#include <vector>

#include "platform/TrayIcon.h"

namespace tovrimo::test {

// Remembers whether the icon is in the tray and with which tooltip.
class FakeTrayIcon : public TrayIcon {
public:
    void add(const QIcon& icon, const std::string& tooltip) override
    {
        shown_ = true;
        tooltip_ = tooltip;
        lastIcon = icon;
        adds.push_back(tooltip);
    }
    void remove() override
    {
        if (shown_) ++removals;
        shown_ = false;
    }
    bool isShown() const override { return shown_; }
    std::string tooltip() const override { return tooltip_; }

    std::vector<std::string> adds;
    int removals = 0;
    QIcon lastIcon;

private:
    bool shown_ = false;
    std::string tooltip_;
};

}  // namespace tovrimo::test
