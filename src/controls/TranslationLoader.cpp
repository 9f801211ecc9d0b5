#include "controls/TranslationLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

#include "platform/Translated.h"

namespace tovrimo {

QStringList TranslationFolders()
{
    const QString bin = QCoreApplication::applicationDirPath();
    const QString fromBin = QString::fromUtf8(TOVRIMO_DATADIR_FROM_BINDIR);
    QStringList folders{bin + QStringLiteral("/translations")};
    if (!fromBin.isEmpty())
        folders << bin + QLatin1Char('/') + fromBin + QStringLiteral("/translations");
    folders << QString::fromUtf8(TOVRIMO_DATADIR) + QStringLiteral("/translations");
    return folders;
}

QString InstallProgramTranslation(const QStringList& folders, const QLocale& locale)
{
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (!translator->load(locale, QStringLiteral("tovrimo"), QStringLiteral("_"), folder)) {
            delete translator;
            continue;
        }
        QCoreApplication::installTranslator(translator);
        InstallTextTranslator(&QtTextTranslator);
        return QDir::cleanPath(translator->filePath());
    }
    return {};
}

}  // namespace tovrimo
