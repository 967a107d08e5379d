#include "mainwnd/DataFolder_win.h"

#include "framework/MessageBox_win.h"

#include <shlobj.h>

std::wstring CreateDataFolder()
{
    // The folder's default place, even where the user has moved Documents.
    wchar_t documents[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_DEFAULT, documents)))
    {
        AfxMessageBox(L"The user's \"Documents\" folder could not be accessed.", MB_OK);
        return {};
    }
    const std::wstring folder = std::wstring(documents) + L"\\Halvanworks\\Kavrin";
    const int result = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_EXISTS && result != ERROR_ALREADY_EXISTS)
    {
        AfxMessageBox(L"Unable to create the data folder.", MB_OK);
        return {};
    }
    return folder;
}
