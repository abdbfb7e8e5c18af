// The packed DIB the graphic viewer puts on the clipboard.
#pragma once
#include <windows.h>

// Builds a moveable global block holding a packed DIB: the header (40 bytes as held,
// or a 124-byte version 5 header with an alpha mask when asVersion5), the colour
// masks after a plain 40-byte header with bit fields, the colour table, then the
// pixels. Only the header's own bytes, masks and table are taken from the picture's
// header block: a block larger than those (as plug-ins hand back) would otherwise
// shift every pasted row. *format becomes CF_DIBV5 or CF_DIB. nullptr when the
// block cannot be made or the header does not hold what it promises.
HGLOBAL BuildClipboardDib(const BITMAPINFOHEADER* header, SIZE_T headerBlockSize, const BYTE* bits,
                          SIZE_T bitsSize, bool asVersion5, UINT* format);
