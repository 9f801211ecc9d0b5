#include "platform/x11/X11KeyCodes.h"

namespace tovrimo {

std::string HotKeyAtomName(int slot)
{
    return "TVRMHOTKEY" + std::to_string(slot);
}

}  // namespace tovrimo
