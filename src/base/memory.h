#pragma once
// Memory the program has freed, handed back to the system.

namespace torrentix {

// The C library keeps freed memory for later allocations; after a large release (the
// abundances of a big file) handing it back keeps the program's resident size to what it
// holds. Does nothing where the library offers no way to do it.
void giveBackFreeMemory();

} // namespace torrentix
