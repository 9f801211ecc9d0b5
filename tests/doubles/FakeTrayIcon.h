#pragma once

#include <QIcon>
#include <QMenu>
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
    void setTooltip(const std::string& tooltip) override
    {
        tooltip_ = tooltip;
        tooltips.push_back(tooltip);
    }
    void setMenu(QMenu* m) override
    {
        menu = m;
        ++menuUpdates;
    }

    std::vector<std::string> adds;
    std::vector<std::string> tooltips;  // each setTooltip, in order
    int removals = 0;
    QIcon lastIcon;
    QMenu* menu = nullptr;  // what a host that draws menus would show now
    int menuUpdates = 0;

private:
    bool shown_ = false;
    std::string tooltip_;
};

}  // namespace tovrimo::test
