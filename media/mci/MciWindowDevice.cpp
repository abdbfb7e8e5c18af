#include "media/mci/MciDevice.h"

#include <vfw.h>

namespace
{

class CMciWindowDevice : public IMciDevice
{
public:
    explicit CMciWindowDevice(HWND window) : m_window(window) {}

    int GetMode() override { return static_cast<int>(MCIWndGetMode(m_window, nullptr, 0)); }
    // By full path: the MCI window would otherwise look for the name in the
    // process's current directory, which the program must not change behind the
    // panes' back.
    LONG Open(LPCWSTR fullPath) override
    {
        return static_cast<LONG>(
            SendMessageW(m_window, MCIWNDM_OPENW, 0, reinterpret_cast<LPARAM>(fullPath)));
    }
    LONG Play() override { return static_cast<LONG>(MCIWndPlay(m_window)); }
    void Stop() override { MCIWndStop(m_window); }
    void Close() override { MCIWndClose(m_window); }
    void Pause() override { MCIWndPause(m_window); }
    void Resume() override { MCIWndResume(m_window); }
    void SetTimeFormatMs() override
    {
        SendMessageW(m_window, MCIWNDM_SETTIMEFORMATW, 0, reinterpret_cast<LPARAM>(L"ms"));
    }
    LONG GetLength() override { return static_cast<LONG>(MCIWndGetLength(m_window)); }
    LONG GetPosition() override { return static_cast<LONG>(MCIWndGetPosition(m_window)); }
    void Seek(LONG position) override { MCIWndSeek(m_window, position); }
    void SetVolume(int volume) override { MCIWndSetVolume(m_window, volume); }
    void SetZoom(int percent) override { MCIWndSetZoom(m_window, percent); }
    int GetZoom() override { return static_cast<int>(MCIWndGetZoom(m_window)); }
    BOOL GetSourceRect(RECT& rect) override { return MCIWndGetSource(m_window, &rect) == 0; }
    void ShowPlayBar(BOOL show) override
    {
        MCIWndChangeStyles(m_window, MCIWNDF_NOPLAYBAR, show ? 0 : MCIWNDF_NOPLAYBAR);
    }

private:
    HWND m_window;
};

} // namespace

IMciDevice* CreateMciWindowDevice(HWND mciWindow)
{
    return new CMciWindowDevice(mciWindow);
}
