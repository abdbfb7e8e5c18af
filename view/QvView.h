// The main view: the one window that shows the two panes.
#pragma once
#include "framework/FwApp.h"
#include "framework/FwCollections.h"
#include "framework/FwGdi.h"
#include "framework/FwString.h"
#include "archivefront/ArchiveFront.h"
#include "graphics/picture/PictureData.h"
#include "graphics/plugins/SusiePlugInHost.h"
#include "view/graphic/GraphicViewState.h"
#include "view/graphic/PreviewViewState.h"
#include "view/layout/Layout.h"
#include "view/commands/CommandDispatch.h"
#include "view/status/StatusLine.h"
#include "view/viewer/ViewerViewState.h"
#include "view/binary/BinaryViewState.h"
#include "view/keys/KeyViewState.h"
#include "view/menus/MenuViewState.h"
#include "view/navigation/NavigationViewState.h"
#include "view/scroll/ScrollViewState.h"
#include "view/settings/SettingsViewState.h"
#include "view/shell/ShellViewState.h"
#include "view/system/SystemViewState.h"
#include "app/dialogs/WorkerDialog.h"

#include <shlobj.h>

class CIniFile;
class CSelectedEntryList;

// The view's window timers.
enum ViewTimerId : UINT_PTR
{
    // Every second: re-reads a pane whose directory changed, refreshes the free space.
    VIEW_TIMER_CHANGE_CHECK = 1,
    // The two timers of the drag-selection auto-scroll.
    VIEW_TIMER_DRAG_SCROLL = 6,
    VIEW_TIMER_DRAG_SCROLL_2 = 8,
    // Scroll repeat of the text viewer and of the binary editor.
    VIEW_TIMER_TEXT_SCROLL = 7,
    VIEW_TIMER_BINARY_SCROLL = 9,
    // The binary editor's blinking cursor.
    VIEW_TIMER_BINARY_CURSOR = 10,
};

// Kinds of CQvView::StopViewTimers besides a single timer id (6 to 9 stop only that
// timer).
enum
{
    // An action begins: the view is busy and every timer but the change check stops.
    STOP_TIMERS_FOR_ACTION = 0,
    // The view is only marked busy; the timers run on.
    STOP_TIMERS_MARK_BUSY = 1,
};

class CQvView : public CView
{
    DECLARE_DYNCREATE(CQvView)

public:
    CQvView() = default;
    ~CQvView() override;
    void OnDraw(CDC* pDC) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Whether the program may end; fromClose is 1 when the frame's close asks. Returns
    // the quit question's result (1 end the program, IDC_QUIT_SHUTDOWN end Windows,
    // IDC_QUIT_REBOOT restart it; a WM_CLOSE is then posted to the frame) or 0 when
    // the program stays. While the question is open a further call returns 0 at once.
    int Quit(int fromClose);
    // 1 while Quit's question is open; a close request then is not a new question.
    int m_bQuitQuestionOpen = 0;
    // 1, after telling the user why, while a copy, delete or unpack job still runs.
    int RefuseQuitWhileJobsRun();
    // Asks whether to save the binary-editor panes that were changed.
    void QuerySaveBinaryPanes();

    // ---- binary editor (view/binary/) --------------------------------------------------
    // The pane's editor data when the pane is a binary editor, else null.
    class CBinaryData* BinaryDataOf(int pane) const;
    // The active binary-editor pane, or -1.
    int ActiveBinaryPane() const;
    // Shown data lines of a binary pane (its rows less the header row), at least 1.
    int BinaryShownLines(int pane) const;
    // One line into dc: parts 17 the whole row, 16 the hex area, 1 the characters.
    void DrawBinaryLine(CDC* dc, int pane, int row, LONGLONG line, int parts);
    // The pane's header and data rows (the view's drawing of a binary pane).
    void DrawBinaryBody(CDC* dc, int pane, int right);
    // flag 1: title and caret inverted; 0: the caret cell plain; 2: the caret cell as the
    // selection shows it (and the title when it is inside).
    void DrawBinaryPane(int pane, int flag);
    void InputBinaryNibble(int digit);
    void SelectBinaryMove(LONGLONG delta);
    void RedrawBinaryRange(int pane, LONGLONG newFrom, LONGLONG newTo, LONGLONG oldFrom, LONGLONG oldTo);
    // Client point to a cursor position in nibbles; without clamp the row may be one
    // above or below the shown rows. 0 when the pane is no binary editor.
    int BinaryPointToPosition(int pane, int x, int y, LONGLONG* position, int clamp);
    // After a save: the other pane on the same file reads it again.
    void SyncOtherBinaryPane(int pane);
    // The cursor move of a binary pane (MovePaneCursor's branch).
    void MoveBinaryCursor(int pane, LONGLONG delta);
    // A left click in the active binary pane: the cursor goes to the clicked nibble;
    // with Shift the selection runs from the old cursor to it.
    void ClickBinaryPane(int pane, CPoint point, UINT flags);
    // A drag with the button held: the selection runs from its anchor to the point
    // (the rows beyond the shown ones scroll the pane).
    void DragBinarySelection(int pane, CPoint point);
    // Timer 10: the caret blinks.
    void BlinkBinaryCaret();
    // Timer 9 in a binary pane: "@Autonext" / "@Autobefore" move the cursor on and
    // set the timer again until the last (first) line. 0 when no binary pane repeats.
    int StepBinaryAutoScroll();
    // Timer 7 in a text viewer, the same for its lines (view/viewer/ViewerAutoScroll.cpp).
    int StepTextAutoScroll();
    void OnBinaryEditStart();
    void OnBinaryEditEnd();
    // IDYES/IDNO (the editor closed) or IDCANCEL (still open); style MB_YESNO or
    // MB_YESNOCANCEL.
    int CloseBinaryEditor(int pane, UINT style);
    void OnBinarySave();
    void OnBinaryWriteChangeList();
    void OnBinarySearch();
    void OnBinaryReplace();
    void OnBinaryCompare();
    void OnBinaryCopyHex();
    void OnBinaryCopyData();
    void OnBinaryPasteData();
    void OnBinaryInputPaste();
    void OnBinaryInputPasteLoop();
    void OnBinaryJumpLine();
    void OnBinarySelectRange();
    void OnBinarySelectAll();
    void OnBinaryEditConfig();
    void OnBinaryColorConfig();
    // "@Nextsearch" (reverse 0) and "@Beforesearch" (1) in an active binary pane; 0
    // when there is none.
    int SearchBinaryPane(int reverse);
    // Drag pane, dialog choices and byte clipboard of the binary editor.
    BinaryViewState m_binary;

    // Reads every settings section that start-up left for the view from g_SettingsIni,
    // creates the process-wide objects and both panes, opens the panes on their start
    // directories and then frees g_SettingsIni. Needs no window. A failure sets
    // m_settings.startFailed.
    void LoadViewSettings();
    // Writes the whole settings file (after backing it up), the per-user file when the
    // redirection is on, and the directory-tree caches. Needs no window; failures are
    // silent apart from a log line when the main file could not be read.
    void SaveAllSettings();

