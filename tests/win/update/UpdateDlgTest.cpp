// The update dialog from template 4352, driven by messages, downloading from the local site.

#include "UpdateTestSupport.h"
#include "update/UpdateDlg_win.h"
#include "framework/Exceptions_win.h"
#include "resources/UpdateDlgRes.h"
#include "update/UpdateHighlight.h"

#include <wininet.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

namespace
{
const std::string kSetup = "MZ" + std::string(998, 'K');

class UpdateDlgTest : public testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_TEST_SITE();
        m_environment.sites = TestSite::At(KAVRIN_TEST_HTTP_ORIGIN);
        m_environment.open = [this](HWND, const std::wstring& target) { return opened.push_back(target), true; };
        m_environment.start = [this](HWND, const std::wstring& target) { return started.push_back(target), true; };
    }
    void TearDown() override { ::DeleteFileW(Saved(L"TestSetup.exe").c_str()); }

    // Clicks `button` and answers the one message box it shows, whose text it returns.
    std::wstring ToldAfter(int button)
    {
        std::wstring told;
        const CWindowWatcher box(L"Error", [&](HWND shown) {
            told += ItemText(shown, 0xFFFF);
            ::PostMessageW(shown, WM_COMMAND, IDOK, 0);
        });
        Click(button);
        return told;
    }

    void Open(UpdateMode mode, const std::wstring& message, const std::wstring& setup = L"TestSetup.exe")
    {
        m_dialog.emplace(UpdateOffer{mode, message, L"Kavrin", setup}, m_environment);
        EXPECT_TRUE(m_dialog->Create());
        m_dialog->ShowWindow(SW_SHOWNORMAL);
    }
    void Click(int id) const
    {
        ::SendMessageW(m_dialog->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(m_dialog->GetDlgItem(id)));
    }
    bool Visible(int id) const { return ::IsWindowVisible(m_dialog->GetDlgItem(id)) != FALSE; }
    std::wstring Text(int id) const { return ItemText(m_dialog->GetSafeHwnd(), id); }
    static std::wstring Saved(const std::wstring& name) { return DownloadsFolder() + L"\\Halvanworks\\" + name; }

    // Every character of the message view in the colour that `plan` gives it in the text the view holds.
    void ExpectHighlighted(UpdateHighlight::Formatting (*plan)(std::wstring_view)) const
    {
        CRichEditCtrl view;
        view.Attach(m_dialog->GetSafeHwnd(), IDC_UPDATE_MESSAGE);
        const std::wstring text = UpdateHighlight::ControlText(view.GetWindowText());
        const UpdateHighlight::Formatting formatting = plan(text);
        ASSERT_FALSE(formatting.spans.empty()) << testing::PrintToString(text);
        std::vector<COLORREF> planned(text.size(), formatting.colour);
        for (const UpdateHighlight::Span& span : formatting.spans)
            std::fill(planned.begin() + span.start, planned.begin() + span.end, span.style.colour);
        std::size_t at = 0;
        for (; at < text.size(); ++at)
        {
            view.SendMessage(EM_SETSEL, at, static_cast<LPARAM>(at + 1));
            if (view.GetSelectionCharFormat().crTextColor != planned[at])
                break;
        }
        EXPECT_EQ(at, text.size()) << "first character off the plan in " << testing::PrintToString(text);
    }

    UpdateEnvironment m_environment;
    std::optional<CUpdateDlg> m_dialog;
    std::vector<std::wstring> opened;
    std::vector<std::wstring> started;
};

const std::wstring kNewerMessage =
    L"There is a newer version of Kavrin available. You are using Kavrin Version " KAVRIN_VERSION_TEXT
    L" and Version 4.2.2.6 is available, created on March 05, 2024. \r\n\r\nYou may update Kavrin now, download the "
    L"newer version, go to the Halvanworks website or continue without updating.";
} // namespace

TEST_F(UpdateDlgTest, NewerReleaseOffersTheUpdateWithItsMessageHighlighted)
{
    Open(UpdateMode::NewerPublished, kNewerMessage);
    EXPECT_TRUE(Visible(IDC_UPDATE_NOW) && Visible(IDC_DOWNLOAD_ONLY) && Visible(IDC_DOWNLOAD_PROGRESS));
    ExpectHighlighted(
        [](std::wstring_view text) { return UpdateHighlight::ForMessage(UpdateMode::NewerPublished, text); });

    Click(IDC_VIEW_WEBSITE);
    EXPECT_EQ(opened, std::vector<std::wstring>{KAVRIN_TEST_HTTP_ORIGIN});
    EXPECT_EQ(m_dialog->GetResult(), CUpdateDlg::kWebsiteVisited);
}

