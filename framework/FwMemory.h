// Fresh memory brought in ahead of its first writes.
#pragma once

#include <windows.h>

#include <cstddef>

// Maps the committed pages of a fresh range in before they are first written. The first
// write to a fresh page costs a fault of its own, and under Wine in a virtual machine
// that fault is dear (25 to 40 us a page on our build machine, against well under a
// microsecond for writing a page already mapped): VirtualLock, which Wine passes to
// the system's mlock, maps a whole range in one call (1 to 2 us a page), and the first
// writes after it cost about half. The
// lock is let go at once, since only the mapping is wanted; where it is refused (a
// working-set quota, the lock limit of an ordinary user, pages not committed) the pages
// fault in one by one as before.
void FwPrefaultPages(void* start, size_t bytes);
