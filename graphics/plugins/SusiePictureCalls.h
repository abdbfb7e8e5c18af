// Reading a picture through a loaded image plug-in: the wide form first, the narrow
// one when the wide is missing or fails, every call under a fault guard, and the
// blocks handed over checked before anything reads them.
#pragma once
#include <windows.h>

class CPictureData;
class CProgressInfo;

// Result of a picture call: 0 read, the plug-in's own code, SUSIE_NO_EXPORT when the
// plug-in has neither form, SUSIE_FAILED when it faulted, gave no blocks, or gave
// blocks that do not hold a picture.
constexpr int SUSIE_NO_EXPORT = -1;
constexpr int SUSIE_FAILED = 8;

// The callback a plug-in reports its progress to: it stores done and total in the
// record, has the record report them, and answers "stop" (nonzero) once the record
// was cancelled.
typedef int(WINAPI* SusieProgressFunc)(int done, int total, LONG_PTR data);
// The callback for a record that has someone to report to; null for none.
SusieProgressFunc SusieProgressCallbackFor(CProgressInfo* progress);

// The whole picture (or, with `preview`, the plug-in's preview) of the file at `path`,
// whose format starts `headerOffset` bytes in. The picture is empty on failure.
// The plug-in reports its progress to `progress` when that has a callback.
int SusieGetPictureFromFile(HMODULE module, LPCWSTR path, int headerOffset, int preview,
                            CPictureData& picture, CProgressInfo* progress = nullptr);

// The picture held in memory: input flag 1, then 7.
int SusieGetPictureFromMemory(HMODULE module, LPCWSTR name, const void* data, SIZE_T size,
                              CPictureData& picture, CProgressInfo* progress = nullptr);
