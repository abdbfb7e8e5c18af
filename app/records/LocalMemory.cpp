#include "app/records/LocalMemory.h"

namespace
{
HLOCAL SystemLocalAlloc(UINT flags, SIZE_T bytes)
{
    return LocalAlloc(flags, bytes);
}

HLOCAL SystemLocalReAlloc(HLOCAL block, SIZE_T bytes, UINT flags)
{
    return LocalReAlloc(block, bytes, flags);
}
} // namespace

LocalMemoryHooks g_LocalMemoryHooks = {&SystemLocalAlloc, &SystemLocalReAlloc};

void* LocalAllocLocked(UINT flags, SIZE_T bytes)
{
    HLOCAL block = LocalAlloc(flags, bytes);
    if (block == nullptr)
    {
        return nullptr;
    }
    void* pointer = LocalLock(block);
    if (pointer == nullptr)
    {
        LocalFree(block);
    }
    return pointer;
}

void LocalFreeLocked(void* pointer)
{
    if (pointer == nullptr)
    {
        return;
    }
    HLOCAL block = LocalHandle(pointer);
    if (block != nullptr)
    {
        LocalUnlock(block);
        LocalFree(block);
    }
}

void* LocalReAllocGrow(void* pointer, SIZE_T bytes, SIZE_T* capacity)
{
    SIZE_T size = bytes;
    if (capacity != nullptr)
    {
        size = (bytes / LOCAL_GROW_STEP + 1) * LOCAL_GROW_STEP;
        if (pointer != nullptr && *capacity > bytes)
        {
            return pointer;
        }
    }
    void* result = nullptr;
    if (pointer == nullptr)
    {
        HLOCAL block = g_LocalMemoryHooks.alloc(LMEM_MOVEABLE | LMEM_ZEROINIT, size);
        if (block == nullptr)
        {
            return nullptr;
        }
        result = LocalLock(block);
        if (result == nullptr)
        {
            LocalFree(block);
            return nullptr;
        }
    }
    else
    {
        HLOCAL block = LocalHandle(pointer);
        if (block == nullptr)
        {
            return nullptr;
        }
        // A locked moveable block cannot move; unlock it for the reallocation
        // and lock the old block again when that fails, so the caller's pointer
        // stays usable.
        LocalUnlock(block);
        HLOCAL grown = g_LocalMemoryHooks.reAlloc(block, size, LMEM_MOVEABLE);
        if (grown == nullptr)
        {
            LocalLock(block);
            return nullptr;
        }
        result = LocalLock(grown);
        if (result == nullptr)
        {
            return nullptr;
        }
    }
    if (capacity != nullptr)
    {
        *capacity = size;
    }
    return result;
}
