// The pool server chooser from template 136, run modally and driven by
// messages from inside its loop.

#include "pool/PoolServerTable.h"
#include "pool/ShowServersDlg_win.h"
#include "resources/ShowServersDlgRes.h"
#include "tests/support/win/ModalDriver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
using Action = std::function<void(HWND dialog)>;

std::wstring Cell(HWND list, int row, int column)
{
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

// A click of the mouse on the middle of `row`, where its server is shown.
Action ClickRow(int row)
{
    return [row](HWND dialog) {
        const HWND list = ::GetDlgItem(dialog, IDC_POOL_LIST);
        ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        RECT bounds{LVIR_BOUNDS, 0, 0, 0};
        ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
        const LPARAM at = MAKELPARAM(bounds.left + 160, (bounds.top + bounds.bottom) / 2);
        ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(list, WM_LBUTTONUP, 0, at);
    };
}

// The list's report of a click that hit no row.
void ClickNoRow(HWND dialog)
{
    NMITEMACTIVATE click{};
    click.hdr = {::GetDlgItem(dialog, IDC_POOL_LIST), IDC_POOL_LIST, static_cast<UINT>(NM_CLICK)};
    click.iItem = -1;
    ::SendMessageW(dialog, WM_NOTIFY, IDC_POOL_LIST, reinterpret_cast<LPARAM>(&click));
}

Action Type(const wchar_t* server)
{
    return [server](HWND dialog) { ::SetDlgItemTextW(dialog, IDC_POOL_SERVER, server); };
}

// A key pressed in the server field, seen first by the dialog's own loop.
Action Press(WPARAM key)
{
    return [key](HWND dialog) { ::PostMessageW(::GetDlgItem(dialog, IDC_POOL_SERVER), WM_KEYDOWN, key, 0); };
}

void CloseBox(HWND dialog)
{
    ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

// Runs `chooser` modally; `inspect` and then each action act on it once it is shown.
INT_PTR RunChooser(CShowServersDlg& chooser, const std::vector<Action>& actions, const Action& inspect = [](HWND) {})
{
    const CModalDriver driver([&] {
        const HWND dialog = chooser.GetSafeHwnd();
        if (!dialog || !::IsWindowVisible(dialog))
            return false;
        inspect(dialog);
        for (const Action& action : actions)
            action(dialog);
        return true;
    });
    return chooser.DoModal();
}
} // namespace

TEST(ShowServersDlg, ListsTheSixtyZonesInTableOrderUnderTheirHeading)
{
    CShowServersDlg chooser;
    EXPECT_EQ(RunChooser(chooser, {Press(VK_ESCAPE)},
                  [&](HWND dialog) {
                      const HWND list = ::GetDlgItem(dialog, IDC_POOL_LIST);
                      ASSERT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 60);
                      for (int row = 0; row < 60; ++row)
                      {
                          const PoolServerEntry& entry = PoolServerTable[static_cast<size_t>(row)];
                          EXPECT_EQ(Cell(list, row, 0), entry.country);
                          EXPECT_EQ(Cell(list, row, 1), entry.server);
                          EXPECT_EQ(Cell(list, row, 2), entry.count);
                      }
                      // The list's width inside its frame, the scroll bar's included.
                      RECT client{};
                      ::GetClientRect(list, &client);
                      const bool scrolls = ::GetWindowLongPtrW(list, GWL_STYLE) & WS_VSCROLL;
                      const int width = client.right + (scrolls ? ::GetSystemMetrics(SM_CXVSCROLL) : 0);
                      EXPECT_EQ(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 115);
                      EXPECT_EQ(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), width - 185);
                      EXPECT_EQ(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 2, 0), 50);

                      const CLabel& heading = chooser.GetHeading();
                      EXPECT_EQ(heading.GetWindowText().rfind(L"There are 60 Pool Servers listed as part", 0), 0u);
                      EXPECT_EQ(heading.GetBackground(), CLabel::Background::Gradient);
                      EXPECT_EQ(heading.GetBkColor(), RGB(128, 255, 0));
                      EXPECT_EQ(heading.GetGradientEndColor(), RGB(255, 255, 255));
                      EXPECT_EQ(heading.GetTextColor(), RGB(0, 0, 255));
                      EXPECT_EQ(heading.GetFontOptions().GetWeight(), FW_BOLD);
                  }),
              IDCANCEL);
}

