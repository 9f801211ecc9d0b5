#pragma once

namespace tovrimo {

// The resident program handles screen-sized images (8 MB at 1920x1080, more while printing)
// for a moment at a time and then sits idle for hours. By default the C library starts
// serving such blocks from its heap once the first one was freed, and a heap keeps the pages
// of freed blocks, so the idle program would stay as large as its largest hard copy. This
// fixes the threshold instead: large blocks are always mapped on their own and go back to the
// system the moment they are freed. Called once, first thing in main.
void KeepLargeBlocksOutOfTheHeap();

}  // namespace tovrimo