    // Stops the view's timers before an action: STOP_TIMERS_FOR_ACTION suspends the
    // change check and kills timers 6 to 10, STOP_TIMERS_MARK_BUSY only suspends, a
    // timer id from 6 to 9 kills that timer. An action brackets itself with a
    // CViewBusyGuard (view/ViewBusyGuard.h) rather than calling this and the next one.
    void StopViewTimers(int kind);
    // Despite its name, this ends every action, whatever the pane shows: the view is
    // idle again (the change check may run), the binary editor's cursor blinks again
    // when the active pane is one, and a request of a further start that waited for
    // this is taken up.
    void StartBinaryCursorTimer();

    // ---- drawing ----------------------------------------------------------------------
    // Each takes the given context (the view font selected) or, with none, the view's
    // client context with the view font; without a window nothing is drawn.
    // The whole pane; runs the layout first and consumes the pane's redraw request.
    void DrawPane(int pane, CDC* pDC = nullptr);
    // The title row alone.
    void DrawPaneTitle(int pane, CDC* pDC = nullptr);
    // A text viewer pane's title row and lines; `right` is the text area's right edge.
    void DrawViewerPane(CDC* dc, int pane, int right);
    // Redraws a text viewer whose loader has indexed more lines since it was drawn.
    void RefreshLoadingViewers();
    // Indexes the active text viewer again with new widths (-1 keeps its own).
    void RewrapViewerPanes(int lineWidth, int tabWidth);
    // "@Lineword1" to "@Lineword5" (menu 618-622): the preset becomes VIEWCHARWIDE.
    void OnViewerLineWidthPreset(UINT id);
    // The viewer settings dialog (menu 1064) and the per-extension rows (menu 605).
    void OnViewerSettings();
    void OnViewerKindSettings();
    // What each text viewer pane was last drawn with, and the active one's selection.
    ViewerViewState m_viewer;
    // Moves the selection's caret by whole characters (byteStep) or to a line's start
    // (lineStep), starting a selection at the top line when there is none.
    void ExtendViewerSelection(INT64 byteStep, INT64 lineStep);
    // ---- text viewer: display form, ranges, mouse, companion (view/viewer/) ------------
    // The shown lines of a text viewer or binary editor pane, only those meeting
    // `update` when it is given.
    void DrawViewerLines(CDC* dc, int pane, const RECT* update);
    void DrawViewerTitle(CDC* dc, int pane, int right);
    // Draws the rows of the span at once (none when both ends are negative), clipped
    // to the pane, and the title row with it when asked.
    void RedrawViewerSpan(int pane, INT64 from, INT64 to, BOOL withTitle = FALSE);
    // Brings [newStart, newEnd) to the middle of the pane and redraws what changed:
    // the lines of the old and the new range, or the whole pane when it moved more
    // than half a page or fullRedraw is set.
    void ScrollViewerToRange(int pane, INT64 oldStart, INT64 oldEnd, INT64 newStart, INT64 newEnd,
                             BOOL fullRedraw);
    // The byte offset under a client point of a text viewer pane in either form;
    // FALSE when the pane shows no text.
    BOOL ViewerPointToPosition(int pane, CPoint point, BOOL after, INT64* offset);
    // The mouse in a text viewer pane: each returns 1 when it took the event.
    int ViewerMouseDown(UINT flags, CPoint point);
    int ViewerMouseMove(CPoint point);
    int ViewerMouseUp();
    // Runs a viewer double-click action ("@Closeviewer", "@Selectoneline",
    // "@Selecturl", "@Startbyurl"); 1 when the keyword was one of them.
    int RunViewerClickAction(const CString& keyword);
    // At the last mouse point: the URL, the display line, the URL handed to the shell.
    void SelectUrlAtPoint();
    void SelectLineAtPoint();
    void OpenUrlAtPoint();
    // The wheel over a text viewer pane; FALSE when the point is over no such pane.
    BOOL ScrollViewerByWheel(UINT flags, short delta, CPoint screenPoint);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    // Another window took the mouse (lParam) during a drag: the drag ends as if the
    // button had come up.
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    void OnRButtonDblClk(UINT flags, CPoint point);
    // A drag selection runs in a text viewer pane; timer 6 replays m_dragPoint (timer 8
    // in a binary-editor pane).
    BOOL m_bTextDrag = FALSE;
    CPoint m_dragPoint;
    // Drag steps in a row with the mouse above or below the text.
    int m_dragScrollCount = 0;
    // The pane that shows the filer's cursor file as a text (-1: the mode is off).
    int m_nCompanionPane = -1;
    void ShowCompanionViewer();
    void ToggleCompanionViewer();
    void DrawMarks(int pane, CDC* pDC = nullptr);
    // The cursor entry as cursor (1) or as a normal entry (0).
    void DrawCursorLine(int pane, int highlighted, CDC* pDC = nullptr);
    // The line between side-by-side panes: all of it (row -1) or one row.
    void DrawPaneDivider(int pane, CDC* pDC, int row);
    COLORREF GetEntryColour(int pane, const class CFileInfo& entry);
    // Set before asking for a drawing; 2 redraws only the entries marked changed.
    int m_paneRedrawRequest[2] = {0, 0};
    // ---- end drawing ------------------------------------------------------------------

    // ---- status -----------------------------------------------------------------------
    // The status rows (part: STATUS_PART_...), the clock and the battery field, drawn
    // into the given context or, with none, the view's client context.
    void DrawStatusLine(int part, CDC* pDC = nullptr);
    void DrawClock(CDC* pDC = nullptr);
    void DrawBatteryStatus(int always, CDC* pDC = nullptr);
    // Moves the text of a viewer or binary-editor pane by whole lines (positive: up),
    // moving pixels and redrawing only the uncovered band.
    void ScrollViewerPane(int pane, int lines);
    CStatusLine m_statusLine;
    // ---- end status -------------------------------------------------------------------

