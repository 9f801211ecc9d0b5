#include "platform/QtMessages.h"

#include <QtGlobal>

namespace tovrimo {

namespace {

QtMessageHandler g_previous = nullptr;

void DropMissingRuntimeFolderNote(QtMsgType type, const QMessageLogContext& context,
                                  const QString& message)
{
    if (type == QtWarningMsg && IsMissingRuntimeFolderNote(message)) {
        return;
    }
    if (g_previous) {
        g_previous(type, context, message);
    }
}

}  // namespace

bool IsMissingRuntimeFolderNote(const QString& message)
{
    return message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

void QuietMissingRuntimeFolderNote()
{
    if (g_previous) {
        return;  // installed already
    }
    g_previous = qInstallMessageHandler(DropMissingRuntimeFolderNote);
}

}  // namespace tovrimo
