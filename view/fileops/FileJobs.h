// The copy jobs and archive unpacks the file commands start.
#pragma once

class CMyCopyDlg;
class CQvView;

// Lists the copy job and shows its window; one that cannot be made leaves the job
// marked done, for the next reaping.
int ShowCopyDialog(CQvView& view, CMyCopyDlg* dialog);
// The unpack of the marked members (else the cursor member) of the archive listing,
// run modally.
void UnpackFromArchiveListing(CQvView& view, int pane);
