#include "mainwnd/LogonTask_win.h"

#include "framework/Bstr_win.h"
#include "framework/Exceptions_win.h"
#include "framework/Handles_win.h"
#include "mainwnd/LogonTask.h"
#include "mainwnd/StartupShortcut_win.h"

#include <objbase.h>
#include <taskschd.h>

#include <cwchar>
#include <iterator>
#include <vector>

namespace
{
// An argument left out: an empty variant.
VARIANT None() noexcept
{
    VARIANT none;
    ::VariantInit(&none);
    return none;
}

bool IsMissing(HRESULT result) noexcept
{
    return result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || result == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

HRESULT Connect(CComPtr<ITaskService>& service)
{
    const HRESULT result = ::CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                              __uuidof(ITaskService), service.PutVoid());
    if (FAILED(result))
        return result;
    return service->Connect(None(), None(), None(), None());
}

HRESULT OpenFolder(const wchar_t* path, CComPtr<ITaskService>& service, CComPtr<ITaskFolder>& folder)
{
    const HRESULT result = Connect(service);
    return FAILED(result) ? result : service->GetFolder(CBstr(path).Get(), folder.Put());
}

// The publisher's folder, made when it is missing.
HRESULT OpenOrCreateFolder(CComPtr<ITaskFolder>& folder)
{
    CComPtr<ITaskService> service;
    HRESULT result = OpenFolder(LogonTask::kFolderPath, service, folder);
    if (!IsMissing(result))
        return result;
    CComPtr<ITaskFolder> root;
    result = service->GetFolder(CBstr(L"\\").Get(), root.Put());
    if (FAILED(result))
        return result;
    return root->CreateFolder(CBstr(LogonTask::kFolderName).Get(), None(), folder.Put());
}

// DOMAIN\user of this process's token: whom the logon trigger waits for.
std::wstring CurrentUserId()
{
    CUniqueKernelHandle token;
    DWORD size = 0;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Put()))
        return {};
    ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !::GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size))
        return {};
    const PSID sid = reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid;
    wchar_t name[256] = {}, domain[256] = {};
    DWORD nameLength = 256, domainLength = 256;
    SID_NAME_USE use{};
    if (!::LookupAccountSidW(nullptr, sid, name, &nameLength, domain, &domainLength, &use))
        return {};
    return std::wstring(domain) + L"\\" + name;
}
} // namespace

HRESULT RegisterLogonTask()
{
    const std::wstring program = InstalledProgramPath();
    const std::wstring user = CurrentUserId();
    if (program.empty())
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    if (user.empty())
        return HRESULT_FROM_WIN32(ERROR_NONE_MAPPED);
    CComPtr<ITaskFolder> folder;
    HRESULT result = OpenOrCreateFolder(folder);
    if (FAILED(result))
        return result;
    CComPtr<IRegisteredTask> task;
    return folder->RegisterTask(CBstr(LogonTask::kTaskName).Get(), CBstr(LogonTask::Definition(user, program)).Get(),
                                TASK_CREATE_OR_UPDATE, None(), None(), TASK_LOGON_INTERACTIVE_TOKEN, None(),
                                task.Put());
}

// The publisher's folder goes too once it is empty; while it still holds
// another task, deleting it fails, which is as it should be.
HRESULT RemoveLogonTask()
{
    CComPtr<ITaskService> service;
    CComPtr<ITaskFolder> folder;
    HRESULT result = OpenFolder(LogonTask::kFolderPath, service, folder);
    if (SUCCEEDED(result))
        result = folder->DeleteTask(CBstr(LogonTask::kTaskName).Get(), 0);
    if (IsMissing(result))
        return S_OK;
    CComPtr<ITaskFolder> root;
    if (SUCCEEDED(result) && SUCCEEDED(service->GetFolder(CBstr(L"\\").Get(), root.Put())))
        root->DeleteFolder(CBstr(LogonTask::kFolderName).Get(), 0);
    return result;
}

std::optional<std::wstring> ReadLogonTask()
{
    CComPtr<ITaskService> service;
    CComPtr<ITaskFolder> folder;
    CComPtr<IRegisteredTask> task;
    CBstr xml;
    if (FAILED(OpenFolder(LogonTask::kFolderPath, service, folder)) ||
        FAILED(folder->GetTask(CBstr(LogonTask::kTaskName).Get(), task.Put())) || FAILED(task->get_Xml(xml.Put())))
        return std::nullopt;
    return xml.Text();
}

std::wstring LogonTaskErrorText(HRESULT result)
{
    const std::wstring text = SystemMessageText(static_cast<DWORD>(result));
    if (!text.empty())
        return text;
    wchar_t code[32] = {};
    std::swprintf(code, std::size(code), L"Error 0x%08lX.", static_cast<unsigned long>(result));
    return code;
}
