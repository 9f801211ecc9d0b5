#pragma once

#include <QObject>
#include <string>

namespace tovrimo {

// One resident program per user and X display. The first start becomes the resident one; a
// later start without a command line hands over to it (it shows its menu) instead of adding a
// second icon and fighting over the hot keys.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        Resident,     // no resident program: this one is it from now on
        HandedOver,   // the resident program took the request; this start ends
        Unreachable,  // a resident program exists but did not answer
    };

    using QObject::QObject;
    ~SingleInstance() override = default;

    virtual Claim claim() = 0;

signals:
    // A later start asked the resident program to show its menu.
    void menuRequested();
};

// Where the resident program listens: $XDG_RUNTIME_DIR when it is usable, otherwise a private
// folder of the user under /tmp; one socket per X display (the screen number does not count).
std::string InstanceSocketPath(const std::string& runtimeDir, unsigned uid,
                               const std::string& display);

}  // namespace tovrimo