    // ---- layout -----------------------------------------------------------------------
    // The cell grid of the last CalcLayout; every drawing works from it.
    ViewLayout m_layout;
    // The view font; CalcLayout takes the system font while it is empty.
    CFont m_viewFont;
    // The drive bar in header row 1; the header layout sets its base column.
    DriveBarState m_driveBar;
    // Recomputes m_layout from the view font and the client size (no window: 6 x 12
    // cells over 300 x 300 pixels).
    void CalcLayout();
    int IsPaneVisible(int pane);
    // The pane's body with its title row; selected as the clip region of pDC when given.
    void GetPaneRect(CDC* pDC, int pane, CRect* out = nullptr);
    void GetEntryCell(int pane, int i, int j, INT64* index, int* column, int* row, BOOL noMark);
    // The rectangles a repaint of the pane is tested against.
    void GetPaneAreaRects(int pane, CRect& list, CRect& title);
    // 1 and the cell of the cursor entry's first text character when it is shown.
    int GetCursorCell(int pane, int* column, int* row);
    // 1 when the pane's mode shows the vertical scroll strip.
    int CanScrollPane(int pane);
    // The first cell of the pane's title row: ">" for the active pane.
    void DrawPaneCursorMark(CDC* pDC, int pane);
    // Flags 1 scroll buttons, 2 all letters, 4 only the changed highlight, 8 re-read the
    // drives first. pDC null: the view's own client context.
    void DrawDriveBar(CDC* pDC, int flags);
    // A left click anywhere in the client area: scrolls the bar on its buttons, and
    // returns the drive letter clicked (0 for none).
    wchar_t DriveBarClick(CPoint point);
    // The button release: a pressed arrow of the drive bar is drawn raised again.
    void ReleaseDriveBarButtons();
    // ---- end layout -------------------------------------------------------------------

    // ---- Keys, commands, cursor movement and scrolling --------------------------------
    // Key resolution (view/keys/KeyResolution.cpp).
    // Every WM_KEYDOWN and a system F10: 1 when the key was one of the key table or
    // Enter (consumed), 0 to let the default window procedure have it.
    int OnKeyDownFront(UINT vk, UINT repeat, UINT flags);
    // Modifier 0 none, 1 Shift, 2 Ctrl, 3 Alt: 0 when the key is not in the key table or
    // resolves to no binding, else 1.
    int ExecuteKeyCommand(UINT vk, int modifier);
    // Runs the keyword through the active pane's family dispatcher; 0 for an empty one.
    int DispatchCommandKeyword(LPCWSTR keyword, int modifier = 0, UINT vk = 0);
    // The keyword a menu command runs; 1 when one was found.
    int GetKeywordOfMenuId(UINT menuId, CString& keyword);
    // The key text ("C", "Shift+F3" …) of the first key bound to the keyword.
    int GetKeyNameOfKeyword(LPCWSTR keyword, CString& keyText);
    // 1 closes, 2 opens the view's input method; anything else leaves it.
    void ApplyImeControl(int value);

    // Key routing (view/keys/KeyRouting.cpp): the keys that act before the bindings.
    void RouteKeyPress(UINT vk);
    void OnKeyDown(UINT vk, UINT repeat, UINT flags);
    void OnSysKeyDown(UINT vk, UINT repeat, UINT flags);
    // Set by "@Dirjumpkey": the next key picks a jump directory.
    int m_bJumpKeyArmed = 0;
    // Set by the sound list window: the next key skips the filer-only early keys.
    int m_bKeyPassThrough = 0;
    // 1 when the last key switched the incremental or the simple search on.
    int m_bSearchModeSwitched = 0;

    // The keyword dispatchers (view/commands/): 1 when the text ran an operation.
    int ExecuteFilerCommand(LPCWSTR keyword);
    int ExecuteViewerCommand(LPCWSTR keyword);
    int ExecuteBinaryCommand(LPCWSTR keyword);
    int ExecuteGraphicCommand(LPCWSTR keyword);
    // The text may carry an argument after its first blank.
    int ExecuteCommonCommand(LPCWSTR text);
    int ExecuteCommonCommand2(LPCWSTR keyword, LPCWSTR argument);
    // A binding text that is no keyword of the filer family: a program to run, or
    // with "@Defaultexe" the run dialog filled with it (view/shell/).
    int ExecuteBoundProgram(LPCWSTR text);
    // Runs a program line in the pane: a filer keyword, or the program once, once per
    // target entry, or once per pair of entries, as the macros of program and
    // parameters ask. An empty work directory is the pane's folder.
    void ExecuteCommandLine(int pane, LPCWSTR program, LPCWSTR parameters, LPCWSTR workDirectory);
    // The run dialog filled with the texts; IDOK when a line was run. remember keeps
    // the texts for the next "@Execute".
    INT_PTR RunExecuteDialog(int pane, LPCWSTR program, LPCWSTR parameters, int remember);
    // "@Execute" (0), "@ExecuteSetFileToParam" (1), "@ExecuteSetFileToFile" (2).
    void RunExecuteCommand(int kind);
    // The shell openers (view/shell/ShellOpeners.cpp); verb null or "RunAs".
    void OpenCommandPrompt(LPCWSTR verb);
    void OpenPowerShell(LPCWSTR verb);
    // A new file of new-file kind n in the active pane's folder.
    void CreateNewFile(int kind);
    // The file-kind loop command of each target file.
    void RunFileKindLoop();
    // Names of the target entries to the clipboard: kind 0 names, 5 names without
    // extension, 1 full paths, 2 full paths with network drives as their shares,
    // 4 sizes (view/shell/Clipboard.cpp).
    void CopyEntryNamesToClipboard(int kind);
    // Opens, empties and fills the clipboard; 1 on success. On failure the block
    // stays the caller's.
    int SetClipboard(UINT format, HGLOBAL block);
    // The target entries of the active filer pane as files on the clipboard, with the
    // drop effect (DROPEFFECT_COPY or DROPEFFECT_MOVE) a paste is to apply.
    void CopyTargetsToClipboard(int dropEffect);
    // The "Shell IDList Array" of the pane's target entries for a drag out of the
    // pane (withFlag: the marked entries only when the cursor entry is marked); null
    // on any failure. The caller owns the block (view/shell/ShellIdList.cpp).
    HGLOBAL BuildShellIdListArray(int pane, int withFlag);
    // "@Newselelect": marks the files newer than their namesakes in the other pane
    // (view/shell/MarkNewerFiles.cpp).
    void MarkNewerFiles();
    // The right-click menu (view/shell/ContextMenu.cpp) of the pane at the client
    // point; from the keyboard it opens at the cursor entry.
    void ShowContextMenu(int pane, CPoint point, int fromKeyboard);
    void ShowFilerContextMenu(int pane, CPoint point, int fromKeyboard);
    // A chosen item: the shell's commands (10000-50000), the user's items (6300-6309)
    // and the program's commands.
    void RunContextMenuCommand(UINT id);
    // User menu item n: a filer keyword or a program line.
    void OnUserMenuItem(int n);
    // The file in the configured editor (EDITORNAME, its macros expanded); with
    // unicodeOption a UTF-16 file gets EDITOR_OPEN_UNICODE_OPTION first
    // (view/shell/EditorAndVerbs.cpp).
    void OpenInEditor(LPCWSTR fileName, LPCWSTR directory, int pane, int unicodeOption);
    // The file started with the first verb its file class registers; 1 when started.
    int OpenWithShellVerb(LPCWSTR fileName, LPCWSTR directory);
    // The cursor member of the active archive listing extracted into the program's own
    // temporary folder; 1 when it was (view/shell/ShellOpeners.cpp).
    int ExtractCursorMemberToTemp();
    // A shortcut in the pane's folder for each dropped file, named after the file
    // without its extension (view/shell/Shortcuts.cpp).
    void CreateShortcutsFromDrop(int pane, HDROP drop);
    // The last extracted member and the options of "@Newselelect".
    ShellViewState m_shell;

