// The reset utility's entry point.

#include "reset/ResetKavrinStartApp_win.h"

namespace
{
CResetKavrinStartApp theApp;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    return theApp.Run(instance);
}
