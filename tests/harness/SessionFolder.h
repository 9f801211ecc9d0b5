#pragma once

#include <string>

namespace tovrimo::test {

// Removes a desktop session's private folder (its runtime folder, bus sockets, home). The
// session's document portal mounts a FUSE file system in it, which nobody may remove while it
// is mounted, not even root, so every mount below the folder is detached first; helpers the
// compositor or the bus started may still write into it for a moment after they were told to
// go, so removal is tried again for a few seconds. What stayed is written to stderr under
// `who`, so that a failing test names the culprit.
void RemoveSessionFolder(const std::string& folder, const char* who);

}  // namespace tovrimo::test
