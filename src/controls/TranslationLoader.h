#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

namespace tovrimo {

// Where a translation of the program can be put, first match first: a "translations" folder
// beside the binary (a portable install or the build tree), in the data folder beside the
// binary's (an install under any prefix), or in the configured data folder.
QStringList TranslationFolders();

// Installs the translation that fits the user's languages best, "tovrimo_<language>.qm" from the
// first folder that has one, for the Qt texts and the core's. Nothing is installed when there
// is none: the texts are then shown in Japanese, as written. Returns the file installed, or
// an empty string.
QString InstallProgramTranslation(const QStringList& folders, const QLocale& locale);

}  // namespace tovrimo
