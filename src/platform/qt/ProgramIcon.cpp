#include "platform/qt/ProgramIcon.h"

#include <QString>

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterBuiltInResources()
{
    static const bool kRegistered = [] {
        Q_INIT_RESOURCE(tovrimo);
        return true;
    }();
    (void)kRegistered;
}

namespace tovrimo {

QIcon ProgramIcon()
{
    RegisterBuiltInResources();
    return QIcon(QStringLiteral(":/tovrimo.png"));
}

}  // namespace tovrimo