    // ---- System commands (view/system/) -----------------------------------------------
    // "@Fullscreen": the frame without caption and borders over its monitor, and back.
    // The graphic viewer keeps a flag and a rectangle of its own.
    void OnFullScreen();
    // The full-screen state and the audio devices of the dynamic menu items.
    SystemViewState m_system;
    // "@Displayset0".."9": the screen in the slot's mode, the font built for it again.
    void ApplyDisplaySet(int slot);
    // Items 369-378: the slot's mode as text, or "未設定" and disabled.
    static void UpdateDisplaySetMenuItem(CCmdUI& item, int slot);
    // The new-file kinds (6100 on) under the first popup's first popup of `menu`.
    static void AppendNewFileMenu(HMENU menu);
    // The control-panel applets (6000 on) before item 139, and the audio devices (6311
    // on, 6321 on) before the "(なし)" items 3028 and 3029, the lists read again.
    void InsertDynamicMenuItems(HMENU menu);
    // Every output or input device with that friendly name (any case) becomes the
    // default; the result of the endpoint call.
    int SetDefaultOutputDevice(LPCWSTR name);
    int SetDefaultInputDevice(LPCWSTR name);
    // The keyword of a device item (6311-6320, 6321-6330): "@SetAudioPlayback" or
    // "@SetAudioCapture" with the device's friendly name, the text a key binding holds;
    // 0 for other ids and for ids past the devices listed.
    int GetDeviceMenuKeyword(UINT id, CString& keyword);
    // "@Diskformat": the shell's format dialog for a removable drive of the drive list.
    void OnFormatDisk();
    // "@Opencpl": the applet of the CPL file under the filer cursor.
    void OnOpenControlPanelApplet();
    void OnMove(int x, int y);
    // The owner of an auxiliary dialog (DIALOG_PARENT_...): the main window, or null
    // (the desktop) with ALL_DIALOG_OTHER_WINDOW or the dialog's own-window flag.
    CWnd* GetDialogParent(int kind);
    enum
    {
        DIALOG_PARENT_GRAPHIC_LIST = 0,
        DIALOG_PARENT_FIND_FILE = 1,
        DIALOG_PARENT_DIRECTORY_HISTORY = 2,
    };
    // Menu 522: the common font dialog; OK stores the face, character set, height,
    // width and weight and builds the view font again.
    void OnDisplayFont();
    // The input method's composition and candidate windows just below the active
    // pane's cursor cell (the top-left corner while a picture is shown).
    void UpdateImeWindowPos();
    // Menu 329: the graphic settings sheet; on OK every thumbnail is made again.
    void OnGraphicSettings();
    // Opens the directory (environment variables expanded) in the active pane.
    int ChangeToEnvironmentPath(LPCWSTR path);
    // The other pane (the hidden one first, which then opens where the active pane
    // is unless KEEP_FILER_INFO) becomes active; a cursorIndex other than -1 becomes
    // its cursor in the listing modes.
    void SwitchActivePane(int cursorIndex);
    // Pane 0 or 1 of the active pane; -1 when none is active.
    int GetActivePaneIndex() const;

    // The file commands on the active pane (view/fileops/). Each opens its dialog
    // on the pane's targets and reloads the panes when the work is done; a modeless
    // job is registered first and only the reaping deletes it.
    void OnCopy();
    void OnMoveFiles();
    void OnCopyToAllDirs();
    void OnDelete();
    void OnMakeDirectory();
    void OnAttribute();
    // oneByOne: one dialog per target, else one for all; in the drive list the
    // cursor drive's volume label.
    void RenameEntries(int oneByOne);
    void ExchangeNames();
    void OnBrowseArchive();
    void OnPasteFiles();
    // A copy, move (kind DROP_COPY, DROP_MOVE) or link drop (DROP_LINK) of the files
    // of the drop handle into the pane's folder.
    void CopyDroppedFiles(int pane, HDROP drop, int kind);
    // Every archive listing of the pane's archive listed again, the cursor on the
    // name when it is still there.
    void ReopenArchiveListings(int pane, LPCWSTR cursorName);
    // The left button (view/mouse/): a click moves the cursor and marks, a double
    // click opens the entry.
    void OnLButtonDown(UINT flags, CPoint point);
    // Files dropped on the view: a copy or move into the pane under the point.
    void OnDropFiles(HDROP hDropInfo);
    void OnLButtonDblClk(UINT flags, CPoint point);
    // The right button over a pane opens that pane's menu (unless RIGHTMOUSEDISABLE).
    void OnRButtonDown(UINT flags, CPoint point);
    // Set while a drag of files runs from this view.
    int m_bShellDragStarted = 0;
    CPoint m_lastClickPoint;
    int m_clickPane = -1;
    INT64 m_clickEntry = -1;
    // Pane and entry index under the client point; -1 for none.
    void HitTest(CPoint point, int* pane, INT64* entry);
    // "@Unpack": the archives of a filer pane (modeless) or the members of an
    // archive listing (modal).
    void OnUnpack();
    // The pack dialog (kind PACK_KIND_...) on the targets of the active folder
    // listing, one archive or one per file.
    void PackSelection(int kind, int eachFile);
    // "@Tolinkpos": the folder of the cursor shortcut's target, or its own folder
    // with the cursor on it.
    void OnJumpToLinkTarget();
    // A shortcut to the cursor entry through the shortcut dialog.
    void OnMakeShortcut();
    // "@Dirsize": the size survey of the active listing's target entries.
    void OnDirectorySize();
    // "@Wide": the second pane shown or hidden.
    void OnSplitPanes();
    // "@Wildcard": the filter of the active listing.
    void OnWildcard();
    // The file search (view/search/FileSearchCommands.cpp). The search window on the
    // active listing's folder; without alwaysNew a running one only gets the focus.
    void OpenFindFileDialog(int alwaysNew);
    // "@FindFileInWindow": a search whose finds the active pane then lists.
    void FindFilesInPane();
    // "@DispResultFindFile": the active directory listing shows the last finds again.
    void ShowFindResults();
    // A message for GetPaneSelection's result; 1 when one was shown.
    int ShowSelectionError(int code);
    // A root keeps (or gets) its backslash, any other folder is left as it is.
    static void SetPathWithBackslash(LPCWSTR path, CString& out);

