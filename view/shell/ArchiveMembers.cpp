// Archive members handed to other programs: extracted to the temporary folder first.
#include "app/Log.h"
#include "view/QvView.h"

int CQvView::ExtractCursorMemberToTemp()
{
    // PLACEHOLDER: the extraction dialog of the archive front extracts the cursor
    // member to the temporary folder (and lists it in m_tempFiles) once it exists;
    // until then no member is extracted.
    WriteLog(nullptr, L"ExtractCursorMemberToTemp: この操作はまだ実装されていないため何もしません");
    return 0;
}
