#include "platform/MemoryPolicy.h"

#include <malloc.h>

namespace tovrimo {

void KeepLargeBlocksOutOfTheHeap()
{
#ifdef M_MMAP_THRESHOLD
    // 256 KiB: scan lines and glyph caches stay in the heap; images and page buffers do not.
    // Setting either value turns off the library's moving threshold.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024);
#endif
}

}  // namespace tovrimo