TEST_F(UpdateDlgTest, NoticeLeavesOnlyTheCloseButton)
{
    Open(UpdateMode::NotObtained, L"Unable to obtain version information from the Halvanworks website for: Kavrin\n"
                                  L"Using: Kavrin " KAVRIN_VERSION_TEXT);
    for (const int id : {IDC_UPDATE_NOW, IDC_DOWNLOAD_ONLY, IDC_VIEW_WEBSITE, IDC_DOWNLOAD_PROGRESS})
        EXPECT_FALSE(Visible(id)) << id;
    EXPECT_EQ(Text(IDCANCEL), L"Close (Esc)");
    ::SendMessageW(m_dialog->GetSafeHwnd(), WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(m_dialog->IsEnded()) << "Enter must not mean \"started the setup program\"";
    Click(IDCANCEL);
    EXPECT_EQ(m_dialog->GetResult(), IDCANCEL);
}

TEST_F(UpdateDlgTest, DownloadOnlySavesTheSetupThenOffersToInstallIt)
{
    const std::string signedSetup = TestSite::Bytes(L"docroot\\SignedSetup.exe");
    TestSite::Publish(L"TestSetup.exe", signedSetup);
    Open(UpdateMode::NewerPublished, kNewerMessage);
    Click(IDC_DOWNLOAD_ONLY);

    ASSERT_TRUE(m_dialog->IsDownloaded());
    EXPECT_EQ(ReadBytes(Saved(L"TestSetup.exe")), signedSetup);
    EXPECT_EQ(Text(IDC_DOWNLOAD_ONLY), L"Open Folder");
    EXPECT_EQ(Text(IDC_UPDATE_NOW), L"Install");
    EXPECT_EQ(Text(IDCANCEL), L"Update Later (Esc)");
    ExpectHighlighted(UpdateHighlight::ForDownloaded);

    Click(IDC_DOWNLOAD_ONLY);
    Click(IDC_UPDATE_NOW);
    EXPECT_EQ(opened, std::vector<std::wstring>{DownloadsFolder() + L"\\Halvanworks"});
    EXPECT_EQ(started, std::vector<std::wstring>{Saved(L"TestSetup.exe")});
    EXPECT_EQ(m_dialog->GetResult(), CUpdateDlg::kSetupStarted);
}

TEST_F(UpdateDlgTest, ShortOrRefusedDownloadsLeaveNothing)
{
    TestSite::Publish(L"ShortSetup.exe", kSetup);
    CReportRecorder recorder;
    std::vector<std::wstring> messages;
    CWindowWatcher messageBox(L"Error", [&](HWND box) {
        messages.push_back(ItemText(box, 0xFFFF));
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    Open(UpdateMode::NewerPublished, kNewerMessage, L"ShortSetup.exe");
    Click(IDC_UPDATE_NOW);
    EXPECT_EQ(messages.size() + recorder.reports.size(), 1u) << "the failure is told once";
    EXPECT_EQ(::GetFileAttributesW(Saved(L"ShortSetup.exe").c_str()), INVALID_FILE_ATTRIBUTES);

    m_environment.sites = TestSite::At(KAVRIN_TEST_UNTRUSTED_ORIGIN);
    Click(IDC_UPDATE_NOW);
    // Windows refuses the authority (12045); Wine refuses it as unverifiable (12057).
    const std::wstring told = recorder.reports.empty() ? L"" : recorder.reports.back();
    EXPECT_TRUE(told == SystemErrorText(ERROR_INTERNET_INVALID_CA, L"wininet.dll") ||
                told == SystemErrorText(ERROR_INTERNET_SEC_CERT_REV_FAILED, L"wininet.dll"))
        << testing::PrintToString(told);
    EXPECT_TRUE(!m_dialog->IsDownloaded() && !m_dialog->IsEnded() && opened.empty());
}

TEST_F(UpdateDlgTest, OnlyTheMakersSignedProgramIsStartedAndTheRestIsDeleted)
{
    m_environment.sites = TestSite::At(KAVRIN_TEST_HTTPS_ORIGIN);
    const struct
    {
        const wchar_t* file;
        const wchar_t* told; // part of the message; none for the setup that starts
        bool dialogEnds;
    } cases[] = {
        {L"RedirectSameSetup.exe", nullptr, true},
        {L"UnsignedSetup.exe", L"no digital signature", true},
        {L"AlteredSetup.exe", L"changed after it was signed", true},
        {L"OtherKeySetup.exe", L"signed by \"Kavrin Test Publisher\" with a key that is not the publisher's", true},
        {L"PageSetup.exe", L"not a program", false},
        {L"HugeSetup.exe", L"larger than any setup program", false},
        {L"RedirectHttpSetup.exe", L"not on the same site", false},
        {L"RedirectPortSetup.exe", L"not on the same site", false},
    };
    for (const auto& [file, told, dialogEnds] : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::wstring(file)));
        started.clear();
        Open(UpdateMode::NewerPublished, kNewerMessage, file);
        const std::wstring message = ToldAfter(IDC_UPDATE_NOW);
        EXPECT_EQ(m_dialog->IsEnded(), dialogEnds);
        if (!told)
        {
            EXPECT_EQ(started, std::vector<std::wstring>{Saved(file)});
            EXPECT_EQ(m_dialog->GetResult(), CUpdateDlg::kSetupStarted);
            ::DeleteFileW(Saved(file).c_str());
            continue;
        }
        EXPECT_NE(message.find(told), std::wstring::npos) << testing::PrintToString(message);
        EXPECT_TRUE(started.empty());
        EXPECT_EQ(::GetFileAttributesW(Saved(file).c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

TEST_F(UpdateDlgTest, InstallChecksAgainWhatDownloadOnlySaved)
{
    m_environment.sites = TestSite::At(KAVRIN_TEST_HTTPS_ORIGIN);
    Open(UpdateMode::NewerPublished, kNewerMessage, L"SignedSetup.exe");
    Click(IDC_DOWNLOAD_ONLY);
    ASSERT_TRUE(m_dialog->IsDownloaded());
    const std::string unsignedSetup = TestSite::Bytes(L"docroot\\UnsignedSetup.exe");
    std::ofstream(std::filesystem::path(Saved(L"SignedSetup.exe")), std::ios::binary | std::ios::trunc) << unsignedSetup;

    EXPECT_NE(ToldAfter(IDC_UPDATE_NOW).find(L"no digital signature"), std::wstring::npos);
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(m_dialog->GetResult(), IDCANCEL);
    EXPECT_EQ(::GetFileAttributesW(Saved(L"SignedSetup.exe").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(UpdateDlgTest, WithoutAPublisherKeyTheSetupIsSavedButNotStarted)
{
    m_environment.sites = TestSite::At(KAVRIN_TEST_HTTPS_ORIGIN);
    m_environment.publisherKeys.clear();
    Open(UpdateMode::NewerPublished, kNewerMessage, L"SignedSetup.exe");
    EXPECT_NE(ToldAfter(IDC_UPDATE_NOW).find(Saved(L"SignedSetup.exe") + L" was downloaded but not started"),
              std::wstring::npos);
    EXPECT_TRUE(started.empty() && !m_dialog->IsEnded() && m_dialog->IsDownloaded());
    EXPECT_EQ(Text(IDC_UPDATE_NOW), L"Install");
    ::DeleteFileW(Saved(L"SignedSetup.exe").c_str());
}

TEST_F(UpdateDlgTest, ADownloadSiteThatNeverAnswersIsGivenUpWithinTwentySeconds)
{
    m_environment.sites = TestSite::At(KAVRIN_TEST_SILENT_ORIGIN);
    CReportRecorder recorder;
    Open(UpdateMode::NewerPublished, kNewerMessage);
    const ULONGLONG begun = ::GetTickCount64();
    Click(IDC_UPDATE_NOW);
    EXPECT_LT(::GetTickCount64() - begun, 20000u);
    EXPECT_EQ(recorder.reports, std::vector<std::wstring>{SystemErrorText(ERROR_INTERNET_TIMEOUT, L"wininet.dll")});
    EXPECT_TRUE(started.empty() && !m_dialog->IsEnded());
}
