// Which folders show thumbnails: the enabled list (type 1 the folder, 2 the folder
// and every folder below it, 3 member of a marked tree) and the disabled list that
// overrides a type-2 parent.
#pragma once
#include "app/settings/GraphicSettings.h"

// *type (optional) receives the enabled entry's type, 1 for a folder under a type-2
// entry.
bool IsPreviewDirectory(const PreviewSettings& lists, const CString& folder, BYTE* type = nullptr);
void EnablePreviewDirectory(PreviewSettings& lists, const CString& folder, BYTE type);
// Removes the folder's type-3 entry (any type with anyType); a folder that still
// shows thumbnails (under a type-2 parent) goes on the disabled list.
void DisablePreviewDirectory(PreviewSettings& lists, const CString& folder, bool anyType);
// Marks the folder and every folder below it (reparse points not entered) as a
// tree, or, when it is marked already, removes the folder and everything below.
void TogglePreviewTree(PreviewSettings& lists, const CString& folder);
