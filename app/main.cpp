// Program entry: one instance at a time, the application and its windows,
// the message loop.
#include "app/TTapestraMain.h"
#include "framework/Handle.h"
#include "framework/StepTrace.h"
#include "framework/TApplication.h"

#include <memory>

namespace {
const wchar_t kMutexName[] = L"Brannock_Vintrel";
const wchar_t kTitle[] = L"Vintrel Ver 3.20 For Windows98";
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Plug-ins are found in the program's folder, never in the current one.
    SetDllDirectoryW(L"");
    StepTrace trace(L"program", true);

    if (UniqueKernelHandle running{OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kMutexName)}) return 0;
    UniqueKernelHandle mutex{CreateMutexW(nullptr, FALSE, kMutexName)};
    // Created by another start in the same instant: that one runs.
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    trace.Step(L"mutex");
    TApplication application;
    trace.Step(L"application");
    trace.Finish();
    application.SetTitle(kTitle);
    auto owner = std::make_unique<TComponent>(nullptr);
    Guarded([&] { owner->Own<TTapestraMain>(); });
    if (!application.MainForm()) return 0;
    application.ShowMainForm = false;
    application.Run();
    owner.reset();
    // The mutex was created unowned: there is nothing to release, and the
    // handle is closed on the way out.
    return 0;
}
