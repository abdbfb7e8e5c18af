// Every dialog template of the program is laid out in its own font and measured:
// Japanese labels are wide, and a template drawn for narrower text cuts them off or
// lets them run into the next control. Each dialog is created (hidden) from its
// template, so the controls get the font, the pixel rectangles and the client areas
// the program's dialogs really get, and each label is measured the way the control
// draws it.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace
{

// ---- Reading a template -------------------------------------------------------------

struct ControlTemplate
{
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD id = 0;
    std::wstring className; // the class name, also for the predefined classes given by atom
    std::wstring text;      // empty when the template gives none or a resource ordinal
};

struct DialogTemplate
{
    std::wstring name; // "#1234" for a numbered template
    std::wstring caption;
    std::vector<ControlTemplate> controls;
    std::vector<BYTE> bytes; // the template, with the style made that of a hidden pop-up
};

class TemplateReader
{
public:
    TemplateReader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}

    bool Ok() const { return m_ok; }
    size_t Offset() const { return m_offset; }

    WORD Word()
    {
        WORD value = 0;
        Take(&value, sizeof value);
        return value;
    }
    DWORD Dword()
    {
        DWORD value = 0;
        Take(&value, sizeof value);
        return value;
    }
    void Skip(size_t count)
    {
        if (m_offset + count > m_size)
            m_ok = false;
        m_offset = std::min(m_size, m_offset + count);
    }
    void AlignDword() { Skip((4 - m_offset % 4) % 4); }

    // A string, or an ordinal (0xFFFF and a word) that is returned through `ordinal`.
    std::wstring StringOrOrdinal(WORD* ordinal = nullptr)
    {
        WORD first = Word();
        if (first == 0xFFFF)
        {
            WORD value = Word();
            if (ordinal != nullptr)
                *ordinal = value;
            return std::wstring();
        }
        std::wstring text;
        for (WORD c = first; c != 0 && m_ok; c = Word())
            text.push_back(static_cast<wchar_t>(c));
        return text;
    }

private:
    void Take(void* out, size_t count)
    {
        if (m_offset + count > m_size)
        {
            m_ok = false;
            return;
        }
        memcpy(out, m_data + m_offset, count);
        m_offset += count;
    }

    const BYTE* m_data;
    size_t m_size;
    size_t m_offset = 0;
    bool m_ok = true;
};

std::wstring PredefinedClass(WORD atom)
{
    switch (atom)
    {
    case 0x80:
        return L"Button";
    case 0x81:
        return L"Edit";
    case 0x82:
        return L"Static";
    case 0x83:
        return L"ListBox";
    case 0x84:
        return L"ScrollBar";
    case 0x85:
        return L"ComboBox";
    default:
        return L"#" + std::to_wstring(atom);
    }
}

// Reads a DIALOG or DIALOGEX template. The copy it keeps has the style of a hidden
// pop-up: property pages are child templates, and a child dialog needs a parent.
bool ReadTemplate(const BYTE* data, size_t size, DialogTemplate* out)
{
    TemplateReader reader(data, size);
    const bool extended = size >= 4 && reinterpret_cast<const WORD*>(data)[1] == 0xFFFF;
    size_t styleOffset = 0;
    DWORD style = 0;
    if (extended)
    {
        reader.Skip(4 + 4 + 4); // version, signature, help id, extended style
        styleOffset = 12;
        style = reader.Dword();
    }
    else
    {
        style = reader.Dword();
        reader.Skip(4);
    }
    const WORD count = reader.Word();
    reader.Skip(4 * 2); // x, y, cx, cy
    reader.StringOrOrdinal();
    reader.StringOrOrdinal();
    out->caption = reader.StringOrOrdinal();
    if (style & DS_SETFONT)
    {
        reader.Skip(extended ? 2 + 2 + 1 + 1 : 2);
        reader.StringOrOrdinal();
    }
    for (WORD i = 0; i < count && reader.Ok(); ++i)
    {
        reader.AlignDword();
        ControlTemplate control;
        if (extended)
        {
            reader.Skip(4); // help id
            control.exStyle = reader.Dword();
            control.style = reader.Dword();
            reader.Skip(4 * 2);
            control.id = reader.Dword();
        }
        else
        {
            control.style = reader.Dword();
            control.exStyle = reader.Dword();
            reader.Skip(4 * 2);
            control.id = reader.Word();
        }
        WORD atom = 0;
        control.className = reader.StringOrOrdinal(&atom);
        if (control.className.empty())
            control.className = PredefinedClass(atom);
        control.text = reader.StringOrOrdinal();
        reader.Skip(reader.Word());
        out->controls.push_back(control);
    }
    if (!reader.Ok())
        return false;
    out->bytes.assign(data, data + size);
    style = (style & ~(WS_CHILD | WS_VISIBLE | DS_CONTROL)) | WS_POPUP;
    memcpy(out->bytes.data() + styleOffset, &style, sizeof style);
    return true;
}

