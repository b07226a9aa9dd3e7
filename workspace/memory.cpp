#include "workspace/memory.h"

#include <malloc.h>

namespace vellumo {

bool keepLargeBlocksMapped() {
    // Setting the threshold also stops the C library from moving it.
    return mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes) == 1;
}

}  // namespace vellumo