    // Pane navigation (view/navigation/).
    // The common entry every directory change ends in; the caller stops and restarts
    // the timers.
    void ChangePaneDirectory(int pane, LPCWSTR path, int historyMode, int statusPart, BOOL allowFile);
    // Enter on the cursor entry of the active pane.
    void OpenCursorEntry(int ignoreModifiers, int enterOnly);
    void GoParentDirectory();
    // Inside an archive listing (view/navigation/ArchiveNavigation.cpp): the listing of
    // the member folder with the cursor on the name; one folder deeper and one level up
    // are in view/navigation/ArchiveNavigation.h.
    void OpenArchiveFolder(int pane, LPCWSTR folder, LPCWSTR cursorName);
    // 1 when a drive row matches the root path and got the cursor.
    int ShowDriveListAt(int pane, LPCWSTR rootPath);
    void ChangeDrive(int letter);
    // 1 when the cursor could be put on the named entry; a missing path changes nothing.
    int OpenPathInPane(int pane, LPCWSTR path);
    // direction 1 back, anything else forward.
    void GoPathHistory(int direction);
    void MarkCursorEntry(int moveCursor, int redraw);
    // kind 0 marks the files the other pane also has, 1 those it lacks.
    void SelectByOtherPane(int kind);
    // A shortcut file on Return (shiftVariant 1 for Shift+Return): its target folder
    // opens in the pane, or its target file gets the cursor (and is opened), as the
    // LNK_*_ACT_RETURN_KEY_* settings say; otherwise the shell starts the shortcut.
    // Returns 1: the entry was handled.
    int OpenShortcutEntry(int shiftVariant, int pane, const class CFileInfo& entry);
    // Nonzero when a row of the file-kind table for the file's extension took the
    // entry (run, or the choice among several rows cancelled).
    int RunFileKindCommand(int pane, const class CFileInfo& entry, LPCWSTR workDirectory,
                           LPCWSTR fileDirectory, int loopOnly);
    // Title, marks, cursor line and status of a pane after its list changed, and the
    // menu bar of the active pane's mode.
    void RedrawMovedPane(int pane, int statusPart);
    // The network list (view/navigation/NetworkNavigation.cpp).
    // One network level up, or from a share's root to the list of its server when
    // that server was visited through the list; 1 when the pane moved.
    int NetworkGoUp(int pane);
    void RememberNetworkServer(LPCWSTR domain, LPCWSTR server, LPCWSTR network);
    // The servers visited through the network list.
    NavigationViewState m_navigation;

    // Incremental and easy search (view/search/IncrementalSearch.cpp).
    // 1 when the key was taken by a search, 0 when it goes on to the bindings.
    int IncrementalSearchKey(UINT key, int isVirtualKey);
    void ClearIncrementalSearch();
    void BackIncrementalSearch();
    void ToggleEasySearchMode(int mode);

    // Cursor movement (view/keys/CursorMovers.cpp). delta counts entries, lines or
    // nibbles by the pane's mode.
    void MovePaneCursor(int pane, INT64 delta, int select, int wrap, int updateStatus);
    // "@Right" and "@Left" (and their selecting forms), "@Down" and "@Up": one column or
    // line in the direction's sign, the status line updated.
    void MoveCursorOneColumn(int select, int dir);
    void MoveCursorOneLine(int select, int dir);
    void MoveCursorHorizontal(int select, int dir, int updateStatus);
    void MoveCursorByLines(int lines, int select, int dir, int updateStatus);
    void MoveCursorByPage(int select, int dir);
    void MoveCursorByHalfPage(int select, int dir);
    void MoveCursorToEnd(int select, int dir);
    void StartAutoScroll(int dir);
    void ClearSelectionAnchors();

