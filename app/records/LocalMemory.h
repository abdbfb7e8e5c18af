// Relocatable memory blocks for the clipboard, drag and drop and file buffers:
// blocks from LocalAlloc kept locked, passed around as the locked pointer; the
// handle is found again with LocalHandle when the block is freed or resized.
#pragma once
#include <windows.h>

// LocalAlloc and LocalLock; the locked pointer, or null.
void* LocalAllocLocked(UINT flags, SIZE_T bytes);

// LocalUnlock and LocalFree of the block behind the pointer; null is accepted.
void LocalFreeLocked(void* pointer);

// Step in which LocalReAllocGrow grows blocks.
constexpr SIZE_T LOCAL_GROW_STEP = 50000;

// A block of at least `bytes` bytes. With a capacity the request is rounded to
// (bytes / 50,000 + 1) x 50,000, and a block whose capacity is already larger than
// the request comes back unchanged. Without a pointer: a new zeroed moveable block.
// With one: the block is reallocated (moveable) to the size and locked again.
// On failure the result is null, the old block stays valid and allocated (the
// caller still owns it) and the capacity keeps its old value; the capacity changes
// only when the block really has the new size.
void* LocalReAllocGrow(void* pointer, SIZE_T bytes, SIZE_T* capacity);

// The allocation calls LocalReAllocGrow goes through, the system's; tests replace
// them to make an allocation fail.
struct LocalMemoryHooks
{
    HLOCAL (*alloc)(UINT flags, SIZE_T bytes);
    HLOCAL (*reAlloc)(HLOCAL block, SIZE_T bytes, UINT flags);
};

extern LocalMemoryHooks g_LocalMemoryHooks;
