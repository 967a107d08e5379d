// The program's entry point and its application object.

#include "app/KavrinApp_win.h"

namespace
{
CKavrinApp theApp;
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    return theApp.Run(instance);
}
