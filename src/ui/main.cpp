#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <string>

#include "base/log.h"
#include "ui/app.h"

namespace {

// The image named on the command line ("marlune.exe sprite.png", also what
// dropping a file on the program gives); empty when none.
std::wstring startImage() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return {};
    std::wstring image = count > 1 ? arguments[1] : L"";
    if (count > 2) logFormat("%d files given; only the first is opened\n", count - 1);
    LocalFree(arguments);
    return image;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The show command comes from the start-up information.
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const int showCommand =
        (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
    return run(instance, showCommand, startImage());
}
