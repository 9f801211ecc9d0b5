#pragma once

#include <QObject>

class QDBusServiceWatcher;

namespace tovrimo {

// Watches the session bus for a StatusNotifierItem host: the watcher service
// (org.kde.StatusNotifierWatcher) present and reporting a registered host.
class StatusNotifierWatch : public QObject {
    Q_OBJECT
public:
    StatusNotifierWatch();
    ~StatusNotifierWatch() override;

    bool busConnected() const { return connected_; }
    bool hostRegistered() const { return hostRegistered_; }

signals:
    void hostChanged();

private slots:
    void onHostRegistered();
    void onHostUnregistered();

private:
    void refresh();
    bool queryHostRegistered() const;

    bool connected_ = false;
    bool hostRegistered_ = false;
    QDBusServiceWatcher* services_ = nullptr;
};

}  // namespace tovrimo
