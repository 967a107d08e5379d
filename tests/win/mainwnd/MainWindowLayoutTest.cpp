// The main window's controls at the display's resolution, after a
// synchronisation (DisplayDpi runs this again at 144 pixels per inch): each
// text fits inside its control, and controls overlap only inside a group box.

#include "common/KavrinSettings.h"
#include "common/SettingsKey_win.h"
#include "framework/Handles_win.h"
#include "mainwnd/ButtonFaces.h"
#include "mainwnd/KavrinDlg_win.h"
#include "resources/resource.h"
#include "sntp/SntpSocket.h"
#include "tests/support/TestPeersGate.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace
{
struct Control
{
    HWND hwnd;
    RECT rect; // in the dialog's client area
    std::wstring className;
    LONG style;
};

// The dialog's own visible controls.
std::vector<Control> Controls(HWND dialog)
{
    std::vector<Control> controls;
    for (HWND hwnd = ::GetWindow(dialog, GW_CHILD); hwnd; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT))
    {
        Control control{hwnd, {}, std::wstring(64, L'\0'), ::GetWindowLongW(hwnd, GWL_STYLE)};
        control.className.resize(static_cast<size_t>(::GetClassNameW(hwnd, control.className.data(), 64)));
        ::GetWindowRect(hwnd, &control.rect);
        ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&control.rect), 2);
        if (::IsWindowVisible(hwnd))
            controls.push_back(control);
    }
    return controls;
}

bool IsButtonOfType(const Control& control, LONG type)
{
    return control.className == WC_BUTTONW && (control.style & BS_TYPEMASK) == type;
}

// A group box may hold other controls whole.
bool Holds(const Control& group, const Control& inner)
{
    RECT common{};
    return IsButtonOfType(group, BS_GROUPBOX) && ::IntersectRect(&common, &group.rect, &inner.rect) &&
           ::EqualRect(&common, &inner.rect);
}

// The font an owner-drawn button's face names, at the display's resolution.
CUniqueFont FaceFont(const ButtonFace& face, HDC dc)
{
    const FontDescription description = ParseFontDescription(face.font);
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(face.points, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    font.lfWeight = description.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = description.italic;
    ::lstrcpynW(font.lfFaceName, description.face.c_str(), LF_FACESIZE);
    return CUniqueFont(::CreateFontIndirectW(&font));
}

// The room that `text` needs in the control's font: lines broken at `width`.
SIZE TextExtent(const Control& control, const std::wstring& text, int width, UINT format)
{
    const CWindowDC dc(control.hwnd);
    const ButtonFace* face = IsButtonOfType(control, BS_OWNERDRAW) ? FindButtonFace(::GetDlgCtrlID(control.hwnd)) : nullptr;
    const CUniqueFont faceFont = face ? FaceFont(*face, dc.Get()) : CUniqueFont();
    const CSelectObject font(dc.Get(), face ? faceFont.Get()
                                            : reinterpret_cast<HFONT>(::SendMessageW(control.hwnd, WM_GETFONT, 0, 0)));
    RECT rect{0, 0, width, 0};
    ::DrawTextW(dc.Get(), text.c_str(), -1, &rect, format | DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX);
    return {rect.right, rect.bottom};
}

// Every row in sight, and every cell within its column.
void ExpectRowsFit(HWND list)
{
    EXPECT_GE(ListView_GetCountPerPage(list), ListView_GetItemCount(list));
    for (int row = 0; row < ListView_GetItemCount(list); ++row)
        for (int column = 0; column < 2; ++column)
        {
            wchar_t cell[256] = {};
            ListView_GetItemText(list, row, column, cell, 256);
            EXPECT_LE(ListView_GetStringWidth(list, cell) + 12, ListView_GetColumnWidth(list, column))
                << testing::PrintToString(std::wstring(cell));
        }
}

void ExpectTextFits(const Control& control)
{
    wchar_t buffer[512] = {};
    const std::wstring text(buffer, static_cast<size_t>(::GetWindowTextW(control.hwnd, buffer, 512)));
    RECT client{};
    ::GetClientRect(control.hwnd, &client);
    SCOPED_TRACE(testing::PrintToString(text));
    if (control.className == WC_LISTVIEWW)
        ExpectRowsFit(control.hwnd);
    if (text.empty())
        return;
    if (control.className == WC_STATICW)
    {
        const SIZE need = TextExtent(control, text, client.right, DT_WORDBREAK);
        EXPECT_LE(need.cx, client.right);
        EXPECT_LE(need.cy, client.bottom);
    }
    else
    {
        // A check box's box and a button's or group box's edges take room too.
        const int room = IsButtonOfType(control, BS_AUTOCHECKBOX) ? ::GetSystemMetrics(SM_CXMENUCHECK) + 4 : 8;
        const SIZE need = TextExtent(control, text, 0, DT_SINGLELINE);
        EXPECT_LE(need.cx + room, client.right);
        EXPECT_LE(need.cy, client.bottom);
    }
}
} // namespace

TEST(MainWindowLayout, EveryTextFitsAndControlsDoNotOverlap)
{
    REQUIRE_TEST_PEERS();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
    CSettingsKey settings;
    ASSERT_TRUE(settings.OpenKey(Settings::kKeyPath, true));
    settings.WriteNumber(Settings::Names::SyncOnStart, 1);
    settings.WriteNumber(Settings::Names::ExitAfterSync, 1);
    settings.WriteText(Settings::Names::CurrentServer, TestPeers::kChronyd);
    const CSocketLayer sockets;
    CKavrinDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.ShowWindow(SW_SHOWNORMAL);
    // Until the clock and the countdown have shown their first texts.
    for (const ULONGLONG end = ::GetTickCount64() + 1200; ::GetTickCount64() < end; ::Sleep(10))
        for (MSG msg{}; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
            ::DispatchMessageW(&msg);
    const std::vector<Control> controls = Controls(dialog.GetSafeHwnd());
    ASSERT_GE(controls.size(), 20u);
    for (auto control = controls.begin(); control != controls.end(); ++control)
    {
        SCOPED_TRACE("control " + std::to_string(::GetDlgCtrlID(control->hwnd)));
        ExpectTextFits(*control);
        for (auto other = control + 1; other != controls.end(); ++other)
        {
            RECT common{};
            EXPECT_TRUE(!::IntersectRect(&common, &control->rect, &other->rect) || Holds(*control, *other) ||
                        Holds(*other, *control))
                << "overlaps control " << ::GetDlgCtrlID(other->hwnd);
        }
    }
    ::DestroyWindow(dialog.GetSafeHwnd());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Settings::kKeyPath);
}
