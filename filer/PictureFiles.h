// Collection of the picture files below a directory entry (the picture viewer's walk
// through a folder tree) and the test of one file. Which files are pictures is told
// by the archive front end and the image plug-ins, which sit above the filer: they
// answer through g_PictureTestHooks, which the program installs at start-up.
#pragma once
#include <windows.h>
#include "filer/FileInfo.h"

struct PictureTestHooks
{
    // Nonzero when an archive back-end reads a file of this name as a picture.
    int (*isArchivePictureName)(LPCWSTR name);
    // The index (0 or more) of the first enabled image plug-in that accepts the file
    // at `path`; negative when none does.
    int (*findImagePlugIn)(LPCWSTR path);
};

extern PictureTestHooks g_PictureTestHooks;

// The hooks as the program starts with them: with no back-end joined yet no file is
// a picture, so a walk collects nothing rather than files nobody can show.
const PictureTestHooks& DefaultPictureTestHooks();

// The picture order: path components of the real directory (CompareBy key 10), then
// the base name (key 0). -1 when `a` comes first, 0 equal, 1 when `b` comes first.
// Both entries keep the components they cache.
int ComparePictureOrder(CFileInfo& a, CFileInfo& b);
