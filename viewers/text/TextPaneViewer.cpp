#include "viewers/text/TextPaneViewer.h"

#include "viewers/text/ViewerText.h"

namespace
{
class CTextPaneViewer : public IPaneViewer
{
public:
    BOOL OpenFile(LPCWSTR path, int tabWidth, int lineWidth, int requestedCode) override
    {
        return m_text.OpenViewerFile(path, tabWidth, lineWidth, requestedCode);
    }
    BOOL OpenMemory(const void* bytes, INT64 length, LPCWSTR extension, int tabWidth, int lineWidth,
                    int requestedCode) override
    {
        return m_text.OpenViewerMemory(bytes, length, extension, tabWidth, lineWidth, requestedCode);
    }
    BOOL Rewrap(int tabWidth, int lineWidth) override { return m_text.RewrapViewerData(tabWidth, lineWidth); }
    void StopLoader() override { m_text.StopViewerLoader(); }
    void Release() override { m_text.ReleaseViewerData(); }
    BOOL IsLoadDone() const override { return m_text.IsViewerLoadDone(); }
    BOOL Lock() override { return m_text.LockViewerData(); }
    void Unlock() override { m_text.UnlockViewerData(); }
    const char* Text() const override { return m_text.Text(); }
    INT64 TextLength() const override { return m_text.TextLength(); }
    const INT64* LineIndex() const override { return m_text.LineIndex(); }
    INT64 LineCount() const override { return m_text.LineCount(); }
    BOOL IsTruncated() const override { return m_text.IsTruncated(); }
    int GetEncoding() const override { return m_text.GetViewerEncoding(); }
    int GetEncodingDetail() const override { return m_text.GetViewerEncodingDetail(); }
    int GetTabWidth() const override { return m_text.GetTabWidth(); }
    int GetLineWidth() const override { return m_text.GetLineWidth(); }
    INT64 GetTopLine() const override { return m_text.GetTopLine(); }
    void SetTopLine(INT64 line) override { m_text.SetTopLine(line); }
    INT64 ScrollLines(INT64 delta, int linesPerPage, BOOL hexForm) override
    {
        return m_text.ScrollViewerLines(delta, linesPerPage, hexForm);
    }
    void SetSearch(const char* text, int length, BOOL ignoreCase, int direction) override
    {
        m_text.SetSearch(std::string(text, static_cast<size_t>(length < 0 ? 0 : length)), ignoreCase,
                         direction);
    }
    void SetSearchStart(INT64 offset) override { m_text.SetSearchStart(offset); }
    BOOL Search(BOOL forward) override { return m_text.SearchViewerText(forward); }
    INT64 GetSearchPosition() const override { return m_text.GetSearchPosition(); }
    INT64 GetSearchLength() const override { return m_text.GetSearchLength(); }

private:
    CViewerText m_text;
};
} // namespace

IPaneViewer* CreateTextPaneViewer()
{
    return new CTextPaneViewer;
}
