// What the shell commands keep for the life of the view.
#pragma once
#include "framework/FwCollections.h"
#include "framework/FwString.h"

struct ShellViewState
{
    // The folder and name of the last archive member extracted for the shell.
    CString extractedFolder;
    CString extractedName;
    // The temporary folders this run made for itself, one per temporary folder they
    // were made in (the setting may change while the program runs).
    CStringArray ownTempFolders;
    // The options of "@Newselelect": mark in both panes; always mark files that exist
    // on one side only.
    int newerBothPanes = 0;
    int newerOneSide = 0;
};
