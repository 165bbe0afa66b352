#pragma once
// A command handed from a second start of the program to the running one:
// one WM_COPYDATA to the running program's command window, in one format
// that the receiver checks in every detail before it trusts it.
#include "base/ProgramCommand.h"

#include <windows.h>

#include <cstdint>
#include <optional>

// The class of the hidden window that receives the commands (TCommandWindow).
inline constexpr wchar_t kCommandWindowClass[] = L"Tapestra32Commands";

// dwData of the program's WM_COPYDATA: "TP32". 32 bits, so a 64-bit sender
// and a 32-bit receiver agree on it.
inline constexpr ULONG_PTR kCommandDataMagic = 0x54503332;
inline constexpr std::uint32_t kCommandDataVersion = 1;

// The data of the copy: fixed size, the same in 32 and 64 bits.
struct TCommandData {
    std::uint32_t Version;
    std::uint32_t Command;
};
static_assert(sizeof(TCommandData) == 8);

// The command of a WM_COPYDATA, or nothing unless the magic, the size, the
// version and the command are all this program's.
std::optional<TProgramCommand> CommandFromCopyData(const COPYDATASTRUCT* copy);

enum class THandOver {
    Delivered,
    NoWindow, // no command window appeared in the time given
    Refused,  // the window answered that it did not take the data
    NoAnswer, // the receiver is hung or ended while it was asked
};

// Sends a command to a command window; a receiver that does not answer holds
// the sender for timeoutMs at most. The receiver may bring its window to the
// front afterwards (a second start holds that right and passes it on).
THandOver SendCommand(HWND receiver, TProgramCommand command, UINT timeoutMs);

// The command window of the program running on this desktop, or null.
HWND FindCommandWindow();

// Hands a command to the running program: waits up to waitMs for its
// command window (the one holding the mutex may still be starting up), then
// sends the command with the same time limit.
THandOver HandOverCommand(TProgramCommand command, DWORD waitMs);