TEST(ShowServersDlg, LinkOpensThePoolProjectsPageWithTheDialogStillOpen)
{
    CShowServersDlg chooser;
    std::vector<std::wstring> opened;
    chooser.SetLinkOpener([&](HWND, const std::wstring& target) {
        opened.push_back(target);
        return true;
    });
    bool openAfterClick = false;
    HCURSOR pointer = nullptr;
    EXPECT_EQ(RunChooser(chooser, {CloseBox},
                  [&](HWND dialog) {
                      const HWND link = ::GetDlgItem(dialog, IDC_POOL_LINK);
                      ::SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
                      pointer = ::GetCursor();
                      ::SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
                      ::SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
                      openAfterClick = !chooser.IsEnded();
                  }),
              IDCANCEL);
    const CLabel& link = chooser.GetLink();
    EXPECT_EQ(opened, std::vector<std::wstring>{link.GetLink()});
    EXPECT_EQ(link.GetLink().rfind(L"https://www.ntppool.org/en", 0), 0u);
    EXPECT_TRUE(openAfterClick);
    EXPECT_EQ(pointer, ::LoadCursorW(nullptr, IDC_HAND));
    EXPECT_TRUE(link.GetFontOptions().IsUnderline());
    EXPECT_EQ(link.GetTextColor(), RGB(0, 0, 255));
}

TEST(ShowServersDlg, HandsBackTheFieldsOnOkAndNothingOtherwise)
{
    const struct
    {
        const char* what;
        const wchar_t* current;
        std::vector<Action> actions;
        INT_PTR result;
        const wchar_t* server;
        const wchar_t* region;
    } cases[] = {
        {"table host opens with its country", L"de.pool.ntp.org", {Press(VK_RETURN)}, IDOK, L"de.pool.ntp.org", L"Germany"},
        {"other host opens as Unspecified", L"CA.pool.ntp.org", {Press(VK_RETURN)}, IDOK, L"CA.pool.ntp.org", L"Unspecified"},
        {"typed host", L"ca.pool.ntp.org", {Type(L"time.example"), Press(VK_RETURN)}, IDOK, L"time.example", L"Canada"},
        {"clicked row", L"", {ClickRow(8), Press(VK_RETURN)}, IDOK, L"de.pool.ntp.org", L"Germany"},
        {"click, then edit", L"", {ClickRow(59), Type(L"0.de.pool.ntp.org"), Press(VK_RETURN)}, IDOK,
         L"0.de.pool.ntp.org", L"Vanuatu"},
        {"empty field", L"ca.pool.ntp.org", {Type(L""), Press(VK_RETURN)}, IDOK, L"", L"Canada"},
        {"click on no row", L"time.example", {ClickRow(3), Type(L"time.example"), ClickNoRow, Press(VK_RETURN)}, IDOK,
         L"time.example", L"North America"},
        {"escape", L"ca.pool.ntp.org", {ClickRow(8), Press(VK_ESCAPE)}, IDCANCEL, L"ca.pool.ntp.org", L""},
        {"close box", L"ca.pool.ntp.org", {ClickRow(8), CloseBox}, IDCANCEL, L"ca.pool.ntp.org", L""},
    };
    for (const auto& c : cases)
    {
        CShowServersDlg chooser;
        chooser.m_strServer = c.current;
        EXPECT_EQ(RunChooser(chooser, c.actions), c.result) << c.what;
        EXPECT_EQ(chooser.m_strServer, c.server) << c.what;
        EXPECT_EQ(chooser.m_strRegion, c.region) << c.what;
    }
}
