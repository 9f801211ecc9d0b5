#include "controls/cTabStrip.h"

#include <QEvent>
#include <QFrame>
#include <QTabBar>

#include "controls/TabPane.h"

namespace tovrimo {

namespace {

// The pane's frame is drawn inside its rectangle; pages keep clear of it.
constexpr int kPaneInset = 2;

}  // namespace

cTabStrip::cTabStrip(QObject* parent) : QObject(parent) {}

cTabStrip::~cTabStrip()
{
    destroyControl();
}

void cTabStrip::destroyControl()
{
    if (host_) host_->removeEventFilter(this);
    delete bar_.data();
    delete pane_.data();
    bar_ = nullptr;
    pane_ = nullptr;
    reported_ = -1;
}

void cTabStrip::setPictureBox(QWidget* host)
{
    destroyControl();
    host_ = host;
    if (!host) return;
    // The strip draws its own frame; a framed host would show two.
    if (auto* frame = qobject_cast<QFrame*>(host)) frame->setFrameShape(QFrame::NoFrame);

    pane_ = new TabPane(host);
    bar_ = new QTabBar(host);
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setUsesScrollButtons(true);
    // Buttons and flat buttons have no pane underneath: document mode draws them that way.
    bar_->setDocumentMode(style_ != 0);
    pane_->setVisible(style_ == 0);
    bar_->setAttribute(Qt::WA_Hover, hotTracking_);
    bar_->setFont(host->font());
    connect(bar_, &QTabBar::currentChanged, this, &cTabStrip::onCurrentChanged);
    host->installEventFilter(this);
    layoutControl();
    pane_->show();
    bar_->show();
    bar_->raise();
}

void cTabStrip::layoutControl()
{
    if (!host_ || !bar_) return;
    const int barHeight = bar_->sizeHint().height();
    bar_->setGeometry(0, 0, host_->width(), barHeight);
    // The pane starts under the tabs, overlapping them by the frame so the selected tab joins
    // it.
    const int overlap = style_ == 0 ? 1 : 0;
    pane_->setGeometry(0, barHeight - overlap, host_->width(),
                       qMax(0, host_->height() - barHeight + overlap));
    pane_->lower();
}

QRect cTabStrip::ClientRect() const
{
    if (!host_ || !bar_) return {};
    const int top = bar_->sizeHint().height();
    return QRect(kPaneInset, top + kPaneInset, qMax(0, host_->width() - 2 * kPaneInset),
                 qMax(0, host_->height() - top - 2 * kPaneInset));
}

int cTabStrip::TabsAdd(int index, const QString& caption)
{
    if (!bar_) return -1;
    silent_ = true;
    const int at = bar_->insertTab(qBound(0, index, bar_->count()), caption);
    silent_ = false;
    // The first tab becomes the selection by itself; the owner is told about it like any other
    // selection the program makes: not at all.
    reported_ = bar_->currentIndex();
    return at;
}

int16_t cTabStrip::TabsCount() const
{
    return bar_ ? static_cast<int16_t>(bar_->count()) : int16_t{0};
}

QString cTabStrip::TabCaption(int index) const
{
    return bar_ ? bar_->tabText(index) : QString();
}

int16_t cTabStrip::SelectedItem() const
{
    return static_cast<int16_t>(reported_ + 1);
}

void cTabStrip::setSelectedItem(int16_t item)
{
    if (!bar_ || item < 1 || item > bar_->count()) return;
    silent_ = true;
    bar_->setCurrentIndex(item - 1);
    silent_ = false;
    reported_ = bar_->currentIndex();
}

void cTabStrip::onCurrentChanged(int index)
{
    if (silent_ || index == reported_) return;
    int16_t cancel = 0;
    emit BeforeClick(cancel);
    if (!bar_) return;
    if (cancel != 0) {
        silent_ = true;
        bar_->setCurrentIndex(reported_);
        silent_ = false;
        return;
    }
    reported_ = index;
    emit Click();
}

bool cTabStrip::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == host_ && bar_) {
        if (event->type() == QEvent::Resize) {
            layoutControl();
        } else if (event->type() == QEvent::FocusIn) {
            bar_->setFocus();
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tovrimo
