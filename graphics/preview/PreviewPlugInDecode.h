// The thumbnail loader's reading through the image plug-ins. Its hosts run on the
// loader's thread inside an item, so they never take the loader's reader lock (it
// would wait for the item it is part of).
#pragma once
#include <windows.h>

class CPictureData;

// 1 decoded, 0 a plug-in took the file and gave no picture, -1 no plug-in takes it.
// Media kinds give the plug-in's preview; a path the ANSI code page cannot carry,
// or a plug-in that fails on the file name, is read through memory.
int DecodePreviewFile(LPCWSTR path, CPictureData& picture);
// Nonzero when an enabled image plug-in's patterns take the name.
int PreviewPlugInTakesName(LPCWSTR name);
// The picture of an archive member's bytes, by the plug-in its name chooses; 1/0.
int DecodePreviewMemory(LPCWSTR name, const void* data, SIZE_T size, CPictureData& picture);
