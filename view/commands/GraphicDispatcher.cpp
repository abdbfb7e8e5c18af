// The graphic viewer's keywords in the order they are compared; "@Allcpldata" of its
// command table runs what it runs in the filer.
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace
{

// clang-format off
const CommandEntry kEntries[] = {
    QV_COMMAND(L"@Zoomin", ZoomPicture, 1),
    QV_COMMAND(L"@Zoomout", ZoomPicture, -1),
    QV_COMMAND(L"@ScalingOnOff", ToggleScaling, 0),
    QV_COMMAND(L"@TempScalingOnOff", ToggleTemporaryScaling, 0),
    QV_COMMAND(L"@RightRot", RotatePicture, 90),
    QV_COMMAND(L"@LeftRot", RotatePicture, 270),
    QV_COMMAND(L"@180Rot", RotatePicture, 180),
    QV_COMMAND(L"@H_Reverse", FlipPicture, 0),
    QV_COMMAND(L"@V_Reverse", FlipPicture, 1),
    QV_COMMAND(L"@H_PosLeft", SetPicturePlacement, 0),
    QV_COMMAND(L"@H_PosRight", SetPicturePlacement, 1),
    QV_COMMAND(L"@H_PosCenter", SetPicturePlacement, 2),
    QV_COMMAND(L"@V_PosUp", SetPicturePlacement, 10),
    QV_COMMAND(L"@V_PosBottom", SetPicturePlacement, 11),
    QV_COMMAND(L"@V_PosCenter", SetPicturePlacement, 12),
    QV_COMMAND(L"@Next", ShowNextPicture, 1),
    QV_COMMAND(L"@Before", ShowNextPicture, -1),
    QV_COMMAND(L"@10Next", ShowNextPicture, 10),
    QV_COMMAND(L"@10Before", ShowNextPicture, -10),
    QV_COMMAND(L"@SaveBmp", SavePictureAsBmp, 0),
    QV_COMMAND(L"@NextSaveBmp", SaveNextPictureAsBmp, 0),
    QV_COMMAND(L"@Graphicclipcopy", CopyPictureToClipboard, 0),
    QV_COMMAND(L"@GraphicClipCopyWithoutAlpha", CopyPictureWithoutAlpha, 0),
    QV_COMMAND(L"@PauseGraphic", PausePictureDisplay, 0),
    QV_COMMAND(L"@GraphicList", TogglePictureList, 0),
    QV_COMMAND(L"@Fullscreen", ToggleFullScreen, 0),
    QV_COMMAND(L"@Graphickey", ConfigureGraphicKeys, 0),
    QV_COMMAND(L"@ConfigSave", SaveConfiguration, 0),
    QV_COMMAND(L"@Showicon", MinimizeWindow, 0),
    QV_COMMAND(L"@Returnkey", OpenCursorEntry, 0),
    QV_COMMAND(L"@Quit", QuitProgram, 0),
    QV_COMMAND(L"@Exitgraphic", ExitPictureView, 0),
    QV_COMMAND(L"@Setwallpaper", SetWallpaper, 0),
    QV_COMMAND(L"@Changedmenu", ToggleMenuBar, 0),
    QV_COMMAND(L"@Right", MoveGraphicPosition, 1),
    QV_COMMAND(L"@Left", MoveGraphicPosition, 2),
    QV_COMMAND(L"@Down", MoveGraphicPosition, 3),
    QV_COMMAND(L"@Up", MoveGraphicPosition, 4),
    QV_COMMAND(L"@Rightpage", MoveGraphicPosition, 5),
    QV_COMMAND(L"@Leftpage", MoveGraphicPosition, 6),
    QV_COMMAND(L"@Downpage", MoveGraphicPosition, 7),
    QV_COMMAND(L"@Uppage", MoveGraphicPosition, 8),
    QV_COMMAND(L"@Allcpldata", ShowControlPanelList, 0),
};
// clang-format on

} // namespace

const CommandEntry* GetGraphicDispatcherEntries(int* count)
{
    *count = static_cast<int>(sizeof(kEntries) / sizeof(kEntries[0]));
    return kEntries;
}

int CQvView::ExecuteGraphicCommand(LPCWSTR keyword)
{
    if (keyword == nullptr || keyword[0] == 0)
        return 0;
    if (const CommandEntry* entry = FindDispatcherEntry(DISPATCH_GRAPHIC, keyword))
    {
        RunDispatcherEntry(*this, *entry, keyword, L"");
        return 1;
    }
    return ExecuteCommonCommand(keyword);
}