DialogTemplate LoadTemplate(LPCWSTR name)
{
    DialogTemplate dialog;
    dialog.name = IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : name;
    HRSRC found = FindResourceW(nullptr, name, RT_DIALOG);
    if (found == nullptr)
        return dialog;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    if (data == nullptr || !ReadTemplate(data, SizeofResource(nullptr, found), &dialog))
        dialog.bytes.clear();
    return dialog;
}

// The program's templates are numbered; the check's own samples carry names.
std::vector<DialogTemplate> ProgramTemplates()
{
    std::vector<ULONG_PTR> ids;
    EnumResourceNamesW(
        nullptr, RT_DIALOG,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
            if (IS_INTRESOURCE(name))
                reinterpret_cast<std::vector<ULONG_PTR>*>(param)->push_back(
                    reinterpret_cast<ULONG_PTR>(name));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&ids));
    std::sort(ids.begin(), ids.end());
    std::vector<DialogTemplate> dialogs;
    for (ULONG_PTR id : ids)
        dialogs.push_back(LoadTemplate(MAKEINTRESOURCEW(id)));
    return dialogs;
}

// ---- Laying a template out ----------------------------------------------------------

struct PlacedControl
{
    const ControlTemplate* source = nullptr;
    HWND window = nullptr;
    RECT rect = {}; // in the dialog's client coordinates
};

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

class LaidOutDialog
{
public:
    explicit LaidOutDialog(const DialogTemplate& dialog)
    {
        if (dialog.bytes.empty())
            return;
        m_window = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                              reinterpret_cast<LPCDLGTEMPLATEW>(dialog.bytes.data()), nullptr,
                                              QuietDialogProc, 0);
        if (m_window == nullptr)
            return;
        // The dialog manager creates the controls in template order, each after the last.
        HWND child = GetWindow(m_window, GW_CHILD);
        for (const ControlTemplate& control : dialog.controls)
        {
            if (child == nullptr)
                break;
            PlacedControl placed;
            placed.source = &control;
            placed.window = child;
            GetWindowRect(child, &placed.rect);
            MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT*>(&placed.rect), 2);
            m_controls.push_back(placed);
            child = GetWindow(child, GW_HWNDNEXT);
        }
        m_complete = child == nullptr && m_controls.size() == dialog.controls.size();
    }
    ~LaidOutDialog()
    {
        if (m_window != nullptr)
            DestroyWindow(m_window);
    }
    LaidOutDialog(const LaidOutDialog&) = delete;
    LaidOutDialog& operator=(const LaidOutDialog&) = delete;

    bool Ok() const { return m_window != nullptr && m_complete; }
    HWND Window() const { return m_window; }
    const std::vector<PlacedControl>& Controls() const { return m_controls; }

private:
    HWND m_window = nullptr;
    std::vector<PlacedControl> m_controls;
    bool m_complete = false;
};

// ---- Measuring ----------------------------------------------------------------------

bool IsClass(const ControlTemplate& control, LPCWSTR name)
{
    return lstrcmpiW(control.className.c_str(), name) == 0;
}

UINT ButtonType(DWORD style)
{
    return style & BS_TYPEMASK;
}

bool IsGroupBox(const ControlTemplate& control)
{
    return IsClass(control, L"Button") && ButtonType(control.style) == BS_GROUPBOX;
}

