// How a drag of files out of a pane is run: the system's drag detection and its
// drag-and-drop loop, behind a seam so that tests can play the drop target.
#pragma once
#include <windows.h>
#include <objidl.h>

class CQvView;

struct ShellDragSeam
{
    // Waits until the mouse leaves the system's drag rectangle with the left button
    // held, then runs the drag of the data with the allowed effects. The effect the
    // drop target performed (DROPEFFECT_COPY, DROPEFFECT_MOVE …), 0 when the drag
    // never began or was cancelled.
    DWORD (*run)(HWND view, POINT clientPoint, IDataObject* data, DWORD allowed);
};
extern ShellDragSeam g_ShellDragSeam;

// The clipboard format a drag carries besides CF_HDROP: the shell's own item list.
UINT GetShellIdListFormat();

// A drag of the pane's grabbed files out of the view; 1 when the drop target copied
// or moved them (both listings are read again).
int StartShellDrag(CQvView& view, int pane);

// Test helper: restores g_ShellDragSeam when it goes out of scope.
class CShellDragSeamOverride
{
public:
    CShellDragSeamOverride() : m_saved(g_ShellDragSeam) {}
    ~CShellDragSeamOverride() { g_ShellDragSeam = m_saved; }
    CShellDragSeamOverride(const CShellDragSeamOverride&) = delete;
    CShellDragSeamOverride& operator=(const CShellDragSeamOverride&) = delete;

private:
    ShellDragSeam m_saved;
};
