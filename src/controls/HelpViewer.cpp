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

}  // namespace

HelpViewer::HelpViewer() : QWidget(nullptr, Qt::Window), browser_(new QTextBrowser(this))
{
    setObjectName(kObjectName);
    setAttribute(Qt::WA_DeleteOnClose);
    // The resident program has no main window: closing help must not end it.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("トヴリモ ヘルプ"));
    browser_->setObjectName(kBrowserName);
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 480);
}

HelpViewer* HelpViewer::Current()
{
    return g_viewer.data();
}

HelpViewer* HelpViewer::Show(const std::string& helpFile, int32_t command, int32_t context,
                             QWidget* owner)
{
    if (command == HELP_QUIT) {
        if (g_viewer) g_viewer->close();
        return nullptr;
    }
    if (!g_viewer) {
        g_viewer = new HelpViewer();
        if (owner) g_viewer->move(owner->geometry().center() - g_viewer->rect().center());
    }
    g_viewer->open(helpFile, command, context);
    g_viewer->show();
    g_viewer->raise();
    g_viewer->activateWindow();
    return g_viewer;
}

std::string HelpViewer::ResolveHelpFile(const std::string& helpFile)
{
    const QFileInfo requested(QString::fromStdString(helpFile));
    if (requested.isFile()) return helpFile;
    QString name = requested.fileName();
    if (name.endsWith(QStringLiteral(".hlp"), Qt::CaseInsensitive))
        name = name.left(name.size() - 4) + QStringLiteral(".html");
    const QStringList folders{QCoreApplication::applicationDirPath(),
                              QString::fromUtf8(TOVRIMO_DATADIR)};
    for (const QString& folder : folders) {
        if (folder.isEmpty()) continue;
        const QFileInfo candidate(folder + QLatin1Char('/') + name);
        if (candidate.isFile()) return candidate.absoluteFilePath().toStdString();
    }
    return helpFile;
}

void HelpViewer::open(const std::string& helpFile, int32_t command, int32_t context)
{
    file_ = helpFile;
    const QString path = QString::fromStdString(helpFile);
    if (!QFileInfo(path).isFile()) {
        browser_->setHtml(QStringLiteral("<p>ヘルプファイル %1 が見つかりません。</p>")
                              .arg(path.toHtmlEscaped()));
        return;
    }
    browser_->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    const QString title = browser_->documentTitle();
    if (!title.isEmpty()) setWindowTitle(title);
    if (command == HELP_CONTEXT)
        browser_->scrollToAnchor(QString::number(context));
    else
        browser_->scrollToAnchor(kContentsAnchor);
}

}  // namespace tovrimo
