#pragma once
// The program's command line: one command, "/next" or "-next", in any case.
#include "base/ProgramCommand.h"

#include <optional>
#include <string>
#include <vector>

struct TCommandLine {
    // The command to carry out; none when no argument was given.
    std::optional<TProgramCommand> Command;
    // Not empty when the arguments are wrong: show it and carry nothing out.
    std::wstring Error;
};

// The arguments after the program's name. A start carries one command, so
// more than one argument is refused: what runs never depends on an order.
TCommandLine ParseCommandLine(const std::vector<std::wstring>& arguments);

// The argument that asks for a command: L"/next".
std::wstring CommandArgument(TProgramCommand command);

// This process's arguments after the program's name, split by the system's
// rules for quotes and blanks.
std::vector<std::wstring> ProcessArguments();
