#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTabBar>
#include <QWidget>
#include <cstdint>

#include "controls/TabPane.h"

namespace tovrimo {

// A row of tabs that fills a host widget: the tabs along the top and, below them, the framed
// display area in which the form shows the page of the selected tab. The form keeps its pages
// itself and switches them on Click.
class cTabStrip : public QObject {
    Q_OBJECT
public:
    explicit cTabStrip(QObject* parent = nullptr);
    ~cTabStrip() override;

    // 0 tabs, 1 buttons, 2 flat buttons. Takes effect when the host is set.
    int Style() const { return style_; }
    void setStyle(int style) { style_ = style; }
    // Tabs light up under the pointer. Takes effect when the host is set.
    bool HotTracking() const { return hotTracking_; }
    void setHotTracking(bool on) { hotTracking_ = on; }

    // The host: an earlier control goes, the new one is made to fill `host` and follows its
    // size.
    QWidget* PictureBox() const { return host_; }
    void setPictureBox(QWidget* host);

    // Inserts a tab at `index` (past the end appends) and returns its index; -1 while there is
    // no host.
    int TabsAdd(int index, const QString& caption);
    // 0 while there is no host.
    int16_t TabsCount() const;
    QString TabCaption(int index) const;

    // The selected tab counted from 1; 0 when there is none. Setting it raises no event.
    int16_t SelectedItem() const;
    void setSelectedItem(int16_t item);

    // Where the pages go, in the host's coordinates.
    QRect ClientRect() const;
    int ClientLeft() const { return ClientRect().left(); }
    int ClientTop() const { return ClientRect().top(); }
    int ClientWidth() const { return ClientRect().width(); }
    int ClientHeight() const { return ClientRect().height(); }

    QTabBar* tabBar() const { return bar_; }

signals:
    // The user is about to change tabs; SelectedItem() still names the old one. Setting
    // `cancel` to a non-zero value keeps the old tab.
    void BeforeClick(int16_t& cancel);
    // The user changed tabs.
    void Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void destroyControl();
    void layoutControl();
    void onCurrentChanged(int index);

    QPointer<QWidget> host_;
    QPointer<QTabBar> bar_;
    QPointer<TabPane> pane_;
    int style_ = 0;
    bool hotTracking_ = false;
    int reported_ = -1;    // the selection the owner last heard of
    bool silent_ = false;  // selection changes made by the program raise no event
};

}  // namespace tovrimo
