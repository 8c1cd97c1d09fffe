#include "base/memory.h"

#include "base/platform.h"

namespace torrentix {

void giveBackFreeMemory() {
    platform::returnFreedMemory();
}

} // namespace torrentix
