// Choosing an image or archive plug-in of the configured list for a file, and asking
// a loaded plug-in whether it reads the file.
#pragma once
#include <windows.h>
#include "app/settings/GraphicSettings.h"

// Kind flags of the choice.
constexpr int SUSIE_KIND_ARCHIVE = 1;
constexpr int SUSIE_KIND_IMAGE = 2;

// The probe reads this much of the file; the buffer handed to the plug-ins is longer
// by SUSIE_PROBE_SLACK zero bytes, because the second call points 128 bytes in and
// plug-ins read the full 2,048 bytes from where they are pointed.
constexpr DWORD SUSIE_PROBE_BYTES = 2048;
constexpr DWORD SUSIE_PROBE_SLACK = 128;

// Whether the enabled record at `index` is of a wanted kind and one of its patterns
// matches the file name of `path` (case aside; "*.*" and "*." match every name). The
// caller holds g_DataMutex.
int MatchesPlugIn(LPCWSTR path, int kindFlags, INT_PTR index);

// The first index from `startIndex` on whose record matches, or -1; with `record`
// the record is copied out. Takes g_DataMutex for the look-up only.
INT_PTR FindSusiePlugIn(LPCWSTR path, int kindFlags, INT_PTR startIndex, CSusieDllFile* record);

// Whether the loaded plug-in reads the file: asked in the wide, then the narrow form,
// each with the open file, the first bytes, and the bytes from 128 on. 1 with the
// offset at which it recognised the format and the file's size; 0 for a missing or
// empty file or a plug-in that refuses it.
int ProbePlugInForFile(HMODULE module, LPCWSTR path, int* headerOffset, ULONGLONG* size);

// The same for bytes already in memory (at most SUSIE_PROBE_BYTES are looked at):
// they are copied into a zero-padded probe buffer first.
int ProbePlugInForBuffer(HMODULE module, LPCWSTR name, const BYTE* bytes, DWORD count, int* headerOffset);

// The index of the first enabled image plug-in that matches the file and, loaded,
// accepts it; -1 when none does. Each candidate is loaded for the probe only.
int FindImagePlugInForFile(LPCWSTR path);

// Opens the plug-in's own settings window (its ConfigurationDlg export) over the
// parent; nothing for an index beyond the list or a plug-in without one.
void ShowPlugInConfiguration(INT_PTR index, HWND parent);
