#include "controls/HelpViewer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tovrimo {

namespace {

QPointer<HelpViewer> g_viewer;

const QString kContentsAnchor = QStringLiteral("contents");

#ifndef TOVRIMO_DATADIR
#define TOVRIMO_DATADIR ""
#endif
#ifndef TOVRIMO_DATADIR_FROM_BINDIR
#define TOVRIMO_DATADIR_FROM_BINDIR ""
#endif

}  // namespace

HelpViewer::HelpViewer() : QWidget(nullptr, Qt::Window), browser_(new QTextBrowser(this))
{
    setObjectName(kObjectName);
    setAttribute(Qt::WA_DeleteOnClose);
    // The resident program has no main window: closing help must not end it.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(tr("トヴリモ ヘルプ"));
    browser_->setObjectName(kBrowserName);
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 480);
}

HelpViewer* HelpViewer::current()
{
    return g_viewer.data();
}

void HelpViewer::closeHelp()
{
    if (g_viewer) g_viewer->close();
}

HelpViewer* HelpViewer::showContents(const std::string& helpFile, QWidget* owner)
{
    return present(helpFile, kContentsAnchor, owner);
}

HelpViewer* HelpViewer::showTopic(const std::string& helpFile, int topicId, QWidget* owner)
{
    return present(helpFile, QString::number(topicId), owner);
}

HelpViewer* HelpViewer::present(const std::string& helpFile, const QString& anchor, QWidget* owner)
{
    if (helpFile.empty()) return nullptr;
    // A hidden owner (the resident window) is no place to centre on or to take a layer from.
    if (owner && !owner->isVisible()) owner = nullptr;
    if (!g_viewer) {
        g_viewer = new HelpViewer();
        if (owner) g_viewer->move(owner->geometry().center() - g_viewer->rect().center());
    }
    g_viewer->open(resolveHelpFile(helpFile), anchor);
    // The print dialog stays on top of every other window: the guide opened from it shares
    // that layer, or it would open behind the dialog.
    const QWidget* top = owner ? owner->window() : nullptr;
    const bool onTop =
        top && top->isVisible() && top->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    if (g_viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop)
        g_viewer->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    g_viewer->show();
    g_viewer->raise();
    g_viewer->activateWindow();
    return g_viewer;
}

std::string HelpViewer::resolveHelpFile(const std::string& helpFile)
{
    const QFileInfo requested(QString::fromStdString(helpFile));
    if (requested.isFile()) return helpFile;
    QString name = requested.fileName();
    if (name.endsWith(QStringLiteral(".hlp"), Qt::CaseInsensitive))
        name = name.left(name.size() - 4) + QStringLiteral(".html");
    // The requested folder (a portable install keeps the guide there), the binary's folder
    // (the build tree), the data folder beside the binary's (an install under any prefix),
    // then the data folder of the configured prefix.
    const QString bin = QCoreApplication::applicationDirPath();
    const QString fromBin = QString::fromUtf8(TOVRIMO_DATADIR_FROM_BINDIR);
    const QStringList folders{requested.absolutePath(), bin,
                              fromBin.isEmpty() ? QString() : bin + QLatin1Char('/') + fromBin,
                              QString::fromUtf8(TOVRIMO_DATADIR)};
    for (const QString& folder : folders) {
        if (folder.isEmpty()) continue;
        const QFileInfo candidate(folder + QLatin1Char('/') + name);
        if (candidate.isFile()) return candidate.absoluteFilePath().toStdString();
    }
    return helpFile;
}

void HelpViewer::open(const std::string& helpFile, const QString& anchor)
{
    file_ = helpFile;
    const QString path = QString::fromStdString(helpFile);
    if (!QFileInfo(path).isFile()) {
        // A title of its own, so that the window never passes for the guide.
        setWindowTitle(tr("トヴリモ ヘルプ - ファイルが見つかりません"));
        browser_->setHtml(
            tr("<p>ヘルプファイル %1 が見つかりません。</p>").arg(path.toHtmlEscaped()));
        return;
    }
    browser_->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? tr("トヴリモ ヘルプ") : title);
    browser_->scrollToAnchor(anchor);
}

}  // namespace tovrimo
