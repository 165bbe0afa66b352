// Program entry: the command line, one instance at a time, the application
// and its windows, the message loop.
#include "app/TTapestraMain.h"
#include "base/CommandHandover.h"
#include "base/CommandLine.h"
#include "framework/Handle.h"
#include "framework/StepTrace.h"
#include "framework/TApplication.h"

#include <memory>

namespace {
const wchar_t kMutexName[] = L"Brannock_Vintrel";
const wchar_t kTitle[] = L"Vintrel Ver 3.20 For Windows98";
// How long a second start waits for the running program to take a command.
const DWORD kHandOverWait = 5000;
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Plug-ins are found in the program's folder, never in the current one.
    SetDllDirectoryW(L"");
    StepTrace trace(L"program", true);

    const TCommandLine commandLine = ParseCommandLine(ProcessArguments());
    if (!commandLine.Error.empty()) {
        TApplication application;
        application.SetTitle(kTitle);
        application.ModalUI().ShowMessage(commandLine.Error);
        return 1;
    }

    // Another start runs: it takes the command, if there is one; this one
    // ends at once, showing nothing.
    auto runningElsewhere = [&] {
        if (commandLine.Command) HandOverCommand(*commandLine.Command, kHandOverWait);
        return 0;
    };
    if (UniqueKernelHandle running{OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kMutexName)}) return runningElsewhere();
    UniqueKernelHandle mutex{CreateMutexW(nullptr, FALSE, kMutexName)};
    // Created by another start in the same instant: that one runs.
    if (GetLastError() == ERROR_ALREADY_EXISTS) return runningElsewhere();

    trace.Step(L"mutex");
    TApplication application;
    trace.Step(L"application");
    trace.Finish();
    application.SetTitle(kTitle);
    auto owner = std::make_unique<TComponent>(nullptr);
    TTapestraMain* main = nullptr;
    Guarded([&] { main = &owner->Own<TTapestraMain>(); });
    if (!application.MainForm()) return 0;
    // The command line's command runs in the loop; ending what just started
    // is no command.
    if (main && commandLine.Command && *commandLine.Command != TProgramCommand::Exit)
        main->RunCommandLater(*commandLine.Command);
    application.ShowMainForm = false;
    application.Run();
    owner.reset();
    // The mutex was created unowned: there is nothing to release, and the
    // handle is closed on the way out.
    return 0;
}
