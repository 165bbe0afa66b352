#pragma once
// The commands that reach the program from outside its window: the command
// line, a second start and the global hotkeys. The numbers travel between
// processes (CommandHandover.h) and stand in the settings: never renumber.
#include <cstdint>
#include <optional>
#include <string>

enum class TProgramCommand : std::uint32_t {
    Next = 1,
    Previous = 2,
    Random = 3,
    Clear = 4,
    Pause = 5,
    Resume = 6,
    Show = 7,
    Exit = 8,
};

// The command of a number, or nothing for a number that names none.
std::optional<TProgramCommand> CommandFromNumber(std::uint32_t number);

// What a message calls the command: "次のファイル".
std::wstring CommandLabel(TProgramCommand command);
