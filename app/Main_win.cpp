// The program's entry point and its process-wide objects.

#include "app/KavrinApp_win.h"
#include "framework/ProcessGlobals_win.h"

namespace
{
CKavrinApp theApp;
// Created right after the application object.
[[maybe_unused]] CProcessGlobals& theGlobals = ProcessGlobals();
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    return theApp.Run(instance);
}
