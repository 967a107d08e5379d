#include "update/UpdateCheck_win.h"

#include "update/UpdateDlg_win.h"
#include "framework/LocalTime_win.h"
#include "framework/MessageBox_win.h"
#include "update/FileVersionInfo_win.h"
#include "update/InternetSession_win.h"
#include "update/ModulePath.h"
#include "update/UpdateCheck.h"
#include "update/VersionFile.h"

#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <ctime>

namespace
{
// Enough to tell a version file from anything larger.
constexpr std::size_t kReadLimit = 128;

UpdateCheck::Answer FetchVersionFile(const std::wstring& url)
{
    const CInternetSession session;
    const CInternetFile file = session.OpenUrl(url, INTERNET_FLAG_TRANSFER_ASCII);
    UpdateCheck::Answer answer;
    if (!file.GetRefusedRedirect().empty())
        AfxMessageBox(RefusedRedirectText(url, file.GetRefusedRedirect()), MB_OK | MB_ICONEXCLAMATION);
    if (file.IsErrorAnswer())
    {
        answer.obtained = false;
        return answer;
    }
    const std::optional<std::uint64_t> length = file.GetLength();
    if (length && (*length == 0 || *length > VersionFile::kMaxBytes))
    {
        answer.size = static_cast<std::size_t>(std::min<std::uint64_t>(*length, kReadLimit));
        return answer;
    }
    std::string bytes = file.ReadAtMost(kReadLimit);
    answer.size = length ? static_cast<std::size_t>(*length) : bytes.size();
    bytes.resize(std::strlen(bytes.c_str()));
    if (!bytes.empty())
    {
        const int count = static_cast<int>(bytes.size());
        answer.text.resize(bytes.size());
        answer.text.resize(static_cast<std::size_t>(
            ::MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.data(), count, answer.text.data(), count)));
    }
    return answer;
}

std::wstring LocalLongDate(std::uint32_t created)
{
    const std::optional<std::tm> local = ToLocalTime(created);
    return local ? UpdateCheck::LongDate(*local) : std::wstring();
}
} // namespace

UpdateOutcome CheckForNewerVersion(HWND owner, const UpdateCheck::Request& request,
                                   const UpdateEnvironment& environment)
{
    const std::wstring modulePath = RunningModulePath();
    CFileVersionInfo info;
    info.ReadFromFile(modulePath);
    const UpdateCheck::RunningProgram running{info.GetFileVersion(), info.GetProductName(),
                                              info.GetFileDescription()};

    const std::optional<PathParts> module = SplitPath(modulePath);
    if (!module)
        AfxMessageBox(L"Error reading file name", MB_OK);
    const std::wstring baseName = UpdateCheck::VersionBaseName(request.programName, module ? module->name : L"");
    const UpdateCheck::Answer answer = FetchVersionFile(SiteAddress::VersionFile(environment.sites, baseName));

    UpdateOutcome outcome = UpdateOutcome::Nothing;
    for (const UpdateCheck::DialogStep& step : UpdateCheck::Plan(answer, running, request, LocalLongDate))
    {
        CUpdateDlg dialog({step.mode, step.message, running.productName, UpdateCheck::SetupFileName(request.programName)},
                          environment);
        const INT_PTR result = dialog.DoModal(owner);
        if (result == CUpdateDlg::kSetupStarted)
            return UpdateOutcome::SetupStarted;
        const bool reportedCurrent = step.mode == UpdateMode::Same || step.mode == UpdateMode::RunningNewer;
        if (result == CUpdateDlg::kWebsiteVisited && reportedCurrent)
            outcome = UpdateOutcome::ProductPageWanted;
    }
    return outcome;
}

void OpenProductPage(HWND owner, const UpdateEnvironment& environment)
{
    environment.open(owner, SiteAddress::ProductPage(environment.sites));
}
