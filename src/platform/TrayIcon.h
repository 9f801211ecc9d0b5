#pragma once

#include <QObject>
#include <string>

class QIcon;
class QMenu;

namespace tovrimo {

// The clicks on the icon the resident window reacts to: a left press, the second press of a
// double click, a right press.
enum class TrayClick { Left, Double, Right };

// The notification-area icon.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    ~TrayIcon() override = default;
    virtual void add(const QIcon& icon, const std::string& tooltip) = 0;
    virtual void remove() = 0;
    virtual bool isShown() const = 0;
    virtual std::string tooltip() const = 0;
    // Changes the tooltip, shown or not, without showing or hiding the icon.
    virtual void setTooltip(const std::string& tooltip) = 0;
    // The menu that a host drawing menus itself (a StatusNotifierItem host) shows for a right
    // click; the resident window keeps it what its own right click would show at that moment.
    // nullptr: a right click shows nothing.
    virtual void setMenu(QMenu* menu) = 0;

signals:
    void clicked(tovrimo::TrayClick click);
};

// The tooltip field holds 64 bytes of the legacy code page including its terminator: cut the
// text where it would no longer fit, counting two bytes for every character that is not ASCII or
// half-width katakana, and never splitting a character.
std::string CutTooltip(const std::string& utf8);

}  // namespace tovrimo
