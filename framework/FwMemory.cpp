#include "framework/FwMemory.h"

void FwPrefaultPages(void* start, size_t bytes)
{
    // Locked a few MiB at a time, below the 8 MiB an ordinary Linux user may lock.
    const size_t kStep = size_t(4) << 20;
    char* at = static_cast<char*>(start);
    while (bytes > 0)
    {
        const size_t step = bytes < kStep ? bytes : kStep;
        if (VirtualLock(at, step))
            VirtualUnlock(at, step);
        at += step;
        bytes -= step;
    }
}
