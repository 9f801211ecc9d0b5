#pragma once

#include <string>

namespace tovrimo {

// The Japanese description of an extended error code of the common file and font dialogs;
// unknown codes get the general text.
std::string dialogErrorText(int errorCode);

}  // namespace tovrimo