    // Scrolling by bar and wheel (view/keys/PaneScroll.cpp). bar null: the pane under
    // the mouse cursor.
    void ScrollByBar(UINT code, int thumb, HWND bar, int amount);
    void ScrollPane(int pane, UINT code, int thumb, int rangeMin, int rangeMax, int amount);
    void OnVScroll(UINT code, UINT thumb, CWnd* bar);
    void OnHScroll(UINT code, UINT thumb, CWnd* bar);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);

    // Menu command routing (view/menus/MenuRouting.cpp): every menu id through its row
    // of the menu table (view/menus/MenuTable.cpp). TRUE when the id was served here.
    BOOL RouteMenuCommand(UINT id, int code, void* extra);
    // The filer column layout items: the layout's text, checked while it is in use.
    void OnUpdateFilerInfoItem(CCmdUI& item, int layout);
    // The menu resource the frame shows (for the texts of the key names).
    UINT m_menuResourceId = 100;
    // Gives the frame the menu bar of the active pane's mode (view/menus/MenuForMode.cpp);
    // with MENUDISPLAY off the frame has none. The menu is kept while the mode's menu
    // stays the same.
    void UpdateMenuForMode();
    // The menu loaded for the frame and its resource id.
    MenuViewState m_menus;
    // ---- Operations the keyword rows and menu items name, by the file that holds them
    // view/binary/BinaryEditorLifecycle.cpp
    // The view's end closes the text box; its note is saved as its window goes.
    void CloseTextBox();
    // view/fileops/CompareAndNewFileCommands.cpp
    void CompareBinary();
    void OpenNewFileListDialog();
    // Menu item 642: the new-file kind settings.
    void OpenNewFileSettingsDialog();
    // view/fileops/FileJobCommands.cpp
    void DeleteFilesWithDefault(int value);
    // view/fileops/FolderContentsCommands.cpp
    void MoveFilesToParent();
    void ShowFilesOfSubdirectories();
    // view/graphic/GraphicMode.cpp
    void PausePictureDisplay();
    // view/graphic/PreviewPanes.cpp
    void ToggleSmallPicture();
    void TogglePictureList();
    // view/media/MediaCommands.cpp
    void SetAudioPlayback(LPCWSTR endpointId);
    void SetAudioCapture(LPCWSTR endpointId);
    // view/media/CdCommands.cpp
    void PlayCd();
    void PauseCd();
    void StopCd();
    void CdNextTrack();
    void CdPreviousTrack();
    void ToggleCdRepeat();
    void ToggleCdRandom();
    void ConfigureCdPlay();
    void CdVolumeUp();
    void CdVolumeDown();
    // view/media/MediaCommands.cpp
    void PlaySoundFile();
    void StopSoundLoad();
    void AddToSoundList();
    void PauseSound();
    void StopSound();
    void PauseSoundList();
    void StopSoundList();
    void SoundListNext();
    void SoundListPrevious();
    void ToggleSoundListRepeat();
    void ToggleSoundListRandom();
    void SetMediaZoom(int value);
    void ToggleMediaFullScreen();
    void MediaVolumeUp();
    void MediaVolumeDown();
    // view/media/MediaCommands.cpp
    void ToggleMpegTitleDisplay();
    // view/media/MediaCommands.cpp
    void RunScsiCommand(int value);
    void OpenAllScsiTrays();
    void CloseAllScsiTrays();
    // view/media/SoundListWindow.cpp
    void OpenSoundList();
    void SaveSoundList();
    // view/media/TagCommands.cpp
    void MakeMp3Tag();
    void MakeMp3TagsOfAll();
    void ToggleTagWindow();
    // view/menus/CommandMenuItems.cpp
    // Menu item 555: the help file.
    void OpenHelpFile();
    // view/menus/SettingsMenuItems.cpp
    void ChooseDisplayFilter();
    void OpenDebugDialog();
    // view/navigation/DirectoryCommands.cpp
    void ReloadPanes();
    // view/navigation/TwoPaneCommands.cpp
    // "@Downdevide" (+1) and "@Updevide" (-1): a picture pane keeps its size, and with
    // one pane hidden there is no split to move; the layout keeps the line inside the
    // view.
    void MoveSplitter(int delta);
    // view/navigation/PaneMarks.cpp
    void SelectEntries(int value);
    // view/navigation/SortAndSearchCommands.cpp
    void SetSortKey(int value);
    void SetEasySearchMode(int value);
    void ToggleAutoFileNameWidth();
    void ToggleFileNamePack();
    // "@Rightwindow" (side 0) moves the keys from the left pane to the right one and
    // "@Leftwindow" (side 1) from the right to the left: only with the panes side by
    // side, both shown and both listing entries, and only from the pane on that side.
    void SwitchToSidePane(int side);
    // view/shell/PropertiesCommand.cpp
    void ShowProperties();
    // view/system/DisplayModeCommands.cpp
    void ChangeDisplayMode();
    // view/system/SystemDialogCommands.cpp
    int RunMenuCommand(const CommandCall& call, INT_PTR value);
    void QuitProgram();
    int RunDefaultControlPanel(const CommandCall& call, INT_PTR value);
    // view/system/SystemDialogCommands.cpp
    void ShowControlPanelList();
    // view/system/WindowCommands.cpp
    void ToggleFullScreen();
    void MinimizeWindow();
    void ToggleMaximize();
    // view/viewer/ViewerPane.cpp
    // The cursor file or member of the pane in the text viewer, recorded in the view
    // history; 1 when it opened.
    int OpenCursorInTextViewer(int pane);
    void CloseViewer();
    // view/viewer/ViewerPane.cpp
    void PrintText();
    // view/viewer/ViewerReopen.cpp
    void SetViewerEncoding(int value);
    void ReloadViewerFile();
    void ToggleLineNumbers();
    // view/viewer/ViewerSearch.cpp
    void SearchNext();
    void SearchPrevious();
    // view/viewer/ViewerSelect.cpp
    void CopyTextSelection();

    // ---- end keys and commands --------------------------------------------------------

    // ---- Worker-dialog lists (each call takes m_hDialogListMutex) ----------------------
    void AddCopyDialog(CWorkerDialog* dialog);
    void AddDeleteDialog(CWorkerDialog* dialog);
    void AddUnpackDialog(CWorkerDialog* dialog);
    void AddFindDialog(CFindDialogBase* dialog);
    // Removes the first element equal to the pointer; the dialog is not deleted.
    void RemoveFindDialog(CFindDialogBase* dialog);
    // Deletes the finished dialogs of the list; 1 when the list is empty afterwards.
    int ReapCopyDialogs();
    int ReapDeleteDialogs();
    int ReapUnpackDialogs();
    // Whether the pointer is one of the open find dialogs.
    BOOL IsFindDialogListed(const CFindDialogBase* dialog);

    // Re-reads and re-sorts every shown filer pane, keeping each cursor on the same
    // name: after the sort order changed.
    void ResortFilerPanes();
    // "@Tempsort": the sort dialog on the active listing's order, kept for that pane
    // only, not as its default.
    void TemporarySort();
    // "@Sort": the active listing's stored order chosen in the sort dialog.
    void OnSort();
    // Flips one display filter (0 hidden, 1 system, 2 leading dot, 3 read-only) or
    // applies the remembered filter preset n, then shows the panes again under it.
    void ToggleDisplayFilter(int flag);
    void ApplyDisplayFilterPreset(int preset);

    // ---- Graphic mode (view/graphic/) --------------------------------------------------
    // "@GraphicviewB" (menu 541) and "@GraphiconeviewB" (menu 540): remember the frame
    // and enter graphic mode on the marked entries or (singlePicture 1) the cursor entry
    // alone.
    void OnViewGraphic(int singlePicture);
    // "@Exitgraphic": asks, then returns the graphic pane to its list.
    void OnExitGraphic();
    // The active filer pane or archive listing shows its pictures.
    void EnterGraphicMode();
    // Steps through the picture list (0 shows the current place): 0 shown or nothing
    // new, 1 cancelled, 2 no further picture, 3 the load could not start.
    int ShowPictureFromFilerList(int pane, int step);
    // The same through the members of an archive listing.
    int LoadArchivePictures(int pane, int step);
    // "@Next", "@Before", "@10Next", "@10Before"; +1 goes through OpenCursorEntry.
    void ShowNextPicture(int step);
    // Reason GRAPHIC_LEAVE_...: a step's result, or the user.
    void LeaveGraphicMode(int pane, int reason);
    int IsPictureShown() const;
    // The first pane in a graphic mode; -1 when none.
    int FindGraphicPane() const;
    // "表示前にフルスクリーン化する": full screen from the first picture on, and back
    // when the pictures end.
    void ApplyFullScreenOnGraphic();
    // Runs the load dialog, or its body without a window for a small file: 1 loaded,
    // 0 failed, PICTURE_LOAD_CANCELLED when the user stopped it.
    int LoadPictureMaybeWithDialog(class CLoadPictureBDlg& dialog, LONGLONG fileSize);
    // Enter in graphic mode: the next picture, or the list past the last.
    int StepPictureFromOpenRoutine(int pane);
    void CloseGraphicArchive();
    // Layout (view/graphic/PictureView.cpp): mask PICTURE_LAYOUT_...
    void UpdatePictureLayout(int mask);
    void UpdatePictureInfo();
    void DrawGraphicMode(CDC* pDC, const CRect& rect);
    void DrawPictureClipped(HDC dc, const RECT& rect, POINT origin, SIZE size, CPictureData& picture,
                            const CAlphaChannelRow* alpha, COLORREF background, int noFill);
    // Fit on or off; makeDefault changes the settings as well.
    void ToggleFitToWindow(int makeDefault);
    // direction 1 larger, 2 smaller.
    void StepZoom(int direction);
    // kind 0 right, 1 left, 2 mirror, 3 flip, 4 half turn.
    void TransformPicture(int kind);
    void CopyPictureToClipboard(int keepAlpha);
    // "@SaveBmp" (839) and "@NextSaveBmp" (840, the next file of the series).
    void SaveShownPicture(int series);
    void SetAlphaChannelType(int index);
    // Enables the menu item, checks it for the selected row and names its processing.
    void UpdateAlphaMenuItem(CCmdUI& item, int index);
    // Steps -10, -1, 1, 10 per axis (pages and lines); anything else stays.
    void ScrollPicture(int hStep, int vStep);
    // Scroll-bar codes of the view's own bars while a picture is shown.
    void ScrollPictureBar(int bar, UINT code, int thumb);
    // The mouse table's operations while a pane shows pictures: the wheel (plain, with
    // Shift or with Ctrl; FALSE when its operation is none, so the wheel goes on as
    // usual) and the plain left double click.
    BOOL TurnWheelOverPicture(UINT flags, short delta);
    void DoubleClickOnPicture();
    // Fills the rectangle behind the filer panes: the background picture or colour.
    void DrawPaneBackgroundPicture(CDC* pDC, const CRect& rect, COLORREF colour);
    // The view font (view/graphic/ViewFont.cpp), per screen resolution when asked.
    void CreateViewFont();
    // Menu 365: the per-resolution font dialog.
    void OnDisplayFontConfig();
    // Menu 915: the ten display-mode slots, then the view font again.
    void OnDisplayModeSettings();
    // "@Setwallpaper": the shown picture (saved as "QVWALLPAPER.BMP" in the program's
    // folder) or, in a filer, the cursor's picture file or the current wallpaper.
    void OnSetWallpaper();
    // Menu 598: the file-kind tables of Return and Shift+Return.
    void OnExtensionExecuteSettings();
    // Menu 917: the filer wallpaper dialog; on OK its choices are applied at once.
    void OnFilerWallpaperSettings();
    // Menu 821: the dialog of the user's right-click menu items.
    void OnRightClickMenuSettings();
    // reason 0 start, 1 settings changed, 2 timer, 3 "@Nextfilerbmp".
    void LoadPaneBackgroundPicture(int reason);
    // The picture session, the filer's background picture and its next change, and
    // the options of the picture windows.
    GraphicViewState m_graphic;
    // ---- end graphic mode -------------------------------------------------------------

    // Keeps the graphic list, the thumbnail window, the following panes and the tag
    // window in step with the active pane; after every mode or cursor change.
    void UpdateAuxiliaryWindows();
    void SyncViewerPane();
    void SyncOtherPane();
    void UpdateGraphicListDialog();
    void UpdateSmallGraphicWindow();

    // ---- Thumbnail panes (view/graphic/PreviewPanes.cpp) ----
    // The one preview loader and the panes' hooks into it (while reading the
    // settings); its thread starts once the window exists and stops with it.
    void CreatePreviewLoader();
    void StartPreviewLoader();
    void StopPreviewLoader();
    // Changes the active directory listing's preview setting (kind 0 off, 4 the tree
    // toggled, else on with that type; option 1 removes an entry of any type) and
    // shows every pane whose preview state changed again.
    void SetPreviewMode(int kind, int option);
    void TogglePreviewMode();
    // Reads a shown directory listing again and draws it.
    void ReloadFilerPane(int pane);
    // The panes shown as thumbnails, or every pane with all.
    void ReloadPreviewPanes(int all);
    // Draws the thumbnails of the pane that changed since it last drew them.
    void RedrawPanePreviews(int pane);
    // The loader's message that thumbnails arrived.
    void OnPreviewLoaded();
    // The following pane shows the directory under the active pane's cursor.
    void OpenCursorDirectoryInOtherPane();
    // The following pane and the pane that always shows the other pane's cursor
    // directory.
    PreviewViewState m_previews;
    // The pane that shows the cursor file in a viewer: 0, 1 or -1 for none.
    int m_viewingPane = -1;

    // ---- Picture windows (view/graphic/GraphicWindows.cpp) ----
    // The windows; their options and placing are kept in m_graphic.
    class CGraphicListDlg* m_pGraphicListDlg = nullptr;
    class CSmallGraphicDlg* m_pSmallGraphicDlg = nullptr;
    void ClosePictureWindows();
    // The list window's rows and selection from the graphic pane's walk.
    void RefreshGraphicList(int pane, bool refill);
    // WM_COMMAND 1521 of the list window: shows the chosen row.
    void OnGraphicListChoice();
    // Menu 1089: the zoom steps, the zoom new pictures start with and whether steps
    // change it; menu 1509: the alpha-channel rows.
    void OnGraphicZoomSettings();
    void OnAlphaChannelSettings();
    // Steps FILERINFONUMBER through the five column layouts and repaints.
    void CycleFilerInfoLayout();
    // Re-checks every shown filer pane after a file operation. Only a pane that changed
    // is redrawn; the active pane's cursor goes to cursorName when one is given (a new
    // or renamed file), else it keeps its index, clamped to the new list; with
    // keepCursorNames every changed pane's cursor stays on the entry it was on.
    void ReloadFilerPanes(LPCWSTR cursorName = nullptr, BOOL keepCursorNames = FALSE);
    // Places the main frame once, by STARTPOS and STARTSIZE.
    void PlaceMainWindow(int atCreation);
    // Closes the auxiliary windows and the open find dialogs.
    void CloseAuxiliaryWindows();
    // The first shut-down step of the destructor; runs once (view/TearDown.cpp): the
    // hot-key hook first, the windows, the panes, then what the panes used (virtual
    // drives, temporary files), the libraries and the process-wide handles last.
    void TearDown();

    // 1 once quitting was confirmed; the frame then closes without asking again.
    int m_bQuitting = 0;

    // ---- Run-time state set by the settings reader ------------------------------------
    // Set once the settings were saved for good (shut-down); SaveAllSettings then does
    // nothing.
    int m_bSettingsSaved = 0;
    // The "do not save at exit" switch, the start's failure and directories, and the
    // switches the reader settled on for the run.
    SettingsViewState m_settings;
    // The panes' scroll-bar windows and their control ids.
    ScrollViewState m_scroll;
    // Creates, moves, sets or destroys each pane's scroll bar to follow its list
    // (view/scroll/ScrollBars.cpp); 1 when a bar was created or destroyed.
    int UpdateScrollBars();
    // Registered messages "WMSG_QV_UNPACK_START" and "WMSG_QV_PREVIEW_LOAD".
    UINT m_msgUnpackStart = 0;
    UINT m_msgPreviewLoad = 0;

    // ---- Global hot keys and the task tray (view/keys/HotKeys.cpp) ---------------------
    // The low-level hook's filter: 1 swallows a key whose binding is a hot key the
    // common dispatcher runs (queued for the view, not run inside the hook), 0 passes.
    int KeyboardHookCallback(int nCode, WPARAM message, LPARAM event);
    // Runs the commands the hook queued, oldest first.
    void RunQueuedHotKeys();
    // The hot keys the hook queued, the input method's last state and the panes'
    // Shift selection anchors.
    KeyViewState m_keys;
    // While the common key settings are edited no hot key acts.
    void SuspendHotKeys();
    void ResumeHotKeys();
    // m_keys.hasHotKey from the common bindings.
    void RefreshHotKeyFlag();
    // "@Windowtotasktray": hides the frame behind the tray icon, and back.
    void GoToTray();
    void RestoreFromTray();
    BOOL m_bInTray = FALSE;
    BOOL m_bHookSuspended = FALSE;
    // The tray icon's notification: the right button opens the tray menu.
    void OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    // The key dialogs (view/keys/KeySettings.cpp): the timers stop meanwhile; the common
    // keys' dialog holds the hot keys off and refreshes their flag afterwards.
    void OnFilerKeySettings();
    void OnCommonKeySettings();
    void OnViewerKeySettings();
    void OnBinaryKeyConfig();
    void RunViewKeySettings(int mode);
    // Menu 638: the key bindings of another settings file replace the ones in use.
    void ImportKeyData();
    // Guards the four lists of running worker dialogs.
    HANDLE m_hDialogListMutex = nullptr;
    // The launcher: program, parameters, key text and working directory per entry.
    CStringArray m_LancherExe;
    CStringArray m_LancherPar;
    CStringArray m_LancherKey;
    CStringArray m_LancherExeDir;
    // The temporary directory ("TEMPDIRECTORY"; the system's when empty).
    CString m_tempDirectory;

    // ---- Life cycle ---------------------------------------------------------------------
    // 0 while an action runs, 1 idle, 2 while the one-second change check runs.
    int m_idleState = 0;
    // 1 while no action runs; set and cleared together with m_idleState.
    int m_bReady = 0;
    // Set when the tear-down begins: drawing and timers do nothing from then on.
    int m_bTornDown = 0;
    // 1 once PlaceMainWindow placed the frame.
    int m_bWindowPlaced = 0;
    // The frame's window rectangle when it was last placed.
    CRect m_frameRect;
    // A directory-change request of a further start that came while an action ran;
    // taken up when the view is idle again.
    int m_bDirChangePending = 0;
    // Scroll repeat of the viewer and the binary editor: -1 up, 0 stopped, 1 down.
    int m_scrollRepeatDir = 0;
    // Open CViewBusyGuard brackets, and 1 once the outermost open one (or one inside it)
    // made the full stop of STOP_TIMERS_FOR_ACTION.
    int m_busyDepth = 0;
    int m_bBusyFullStop = 0;
    // Phase of the binary editor's blinking cursor.
    int m_bCaretShown = 0;
    // State of Shift and Ctrl at the last key-down.
    int m_bShiftDown = 0;
    int m_bCtrlDown = 0;
    // Archive members extracted for other programs, each once; they lie in the
    // folders of m_shell.ownTempFolders, which go at tear-down.
    CStringArray m_tempFiles;

    // ---- Worker-dialog lists, under m_hDialogListMutex ---------------------------------
    CArray<CWorkerDialog*> m_copyDialogs;
    CArray<CWorkerDialog*> m_deleteDialogs;
    CArray<CWorkerDialog*> m_unpackDialogs;
    CArray<CFindDialogBase*> m_findDialogs;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    // The one-second change check of timer 1.
    void CheckPanesForChanges();
    // A further start's request to show its directories.
    void HandleDirChangeRequest();
    // The chosen result of a find dialog; the dialog is known to be listed.
    void OpenFoundEntry(CFindDialogBase* dialog);
    // Lets a find dialog finish, destroys and deletes it.
    void ReleaseFindDialog(CFindDialogBase* dialog);
    int ReapList(CArray<CWorkerDialog*>& list);
    void AddToList(CArray<CWorkerDialog*>& list, CWorkerDialog* dialog);
    // Stores the frame's size and place as the last ones, unless it is minimised or
    // maximised.
    void RememberFrameRect();
};

