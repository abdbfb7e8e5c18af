// What the view keeps while a pane shows pictures: where it stands in the picture
// list, what is loaded and how it is laid out in the client area; and the filer's
// background picture.
#pragma once
#include <windows.h>
#include "archivefront/ArchiveFront.h"
#include "filer/FileInfo.h"
#include "graphics/picture/PictureData.h"
#include "graphics/plugins/SusiePlugInHost.h"
#include "filer/ZoomRatio.h"
#include "view/graphic/PicturePosition.h"

#include <memory>

// The graphic state word.
enum
{
    GRAPHIC_STATE_LOADING = 0,
    GRAPHIC_STATE_SHOWN = 2,
};

// Why graphic mode ends (LeaveGraphicMode): the results of a step, or the user.
enum
{
    GRAPHIC_LEAVE_CANCELLED = 1,
    GRAPHIC_LEAVE_NO_MORE = 2,
    GRAPHIC_LEAVE_LOAD_FAILED = 3,
    GRAPHIC_LEAVE_BY_USER = 4,
};

// A load the user stopped.
constexpr int PICTURE_LOAD_CANCELLED = -2;

// Parts of UpdatePictureLayout.
enum
{
    PICTURE_LAYOUT_WINDOW = 0x2,
    PICTURE_LAYOUT_ORIGIN = 0x4,
    PICTURE_LAYOUT_ALL = 0xFFFF,
};

class CFilerPane;

struct GraphicViewState
{
    // Fills pictures from the pane's targets (the cursor entry alone for a single
    // picture): a marked folder gives its picture files in their sorted order, a
    // shortcut its target. 0 when a folder could not be listed.
    int CollectPictureList(CFilerPane& pane);
    // The archive the walk opens for the inner level and the plug-in host that reads
    // the pictures, each made on first use and kept for the session.
    CArchiveFront& Archive();
    CSusiePlugInHost& PlugInHost();

    int state = GRAPHIC_STATE_LOADING;
    int paused = 0;
    int singlePicture = 0;
    CPicturePosition position;
    // The files the session walks (the marked files, a marked folder's pictures).
    CArrayFileInfo pictures;
    // Index into pictures of the entry shown or loading; -1 for none.
    INT_PTR current = -1;
    // The archive (a file of the list) whose members the position's inner level walks.
    CString archivePath;
    // The member shown last (archives), for titles and saving.
    CString memberName;
    // Fit flags: F1 ("HEIGHTSCALING", fit the width), F2 ("WIDTHSCALING").
    int fitWidth = 1;
    int fitHeight = 1;
    CZoomRatio zoom;
    CZoomRatio keptZoom;
    SIZE available = {0, 0};
    SIZE border = {0, 0};
    SIZE displayed = {0, 0};
    // The picture's client position when not scrolled, and while drawing.
    POINT baseOrigin = {0, 0};
    POINT origin = {0, 0};
    // Scroll ranges and positions in units of 50 pixels.
    int hMin = 0, hMax = 0, vMin = 0, vMax = 0;
    int hPos = 0, vPos = 0;
    // The frame's rectangle before the session grew it.
    CRect frameBefore;
    int frameRemembered = 0;
    // Set while the picture is drawn: Enter then waits for the next key.
    int drawingPicture = 0;
    // The filer's background picture, and when it changes next (UTC).
    std::unique_ptr<CPictureData> backgroundPicture;
    FILETIME nextBackgroundChange = {};
    // The picture list window and the small picture window: the options (cleared
    // when the user closes the window) and whether they were placed yet.
    int listWindowShown = 0;
    int smallWindowShown = 0;
    int listWindowPlaced = 0;
    int smallWindowPlaced = 0;
    // Null until first used; the view's tear-down frees them.
    std::unique_ptr<CArchiveFront> archive;
    std::unique_ptr<CSusiePlugInHost> plugInHost;
};
