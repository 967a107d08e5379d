#include "framework/ProcessGlobals_win.h"

CProcessGlobals::CProcessGlobals()
    : uTaskbarCreatedMessage(::RegisterWindowMessageW(L"TaskbarCreated")),
      hUxTheme(::LoadLibraryW(L"UxTheme.dll"))
{
}

CProcessGlobals& ProcessGlobals()
{
    static CProcessGlobals globals;
    return globals;
}
