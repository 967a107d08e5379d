#include "update/SetupStart_win.h"

#include "framework/Exceptions_win.h"
#include "framework/Handles_win.h"
#include "framework/MessageBox_win.h"
#include "update/SetupSignature_win.h"
#include "update/TextFormat.h"

namespace
{
// Others may read it (and so run it), but neither write, rename nor delete
// it while it is held. A link put in its place is opened as the link.
CUniqueFile OpenHeld(const std::wstring& path)
{
    return CUniqueFile(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

std::wstring ReasonOf(const SignatureCheck& check)
{
    switch (check.verdict)
    {
    case SignatureVerdict::Unsigned:
        return L"it carries no digital signature";
    case SignatureVerdict::Altered:
        return L"it was changed after it was signed";
    case SignatureVerdict::OtherPublisher:
        return FillFormat(L"it is signed by \"%s\" with a key that is not the publisher's", {check.signer});
    default:
        return FillFormat(L"its signature was not accepted (%s)",
                          {SystemErrorText(static_cast<DWORD>(check.status))});
    }
}

void TellNotChecked(const std::wstring& path)
{
    AfxMessageBox(FillFormat(L"%s was downloaded but not started: this copy of the program has no publisher key to "
                             L"check its digital signature with. Check the signature of the file before you run it.",
                             {path}),
                  MB_OK | MB_ICONEXCLAMATION);
}
} // namespace

SetupStart StartCheckedSetup(HWND owner, const std::wstring& path, const UpdateEnvironment& environment)
{
    if (environment.publisherKeys.empty())
    {
        TellNotChecked(path);
        return SetupStart::NotChecked;
    }
    CUniqueFile held = OpenHeld(path);
    if (!held)
    {
        AfxMessageBox(FillFormat(L"Unable to start %s: %s", {path, SystemErrorText(::GetLastError())}),
                      MB_OK | MB_ICONEXCLAMATION);
        return SetupStart::NotStarted;
    }
    const SignatureCheck check = CheckSetupSignature(held.Get(), path, environment.publisherKeys);
    if (check.verdict != SignatureVerdict::Trusted)
    {
        held.Reset();
        ::DeleteFileW(path.c_str());
        AfxMessageBox(FillFormat(L"%s was not started, and was deleted: %s.", {path, ReasonOf(check)}),
                      MB_OK | MB_ICONSTOP);
        return SetupStart::Refused;
    }
    if (environment.start(owner, path))
        return SetupStart::Started;
    AfxMessageBox(FillFormat(L"Unable to start %s.", {path}), MB_OK | MB_ICONEXCLAMATION);
    return SetupStart::NotStarted;
}
