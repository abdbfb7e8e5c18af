// Reading a picture through a loaded image plug-in: the wide form first, the narrow
// one when the wide is missing or fails, every call under a fault guard, and the
// blocks handed over checked before anything reads them.
#pragma once
#include <windows.h>

class CPictureData;

// Result of a picture call: 0 read, the plug-in's own code, SUSIE_NO_EXPORT when the
// plug-in has neither form, SUSIE_FAILED when it faulted, gave no blocks, or gave
// blocks that do not hold a picture.
constexpr int SUSIE_NO_EXPORT = -1;
constexpr int SUSIE_FAILED = 8;

// The whole picture (or, with `preview`, the plug-in's preview) of the file at `path`,
// whose format starts `headerOffset` bytes in. The picture is empty on failure.
int SusieGetPictureFromFile(HMODULE module, LPCWSTR path, int headerOffset, int preview,
                            CPictureData& picture);

// The picture held in memory: input flag 1, then 7.
int SusieGetPictureFromMemory(HMODULE module, LPCWSTR name, const void* data, SIZE_T size,
                              CPictureData& picture);
