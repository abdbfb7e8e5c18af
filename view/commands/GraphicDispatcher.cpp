// The graphic viewer's keywords in the order they are compared; "@Allcpldata" of its
// command table runs what it runs in the filer.
#include "view/QvView.h"
#include "view/keys/KeySettings.h"

// In ViewCommands, as the functions the rows declare.
namespace ViewCommands
{

// clang-format off
static const CommandEntry kEntries[] = {
    {L"@Zoomin", &CQvView::StepZoom, 1, L"ZoomPicture"},
    {L"@Zoomout", &CQvView::StepZoom, 2, L"ZoomPicture"},
    {L"@ScalingOnOff", &CQvView::ToggleFitToWindow, 1, L"ToggleScaling"},
    {L"@TempScalingOnOff", &CQvView::ToggleFitToWindow, 0, L"ToggleTemporaryScaling"},
    {L"@RightRot", &CQvView::TransformPicture, 0, L"RotatePicture"},
    {L"@LeftRot", &CQvView::TransformPicture, 1, L"RotatePicture"},
    {L"@180Rot", &CQvView::TransformPicture, 4, L"RotatePicture"},
    {L"@H_Reverse", &CQvView::TransformPicture, 2, L"FlipPicture"},
    {L"@V_Reverse", &CQvView::TransformPicture, 3, L"FlipPicture"},
    COMMAND_ROW(L"@H_PosLeft", SetPicturePlacement, 0),
    COMMAND_ROW(L"@H_PosRight", SetPicturePlacement, 1),
    COMMAND_ROW(L"@H_PosCenter", SetPicturePlacement, 2),
    COMMAND_ROW(L"@V_PosUp", SetPicturePlacement, 10),
    COMMAND_ROW(L"@V_PosBottom", SetPicturePlacement, 11),
    COMMAND_ROW(L"@V_PosCenter", SetPicturePlacement, 12),
    {L"@Next", &CQvView::ShowNextPicture, 1, L"ShowNextPicture"},
    {L"@Before", &CQvView::ShowNextPicture, -1, L"ShowNextPicture"},
    {L"@10Next", &CQvView::ShowNextPicture, 10, L"ShowNextPicture"},
    {L"@10Before", &CQvView::ShowNextPicture, -10, L"ShowNextPicture"},
    {L"@SaveBmp", &CQvView::SaveShownPicture, 0, L"SavePictureAsBmp"},
    {L"@NextSaveBmp", &CQvView::SaveShownPicture, 1, L"SaveNextPictureAsBmp"},
    {L"@Graphicclipcopy", &CQvView::CopyPictureToClipboard, 1, L"CopyPictureToClipboard"},
    {L"@GraphicClipCopyWithoutAlpha", &CQvView::CopyPictureToClipboard, 0, L"CopyPictureWithoutAlpha"},
    {L"@PauseGraphic", &CQvView::PausePictureDisplay, 0, L"PausePictureDisplay"},
    {L"@GraphicList", &CQvView::TogglePictureList, 0, L"TogglePictureList"},
    {L"@Fullscreen", &CQvView::ToggleFullScreen, 0, L"ToggleFullScreen"},
    {L"@Graphickey", &CQvView::RunViewKeySettings, VIEW_KEYS_GRAPHIC, L"ConfigureGraphicKeys"},
    {L"@ConfigSave", &CQvView::SaveAllSettings, 0, L"SaveConfiguration"},
    {L"@Showicon", &CQvView::MinimizeWindow, 0, L"MinimizeWindow"},
    {L"@Returnkey", {&CQvView::OpenCursorEntry, 1}, 0, L"OpenCursorEntry"},
    {L"@Quit", &CQvView::QuitProgram, 0, L"QuitProgram"},
    {L"@Exitgraphic", &CQvView::OnExitGraphic, 0, L"ExitPictureView"},
    COMMAND_ROW(L"@Setwallpaper", SetWallpaper, 0),
    COMMAND_ROW(L"@Changedmenu", ToggleMenuBar, 0),
    {L"@Right", {&CQvView::ScrollPicture, 1}, 0, L"MoveGraphicPosition"},
    {L"@Left", {&CQvView::ScrollPicture, -1}, 0, L"MoveGraphicPosition"},
    {L"@Down", {&CQvView::ScrollPicture, 0}, 1, L"MoveGraphicPosition"},
    {L"@Up", {&CQvView::ScrollPicture, 0}, -1, L"MoveGraphicPosition"},
    {L"@Rightpage", {&CQvView::ScrollPicture, 10}, 0, L"MoveGraphicPosition"},
    {L"@Leftpage", {&CQvView::ScrollPicture, -10}, 0, L"MoveGraphicPosition"},
    {L"@Downpage", {&CQvView::ScrollPicture, 0}, 10, L"MoveGraphicPosition"},
    {L"@Uppage", {&CQvView::ScrollPicture, 0}, -10, L"MoveGraphicPosition"},
    {L"@Allcpldata", &CQvView::ShowControlPanelList, 0, L"ShowControlPanelList"},
};
// clang-format on

} // namespace ViewCommands

const CommandEntry* GetGraphicDispatcherEntries(int* count)
{
    return ListEntries(ViewCommands::kEntries, count);
}
