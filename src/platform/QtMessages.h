#pragma once

#include <QString>

namespace tovrimo {

// Qt looks into the user's runtime folder (XDG_RUNTIME_DIR) when the application starts, only
// to learn whether it runs inside a Flatpak sandbox, and later for icon files some tray hosts
// want. Without the variable it falls back to a folder of its own and writes a warning to
// stderr. Tovrimo keeps nothing there and runs the same either way, so the warning would only
// alarm a user who starts it from a plain X session, a script or a cron job.

// True for exactly that warning; every other message (a runtime folder with wrong permissions
// or a foreign owner included) is kept.
bool IsMissingRuntimeFolderNote(const QString& message);

// Installs a message handler that drops that one warning and passes everything else on to the
// handler that was there before. Call before the QApplication is made.
void QuietMissingRuntimeFolderNote();

}  // namespace tovrimo
