// The pool server chooser from template 136, driven by messages.

#include "pool/PoolServerTable.h"
#include "pool/ShowServersDlg_win.h"
#include "resources/ShowServersDlgRes.h"
#include "tests/support/win/ModalDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
using Action = std::function<void(HWND dialog)>;

// A mouse click on `row`'s server; -1: a click on no row, as the list reports it.
Action Click(int row)
{
    return [row](HWND dialog) {
        const HWND list = ::GetDlgItem(dialog, IDC_POOL_LIST);
        NMITEMACTIVATE click{};
        click.hdr = {list, IDC_POOL_LIST, static_cast<UINT>(NM_CLICK)};
        click.iItem = row;
        RECT bounds{LVIR_BOUNDS, 0, 0, 0};
        ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
        const LPARAM at = MAKELPARAM(bounds.left + 160, (bounds.top + bounds.bottom) / 2);
        if (row < 0)
            ::SendMessageW(dialog, WM_NOTIFY, IDC_POOL_LIST, reinterpret_cast<LPARAM>(&click));
        else
            ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at), ::SendMessageW(list, WM_LBUTTONUP, 0, at);
    };
}
Action Type(const wchar_t* server) { return [server](HWND dialog) { ::SetDlgItemTextW(dialog, IDC_POOL_SERVER, server); }; }
// A key pressed in the server field, seen first by the dialog's own loop.
Action Press(WPARAM key)
{
    return [key](HWND dialog) { ::PostMessageW(::GetDlgItem(dialog, IDC_POOL_SERVER), WM_KEYDOWN, key, 0); };
}
void CloseBox(HWND dialog) { ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }
} // namespace

TEST(ShowServersDlg, OpensWithTheSixtyZonesUnderTheHeadingAndLinksToThePoolProject)
{
    CShowServersDlg chooser;
    std::vector<std::wstring> opened;
    chooser.SetLinkOpener([&](HWND, const std::wstring& target) { return opened.push_back(target), true; });
    ASSERT_TRUE(chooser.Create(nullptr));
    CListCtrl list;
    list.Attach(chooser.GetSafeHwnd(), IDC_POOL_LIST);
    ASSERT_EQ(list.GetItemCount(), 60);
    for (int row = 0; row < 60; ++row)
    {
        const PoolServerEntry& entry = PoolServerTable[static_cast<size_t>(row)];
        EXPECT_EQ(list.GetItemText(row, 0) + L" " + list.GetItemText(row, 1) + L" " + list.GetItemText(row, 2),
                  std::wstring(entry.country) + L" " + std::wstring(entry.server) + L" " + std::wstring(entry.count));
    }
    // The columns fit the list beside its scroll bar.
    int columns = 0;
    for (const int column : {0, 1, 2})
        columns += static_cast<int>(list.SendMessage(LVM_GETCOLUMNWIDTH, column));
    EXPECT_LE(columns, list.GetClientRect().right + ::GetSystemMetrics(SM_CXVSCROLL));

    const CLabel& heading = chooser.GetHeading();
    EXPECT_EQ(heading.GetWindowText().rfind(L"There are 60 Pool Servers listed as part", 0), 0u);

    const HWND label = chooser.GetDlgItem(IDC_POOL_LINK); // its hand cursor: HyperLinkTest
    ::SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    ::SendMessageW(label, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(opened, std::vector<std::wstring>{chooser.GetLink().GetWindowText()});
    EXPECT_FALSE(chooser.IsEnded());
}

TEST(ShowServersDlg, HandsBackTheFieldsOnOkAndNothingOtherwise)
{
    const struct
    {
        const wchar_t* current;
        std::vector<Action> actions;
        INT_PTR result;
        const wchar_t* serverAndRegion;
    } cases[] = {
        {L"de.pool.ntp.org", {Press(VK_RETURN)}, IDOK, L"de.pool.ntp.org Germany"},
        {L"CA.pool.ntp.org", {Press(VK_RETURN)}, IDOK, L"CA.pool.ntp.org Unspecified"},
        {L"ca.pool.ntp.org", {Type(L"time.example"), Press(VK_RETURN)}, IDOK, L"time.example Canada"},
        {L"", {Click(8), Press(VK_RETURN)}, IDOK, L"de.pool.ntp.org Germany"},
        {L"", {Click(59), Type(L"0.de.pool.ntp.org"), Press(VK_RETURN)}, IDOK, L"0.de.pool.ntp.org Vanuatu"},
        {L"ca.pool.ntp.org", {Type(L""), Press(VK_RETURN)}, IDOK, L" Canada"},
        {L"", {Click(3), Type(L"time.example"), Click(-1), Press(VK_RETURN)}, IDOK, L"time.example North America"},
        {L"ca.pool.ntp.org", {Click(8), Press(VK_ESCAPE)}, IDCANCEL, L"ca.pool.ntp.org "},
        {L"ca.pool.ntp.org", {Click(8), CloseBox}, IDCANCEL, L"ca.pool.ntp.org "},
    };
    for (const auto& c : cases)
    {
        CShowServersDlg chooser;
        chooser.m_strServer = c.current;
        const CModalDriver driver([&] {
            if (!::IsWindowVisible(chooser.GetSafeHwnd()))
                return false;
            for (const Action& action : c.actions)
                action(chooser.GetSafeHwnd());
            return true;
        });
        EXPECT_EQ(chooser.DoModal(), c.result) << testing::PrintToString(c.serverAndRegion);
        EXPECT_EQ(chooser.m_strServer + L" " + chooser.m_strRegion, c.serverAndRegion);
    }
}