// The menu resource of a pane mode (0 for none).
UINT GetModeMenuId(UINT mode);
// Takes the device lists out of the multimedia popup and the hidden popups (and the
// plug-in popup) out of the menu bar.
void FixUpModeMenu(HMENU menu, UINT menuId);

// A CF_HDROP block of the pane's target entries (their full paths); null when there
// are none, the pane's folder is gone, or memory ran out. dragFlag 1 (a mouse drag)
// takes the marks only when the cursor entry is marked. The caller owns the block.
HGLOBAL BuildDropFileList(int pane, int dragFlag);

// The first folder a typed new-directory name makes, below its root; 0 when none.
int MakeDirectoryCursorName(LPCWSTR typed, CString& out);

// The dropped files that still exist, as a selection whose folder is the first
// one's; their number.
int CollectDroppedFiles(HDROP drop, CSelectedEntryList& out);

// A shell link at linkPath to target; FALSE when it could not be saved. COM must be
// initialised on the calling thread.
BOOL CreateShortcut(LPCWSTR linkPath, LPCWSTR target, LPCWSTR workDirectory, LPCWSTR arguments,
                    LPCWSTR description);
// The editor's parameters for path: EDITOR_OPEN_UNICODE_OPTION first when withOption
// is set and the file (relative paths taken under baseDir) begins with the UTF-16LE
// byte order mark, then the path itself, quoted when it holds a blank.
void BuildEditorArgument(int withOption, LPCWSTR baseDir, LPCWSTR path, CString& out);

