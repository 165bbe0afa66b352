#include "base/CommandHandover.h"

#include <cstring>

namespace {
// How often a second start looks for the command window while it waits.
constexpr DWORD kLookInterval = 50;
} // namespace

std::optional<TProgramCommand> CommandFromCopyData(const COPYDATASTRUCT* copy) {
    if (!copy || copy->dwData != kCommandDataMagic || copy->cbData != sizeof(TCommandData) || !copy->lpData)
        return std::nullopt;
    // The sender's bytes, copied: they need not be aligned.
    TCommandData data;
    std::memcpy(&data, copy->lpData, sizeof data);
    if (data.Version != kCommandDataVersion) return std::nullopt;
    return CommandFromNumber(data.Command);
}

THandOver SendCommand(HWND receiver, TProgramCommand command, UINT timeoutMs) {
    TCommandData data{kCommandDataVersion, static_cast<std::uint32_t>(command)};
    COPYDATASTRUCT copy{kCommandDataMagic, sizeof data, &data};
    DWORD process = 0;
    GetWindowThreadProcessId(receiver, &process);
    AllowSetForegroundWindow(process);
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy),
                             SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT, timeoutMs, &answer))
        return THandOver::NoAnswer;
    return answer ? THandOver::Delivered : THandOver::Refused;
}

HWND FindCommandWindow() {
    return FindWindowW(kCommandWindowClass, nullptr);
}

THandOver HandOverCommand(TProgramCommand command, DWORD waitMs) {
    const ULONGLONG end = GetTickCount64() + waitMs;
    HWND receiver = FindCommandWindow();
    while (!receiver && GetTickCount64() < end) {
        Sleep(kLookInterval);
        receiver = FindCommandWindow();
    }
    return receiver ? SendCommand(receiver, command, waitMs) : THandOver::NoWindow;
}
