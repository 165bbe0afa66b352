// Starts Tapestra32.exe from a folder, as a user would, and says whether it
// came up:
//   start_check FOLDER started   its main window appears (it is ended again)
//   start_check FOLDER refused   Windows does not run it: no window, a failure code
#include "support/ProgramDriver.h"

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: start_check FOLDER started|refused\n", stderr);
        return 2;
    }
    std::wstring folder = argv[1];
    if (folder.back() != L'\\') folder += L'\\';
    const bool wantStarted = std::wstring(argv[2]) == L"started";
    ProgramDriver::EndStrayPrograms();
    ProgramDriver program;
    if (!program.Start(folder)) {
        std::printf("the program was not started (error %lu)\n", GetLastError());
        return wantStarted ? 1 : 0;
    }
    HWND main = program.WaitForMainWindow(false, 20000);
    if (main) {
        std::puts("the program started: its main window is there");
        return wantStarted ? 0 : 1;
    }
    DWORD code = program.WaitForExit(20000);
    std::printf("no main window; exit code 0x%08lX\n", code);
    return !wantStarted && code != 0 && code != STILL_ACTIVE ? 0 : 1;
}
