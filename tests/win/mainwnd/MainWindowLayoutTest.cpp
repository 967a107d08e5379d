// The main window's controls after a synchronisation, at the display's resolution (DisplayDpi runs this
// again at 144 dpi): each text fits inside its control, and controls overlap only inside a group box.

#include "MainWindowTestSupport_win.h"
#include "framework/Handles_win.h"
#include "mainwnd/ButtonFaces.h"

#include <commctrl.h>

#include <vector>

namespace
{
// The rectangle is in the dialog's client area; the type is a button's BS_ type, else -1.
struct Control { HWND hwnd; RECT rect; std::wstring className; LONG type; };

std::vector<Control> VisibleControls(HWND dialog)
{
    std::vector<Control> controls;
    for (HWND hwnd = ::GetWindow(dialog, GW_CHILD); hwnd; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT))
    {
        wchar_t name[64] = {};
        ::GetClassNameW(hwnd, name, 64);
        Control control{hwnd, {}, name, ::GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK};
        control.type = control.className == WC_BUTTONW ? control.type : -1;
        ::GetWindowRect(hwnd, &control.rect);
        ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&control.rect), 2);
        if (::IsWindowVisible(hwnd))
            controls.push_back(control);
    }
    return controls;
}

bool Holds(const Control& group, const Control& inner)
{
    RECT common{};
    return group.type == BS_GROUPBOX && ::IntersectRect(&common, &group.rect, &inner.rect) &&
           ::EqualRect(&common, &inner.rect);
}

// The room `text` needs in the control's font (an owner-drawn button's face's), lines broken at `width`.
SIZE TextExtent(const Control& control, const std::wstring& text, int width, UINT format)
{
    const CWindowDC dc(control.hwnd);
    CUniqueFont faceFont;
    if (const ButtonFace* face = control.type == BS_OWNERDRAW ? FindButtonFace(::GetDlgCtrlID(control.hwnd)) : nullptr)
    {
        const FontDescription description = ParseFontDescription(face->font);
        faceFont.Reset(::CreateFontW(-::MulDiv(face->points, ::GetDeviceCaps(dc.Get(), LOGPIXELSY), 72), 0, 0, 0,
                                     description.bold ? FW_BOLD : FW_NORMAL, description.italic, FALSE, FALSE,
                                     ANSI_CHARSET, 0, 0, 0, 0, description.face.c_str()));
    }
    const CSelectObject font(dc.Get(), faceFont ? faceFont.Get() : reinterpret_cast<HFONT>(::SendMessageW(
                                                                     control.hwnd, WM_GETFONT, 0, 0)));
    RECT rect{0, 0, width, 0};
    ::DrawTextW(dc.Get(), text.c_str(), -1, &rect, format | DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX);
    return {rect.right, rect.bottom};
}

void ExpectTextFits(const Control& control)
{
    RECT client{};
    ::GetClientRect(control.hwnd, &client);
    if (control.className == WC_LISTVIEWW)
    {
        // Every row in sight, every cell within its column.
        const HWND list = control.hwnd;
        EXPECT_GE(ListView_GetCountPerPage(list), ListView_GetItemCount(list));
        for (int row = 0; row < ListView_GetItemCount(list) * 2; ++row)
        {
            wchar_t cell[256] = {};
            ListView_GetItemText(list, row / 2, row % 2, cell, 256);
            EXPECT_LE(ListView_GetStringWidth(list, cell) + 12, ListView_GetColumnWidth(list, row % 2))
                << testing::PrintToString(std::wstring(cell));
        }
    }
    const std::wstring text = Text(control.hwnd);
    SCOPED_TRACE(testing::PrintToString(text));
    // Statics wrap; a check box's box and a button's edges take room too.
    const bool wraps = control.className == WC_STATICW;
    const SIZE need = TextExtent(control, text, wraps ? client.right : 0, wraps ? DT_WORDBREAK : DT_SINGLELINE);
    const int room = wraps ? 0 : control.type == BS_AUTOCHECKBOX ? ::GetSystemMetrics(SM_CXMENUCHECK) + 4 : 8;
    EXPECT_LE(need.cx + room, client.right);
    EXPECT_LE(need.cy, client.bottom);
}

using MainWindowLayout = MainWindowTest;
} // namespace

TEST_F(MainWindowLayout, EveryTextFitsAndControlsDoNotOverlap)
{
    REQUIRE_TEST_PEERS();
    m_settings.WriteNumber(Settings::Names::SyncOnStart, 1);
    m_settings.WriteNumber(Settings::Names::ExitAfterSync, 1);
    Open();
    WaitForSync();
    PumpUntil([] { return false; }, 1200); // until the clock and the countdown have shown their first texts
    ASSERT_TRUE(ShowsCorrection(Status())) << "synchronised on start: " << testing::PrintToString(Status());

    const std::vector<Control> controls = VisibleControls(m_dialog.GetSafeHwnd());
    ASSERT_GE(controls.size(), 20u);
    for (auto control = controls.begin(); control != controls.end(); ++control)
    {
        SCOPED_TRACE("control " + std::to_string(::GetDlgCtrlID(control->hwnd)));
        EXPECT_TRUE(control->type != BS_OWNERDRAW || FindButtonFace(::GetDlgCtrlID(control->hwnd))) << "no face";
        ExpectTextFits(*control);
        for (auto other = control + 1; other != controls.end(); ++other)
        {
            RECT common{};
            EXPECT_TRUE(!::IntersectRect(&common, &control->rect, &other->rect) || Holds(*control, *other) ||
                        Holds(*other, *control))
                << "overlaps control " << ::GetDlgCtrlID(other->hwnd);
        }
    }
}