bool IsCheckOrRadio(DWORD style)
{
    switch (ButtonType(style))
    {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return (style & BS_PUSHLIKE) == 0;
    default:
        return false;
    }
}

bool IsPushButton(DWORD style)
{
    const UINT type = ButtonType(style);
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ||
           ((style & BS_PUSHLIKE) != 0 && type != BS_GROUPBOX && type != BS_OWNERDRAW);
}

struct Shortfall
{
    bool fits = true;
    bool byHeight = false; // the text wraps to more lines than the control shows
    int needed = 0;
    int available = 0;
};

// What a label needs in the control's font: the width of one line, or with
// `wrapWidth` the height of the lines that width breaks it into.
SIZE MeasureText(HDC dc, const std::wstring& text, UINT flags, int wrapWidth)
{
    RECT rect = {0, 0, std::max(wrapWidth, 1), 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              flags | DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

// A label's room and need, the way the button and static controls place their text:
// a push button keeps its 2-pixel frame (3 for the default button) and a pixel of
// margin on each side; a check or radio box puts its 13-pixel box and half a digit's
// width before the text and a pixel of margin after the gap; a group box starts its
// caption 8 pixels in, and the caption must end before the frame's right edge (2
// pixels). A static text breaks its lines at the control's width: when the control
// shows one line, the text must fit in one line.
Shortfall MeasureControl(const PlacedControl& placed, HDC dc)
{
    Shortfall result;
    const ControlTemplate& control = *placed.source;
    if (control.text.empty())
        return result;
    RECT client = {};
    GetClientRect(placed.window, &client);
    const int width = client.right;
    const int height = client.bottom;
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    const int lineHeight = metrics.tmHeight;

    auto byWidth = [&](int needed, int available) {
        result.fits = needed <= available;
        result.needed = needed;
        result.available = available;
    };
    auto byLines = [&](int needed, int available) {
        result.fits = needed <= available;
        result.byHeight = true;
        result.needed = needed;
        result.available = available;
    };
    // A label that wraps: when the control shows only one line, one line must hold it.
    auto wrapped = [&](int textWidth, int textHeight, UINT flags) {
        if (textHeight < 2 * lineHeight)
        {
            byWidth(MeasureText(dc, control.text, flags, 0).cx, textWidth);
            return;
        }
        SIZE size = MeasureText(dc, control.text, flags, textWidth);
        if (size.cx > textWidth)
            byWidth(size.cx, textWidth);
        else
            byLines(size.cy, textHeight);
    };

    if (IsClass(control, L"Button"))
    {
        const UINT flags = (control.style & BS_MULTILINE) ? 0 : DT_SINGLELINE;
        if (IsPushButton(control.style))
        {
            const int frame = ButtonType(control.style) == BS_DEFPUSHBUTTON ? 3 : 2;
            const int textWidth = width - 2 * frame - 2;
            const int textHeight = height - 2 * frame - 2;
            if (flags == DT_SINGLELINE)
                byWidth(MeasureText(dc, control.text, 0, 0).cx, textWidth);
            else
                wrapped(textWidth, textHeight, 0);
        }
        else if (IsCheckOrRadio(control.style))
        {
            INT digit = 0;
            GetCharWidth32W(dc, L'0', L'0', &digit);
            const int box = 12 * GetDeviceCaps(dc, LOGPIXELSX) / 96 + 1;
            const int textWidth = width - box - digit / 2 - 1;
            if (flags == DT_SINGLELINE)
                byWidth(MeasureText(dc, control.text, 0, 0).cx, textWidth);
            else
                wrapped(textWidth, height, 0);
        }
        else if (ButtonType(control.style) == BS_GROUPBOX)
            byWidth(MeasureText(dc, control.text, 0, 0).cx, width - 8 - 2);
        return result;
    }
    if (IsClass(control, L"Static"))
    {
        if (control.style & SS_ELLIPSISMASK)
            return result; // drawn cut short on purpose
        const UINT prefix = (control.style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
        switch (control.style & SS_TYPEMASK)
        {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
            if (control.style & SS_CENTERIMAGE)
                byWidth(MeasureText(dc, control.text, prefix | DT_EXPANDTABS, 0).cx, width);
            else
                wrapped(width, height, prefix | DT_EXPANDTABS);
            break;
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP:
            byWidth(MeasureText(dc, control.text, prefix | DT_EXPANDTABS, 0).cx, width);
            break;
        default:
            break; // pictures, frames and owner-drawn statics carry no label
        }
    }
    return result;
}

std::wstring Describe(const DialogTemplate& dialog, const ControlTemplate& control)
{
    std::wstring text = L"dialog " + dialog.name + L" \"" + dialog.caption + L"\", control " +
                        std::to_wstring(static_cast<int>(static_cast<short>(control.id)));
    if (!control.text.empty())
        text += L" \"" + control.text + L"\"";
    return text;
}

std::string Narrow(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

// Every label of the dialog that its control cuts off.
std::vector<std::wstring> CutLabels(const DialogTemplate& dialog, const LaidOutDialog& laidOut)
{
    std::vector<std::wstring> found;
    HDC dc = GetDC(laidOut.Window());
    for (const PlacedControl& placed : laidOut.Controls())
    {
        // A hidden button of no size is there for its key alone (Enter, Esc).
        if ((placed.source->style & WS_VISIBLE) == 0 && IsRectEmpty(&placed.rect))
            continue;
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(placed.window, WM_GETFONT, 0, 0));
        HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
        Shortfall shortfall = MeasureControl(placed, dc);
        SelectObject(dc, old);
        if (!shortfall.fits)
            found.push_back(Describe(dialog, *placed.source) + L": needs " +
                            std::to_wstring(shortfall.needed) + L" px " +
                            (shortfall.byHeight ? L"height" : L"width") + L", has " +
                            std::to_wstring(shortfall.available));
    }
    ReleaseDC(laidOut.Window(), dc);
    return found;
}

// A combo box's template height includes its drop-down list; the control itself is
// its closed height, which is what its window has.
std::vector<std::wstring> ControlsOutside(const DialogTemplate& dialog, const LaidOutDialog& laidOut)
{
    std::vector<std::wstring> found;
    RECT client = {};
    GetClientRect(laidOut.Window(), &client);
    for (const PlacedControl& placed : laidOut.Controls())
    {
        const RECT& r = placed.rect;
        if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom)
        {
            std::wostringstream text;
            text << Describe(dialog, *placed.source) << L": lies at (" << r.left << L"," << r.top << L")-("
                 << r.right << L"," << r.bottom << L"), the client area is " << client.right << L"x"
                 << client.bottom;
            found.push_back(text.str());
        }
    }
    return found;
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Two visible controls on the same pixels, or a control across a group box's frame.
// An up-down control sits on its buddy's edge by design, and hidden controls are
// shown in turn with the ones they share a place with.
std::vector<std::wstring> OverlappingControls(const DialogTemplate& dialog, const LaidOutDialog& laidOut)
{
    std::vector<std::wstring> found;
    const auto& controls = laidOut.Controls();
    auto counts = [](const PlacedControl& placed) {
        return (placed.source->style & WS_VISIBLE) != 0 && !IsClass(*placed.source, UPDOWN_CLASSW);
    };
    for (size_t i = 0; i < controls.size(); ++i)
    {
        if (!counts(controls[i]))
            continue;
        for (size_t j = i + 1; j < controls.size(); ++j)
        {
            if (!counts(controls[j]))
                continue;
            const bool groupI = IsGroupBox(*controls[i].source);
            const bool groupJ = IsGroupBox(*controls[j].source);
            RECT common = {};
            if (!IntersectRect(&common, &controls[i].rect, &controls[j].rect))
                continue;
            if (groupI && Contains(controls[i].rect, controls[j].rect))
                continue;
            if (groupJ && Contains(controls[j].rect, controls[i].rect))
                continue;
            found.push_back(
                Describe(dialog, *controls[i].source) + L" and " +
                std::to_wstring(static_cast<int>(static_cast<short>(controls[j].source->id))) +
                (controls[j].source->text.empty() ? L"" : L" \"" + controls[j].source->text + L"\"") +
                (groupI || groupJ ? L" cross a group box's frame" : L" overlap"));
        }
    }
    return found;
}

void InitControls()
{
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&init);
}

using Finder = std::vector<std::wstring> (*)(const DialogTemplate&, const LaidOutDialog&);

std::vector<std::wstring> FindInSample(LPCWSTR name, Finder finder)
{
    InitControls();
    DialogTemplate dialog = LoadTemplate(name);
    LaidOutDialog laidOut(dialog);
    if (!laidOut.Ok())
        return {L"the sample was not laid out"};
    return finder(dialog, laidOut);
}

// Lays out every template of the program once and reports what each finder finds.
void CheckEveryTemplate(std::initializer_list<Finder> finders)
{
    InitControls();
    std::vector<DialogTemplate> dialogs = ProgramTemplates();
    ASSERT_GT(dialogs.size(), 100u) << "the program's dialog templates were not found";
    size_t finds = 0;
    for (const DialogTemplate& dialog : dialogs)
    {
        LaidOutDialog laidOut(dialog);
        if (!laidOut.Ok())
        {
            ADD_FAILURE() << "dialog " << Narrow(dialog.name) << " could not be laid out";
            continue;
        }
        for (Finder finder : finders)
            for (const std::wstring& find : finder(dialog, laidOut))
            {
                ADD_FAILURE() << Narrow(find);
                ++finds;
            }
    }
    EXPECT_EQ(0u, finds);
}

bool Mentions(const std::vector<std::wstring>& finds, const std::wstring& part)
{
    return std::any_of(finds.begin(), finds.end(),
                       [&](const std::wstring& find) { return find.find(part) != std::wstring::npos; });
}

} // namespace

// The check itself: a sample with every kind of label too narrow is caught control by
// control (a hidden button of no size is not a label), and the same labels with room
// are not.
TEST(DialogLayout, FindsEveryKindOfCutLabelInASample)
{
    std::vector<std::wstring> narrow = FindInSample(L"NARROWSAMPLE", CutLabels);
    for (const wchar_t* control :
         {L"control 10 ", L"control 11 ", L"control 12 ", L"control 13 ", L"control 14 "})
        EXPECT_TRUE(Mentions(narrow, std::wstring(control))) << Narrow(control);
    EXPECT_TRUE(Mentions(narrow, L"control 15 \"複数行の説明文が入る欄の見本です\": needs"));
    EXPECT_TRUE(Mentions(narrow, L"px height")) << "a multi-line text is measured by its lines";
    EXPECT_EQ(6u, narrow.size());

    std::vector<std::wstring> wide = FindInSample(L"WIDESAMPLE", CutLabels);
    EXPECT_TRUE(wide.empty()) << Narrow(wide.empty() ? L"" : wide.front());
}

TEST(DialogLayout, FindsControlsOutsideAndOverlappingInASample)
{
    std::vector<std::wstring> outside = FindInSample(L"NARROWSAMPLE", ControlsOutside);
    ASSERT_EQ(1u, outside.size());
    EXPECT_TRUE(Mentions(outside, L"control 16:"));

    std::vector<std::wstring> overlapping = FindInSample(L"NARROWSAMPLE", OverlappingControls);
    ASSERT_EQ(2u, overlapping.size());
    EXPECT_TRUE(
        Mentions(overlapping, L"control 14 \"ディレクトリの指定\" and 18 \"枠\" cross a group box's frame"));
    EXPECT_TRUE(
        Mentions(overlapping, L"control 15 \"複数行の説明文が入る欄の見本です\" and 17 \"重なり\" overlap"));

    EXPECT_TRUE(FindInSample(L"WIDESAMPLE", ControlsOutside).empty());
    EXPECT_TRUE(FindInSample(L"WIDESAMPLE", OverlappingControls).empty());
}

// Every label of every dialog shows whole in the dialog's font, every control lies
// inside its dialog, and no two controls cover each other.
TEST(DialogLayout, EveryProgramDialogShowsItsLabelsWhole)
{
    CheckEveryTemplate({CutLabels, ControlsOutside, OverlappingControls});
}