// The one view, for the dialogs and workers that need it; null while there is none.
extern CQvView* g_MainView;

// What quitting with a Windows shut-down or restart does beyond the view. Tests
// replace it (CQuitHooksOverride), so that no test can end the Windows session; the
// program keeps the defaults, the real calls.
struct QuitHooks
{
    // The view's questions before Windows ends: changed binary panes, then the settings.
    void (*querySaveBinaryPanes)(CQvView& view);
    void (*saveAllSettings)(CQvView& view);
    // Gives the process the privilege to end the Windows session ("SeShutdownPrivilege").
    void (*enableShutdownPrivilege)();
    // ExitWindowsEx.
    BOOL (*exitWindows)(UINT flags);
};

extern QuitHooks g_QuitHooks;

// Test helper: restores g_QuitHooks when it goes out of scope.
class CQuitHooksOverride
{
public:
    CQuitHooksOverride() : m_saved(g_QuitHooks) {}
    ~CQuitHooksOverride() { g_QuitHooks = m_saved; }
    CQuitHooksOverride(const CQuitHooksOverride&) = delete;
    CQuitHooksOverride& operator=(const CQuitHooksOverride&) = delete;

private:
    QuitHooks m_saved;
};

// Told each step of CQvView::TearDown by its name as it runs; null in the program.
extern void (*g_TearDownObserver)(LPCWSTR step);

// The shell context menu that is showing, or null; the frame hands it the menu
// messages it draws its own items with.
extern IContextMenu2* g_pContMenu2;

// Created by the settings reader, unnamed and not owned: one extraction job at a time
// (g_UnpackMutex) and the CD player's shared state (g_CdMutex).
extern HANDLE g_UnpackMutex;
extern HANDLE g_CdMutex;
