#pragma once

#include <QIcon>

namespace tovrimo {

// The program's built-in icon from the compiled-in resources. The resources live in a static
// library, whose initialiser the linker drops unless something refers to it: this does, and
// registers them once.
QIcon ProgramIcon();

}  // namespace tovrimo
