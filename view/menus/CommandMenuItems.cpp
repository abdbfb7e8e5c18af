// The menu items of the viewers' commands, of the quick search and of the thin filer
// commands beside them: each runs the handler its keyword runs, so that a menu choice
// and a key do the same.
#include "view/menus/CommandMenuItems.h"

#include "app/Directories.h"
#include "app/dialogs/TellAndAsk.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"

#include <shellapi.h>

namespace
{
// An item runs the dispatcher entry of its keyword, or a handler of its own when no
// keyword names its command.
struct MenuCommandRow
{
    UINT id;
    int list;
    LPCWSTR keyword;
    CommandHandler handler;
};

const MenuCommandRow kRows[] = {
    {555, 0, nullptr, &CQvView::OpenHelpFile},
    {933, DISPATCH_VIEWER, L"@Searchstr", nullptr},
    {704, DISPATCH_VIEWER, L"@Nextsearch", nullptr},
    {187, DISPATCH_VIEWER, L"@Beforesearch", nullptr},
    {282, DISPATCH_FILER, L"@Cmpbinary", nullptr},
    {116, DISPATCH_GRAPHIC, L"@10Before", nullptr},
    {117, DISPATCH_GRAPHIC, L"@10Next", nullptr},
    {184, DISPATCH_GRAPHIC, L"@Before", nullptr},
    {142, DISPATCH_FILER, L"@Filesupdir", nullptr},
    {685, DISPATCH_FILER, L"@Neglectdir", nullptr},
    {1017, DISPATCH_VIEWER, L"@Textprint", nullptr},
    {259, DISPATCH_VIEWER, L"@Linenumber", nullptr},
    {575, DISPATCH_VIEWER, L"@Jumptext", nullptr},
    {683, DISPATCH_FILER, L"@NotIncSearch", nullptr},
    {707, DISPATCH_FILER, L"@NorIncSearch", nullptr},
    {939, DISPATCH_FILER, L"@ShiIncSearch", nullptr},
    {315, DISPATCH_FILER, L"@CtlIncSearch", nullptr},
    {429, DISPATCH_FILER, L"@ExpandIncSearch", nullptr},
    {682, DISPATCH_FILER, L"@NotEasySearch", nullptr},
    {706, DISPATCH_FILER, L"@NorEasySearch", nullptr},
    {938, DISPATCH_FILER, L"@ShiEasySearch", nullptr},
    {314, DISPATCH_FILER, L"@CtlEasySearch", nullptr},
    {428, DISPATCH_FILER, L"@ExpandEasySearch", nullptr},
    {1064, 0, nullptr, &CQvView::OnViewerSettings},
    {605, 0, nullptr, &CQvView::OnViewerKindSettings},
    {3020, 0, nullptr, &CQvView::OnCommonKeySettings},
    {576, DISPATCH_FILER, L"@Filerkey", nullptr},
    {1072, DISPATCH_VIEWER, L"@Viewerkey", nullptr},
    {539, DISPATCH_GRAPHIC, L"@Graphickey", nullptr},
    {209, DISPATCH_BINARY, L"@Binarykey", nullptr},
    {638, 0, nullptr, &CQvView::ImportKeyData},
    {1035, DISPATCH_FILER, L"@Tocutclipfiles", nullptr},
    {276, DISPATCH_FILER, L"@Cliptofilename", nullptr},
    {272, DISPATCH_FILER, L"@ClipToFileNameWithoutExt", nullptr},
    {277, DISPATCH_FILER, L"@Cliptofullpath", nullptr},
    {273, DISPATCH_FILER, L"@ClipToFullPathWithUnpack", nullptr},
    {274, DISPATCH_FILER, L"@ClipToSize", nullptr},
    {278, DISPATCH_FILER, L"@Cliptopath", nullptr},
    {391, DISPATCH_FILER, L"@Eachpack", nullptr},
    {392, DISPATCH_FILER, L"@Eachpackzip", nullptr},
    {771, DISPATCH_FILER, L"@Predirectory", nullptr},
    {3003, DISPATCH_FILER, L"@NextDirectory", nullptr},
    {345, DISPATCH_FILER, L"@Dirchangedlg", nullptr},
    {349, DISPATCH_FILER, L"@Dirhistory", nullptr},
    {606, DISPATCH_FILER, L"@Lancher", nullptr},
    {472, DISPATCH_FILER, L"@Filenamepack", nullptr},
    {537, DISPATCH_GRAPHIC, L"@GraphicList", nullptr},
    {772, DISPATCH_FILER, L"@PreviewEnable", nullptr},
    {782, DISPATCH_FILER, L"@PreviewEnableWithChild", nullptr},
    {3019, DISPATCH_FILER, L"@PreviewSwitchAlsoSubDir", nullptr},
    {774, DISPATCH_FILER, L"@PreviewDisable", nullptr},
    {740, DISPATCH_FILER, L"@OtherAlwaysDispDir", nullptr},
    {175, DISPATCH_FILER, L"@AutoFileNameWidth", nullptr},
    {1016, DISPATCH_COMMON, L"@TextBox", nullptr},
    {1090, DISPATCH_GRAPHIC, L"@Zoomin", nullptr},
    {1092, DISPATCH_GRAPHIC, L"@Zoomout", nullptr},
    {3009, DISPATCH_GRAPHIC, L"@ScalingOnOff", nullptr},
    {3011, DISPATCH_GRAPHIC, L"@TempScalingOnOff", nullptr},
    {679, DISPATCH_FILER, L"@Mpegnamedisplay", nullptr},
    {149, DISPATCH_COMMON, L"@Allscsiclose", nullptr},
    {150, DISPATCH_COMMON, L"@Allscsiopen", nullptr},
    {758, DISPATCH_GRAPHIC, L"@PauseGraphic", nullptr},
    {540, DISPATCH_FILER, L"@GraphiconeviewB", nullptr},
    {945, DISPATCH_FILER, L"@Smallgraphicview", nullptr},
    {143, DISPATCH_FILER, L"@AllmakeMp3Tag", nullptr},
    {470, DISPATCH_FILER, L"@Filelistview", nullptr},
    {357, DISPATCH_FILER, L"@Dirtreeview", nullptr},
    {390, DISPATCH_FILER, L"@Drivetreeview", nullptr},
    {538, DISPATCH_GRAPHIC, L"@Graphicclipcopy", nullptr},
    {1514, DISPATCH_GRAPHIC, L"@GraphicClipCopyWithoutAlpha", nullptr},
    {751, DISPATCH_FILER, L"@Packzip", nullptr},
    {250, DISPATCH_COMMON, L"@Changedisplay", nullptr},
    {693, DISPATCH_FILER, L"@Tonetwork", nullptr},
    {1076, DISPATCH_FILER, L"@Viewtagview", nullptr},
    {837, 0, nullptr, &CQvView::SetActiveToOtherDirectory},
    {513, DISPATCH_FILER, L"@Findfile", nullptr},
    {3017, DISPATCH_FILER, L"@FindFileNewDlg", nullptr},
    {329, 0, nullptr, &CQvView::OnGraphicSettings},
    {522, 0, nullptr, &CQvView::OnDisplayFont},
    {1510, DISPATCH_FILER, L"@PackViewExit", nullptr},
    {148, DISPATCH_FILER, L"@Fullscreen", nullptr},
    {251, DISPATCH_FILER, L"@Changedmenu", nullptr},
    {294, DISPATCH_FILER, L"@ConfigSave", nullptr},
    {523, DISPATCH_FILER, L"@Diskformat", nullptr},
    {233, DISPATCH_FILER, L"@Chainnetwork", nullptr},
    {578, DISPATCH_FILER, L"@Killnetwork", nullptr},
    {738, DISPATCH_FILER, L"@Opencpl", nullptr},
    {139, 0, nullptr, &CQvView::ShowControlPanelList},
    {127, DISPATCH_FILER, L"@AddDirJump", nullptr},
    {775, DISPATCH_FILER, L"@PreviewDispMagExpansion", nullptr},
    {776, DISPATCH_FILER, L"@PreviewDispMagReduction", nullptr},
    {777, DISPATCH_FILER, L"@PreviewDispMagReset", nullptr},
    {369, DISPATCH_COMMON, L"@Displayset0", nullptr},
    {370, DISPATCH_COMMON, L"@Displayset1", nullptr},
    {371, DISPATCH_COMMON, L"@Displayset2", nullptr},
    {372, DISPATCH_COMMON, L"@Displayset3", nullptr},
    {373, DISPATCH_COMMON, L"@Displayset4", nullptr},
    {374, DISPATCH_COMMON, L"@Displayset5", nullptr},
    {375, DISPATCH_COMMON, L"@Displayset6", nullptr},
    {376, DISPATCH_COMMON, L"@Displayset7", nullptr},
    {377, DISPATCH_COMMON, L"@Displayset8", nullptr},
    {378, DISPATCH_COMMON, L"@Displayset9", nullptr},
};

const MenuCommandRow* FindRow(UINT id)
{
    for (const MenuCommandRow& row : kRows)
        if (row.id == id)
            return &row;
    return nullptr;
}
} // namespace

void CQvView::OpenHelpFile()
{
    CString folder;
    GetProgramDir(folder);
    SetCurrentDir(folder);
    const HINSTANCE result = ShellExecuteW(m_hWnd, nullptr, L"QV.CHM", nullptr, folder, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) < 32)
        Tell(this, L"QV.CHMが開けませんでした");
}

BOOL IsCommandMenuItem(UINT id)
{
    return FindRow(id) != nullptr;
}

BOOL RunCommandMenuItem(CQvView& view, UINT id)
{
    const MenuCommandRow* row = FindRow(id);
    if (row == nullptr)
        return FALSE;
    if (row->keyword == nullptr)
    {
        CommandCall call = {L"", L""};
        row->handler.Run(view, call, 0);
        return TRUE;
    }
    const CommandEntry* entry = FindDispatcherEntry(row->list, row->keyword);
    if (entry == nullptr)
        return FALSE;
    RunDispatcherEntry(view, *entry, row->keyword, L"");
    return TRUE;
}
