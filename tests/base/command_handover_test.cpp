// The check of a handed-over command: only the program's own format counts.
#include "base/CommandHandover.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(CommandHandover, TakesOnlyTheProgramsOwnFormat) {
    constexpr ULONG_PTR M = kCommandDataMagic;
    constexpr std::uint32_t V = kCommandDataVersion;
    const struct {
        const char* What;
        ULONG_PTR Magic;
        DWORD Size;
        bool Data;
        std::uint32_t Version, Command;
        std::optional<TProgramCommand> Expected;
    } cases[] = {{"next", M, 8, true, V, 1, TProgramCommand::Next},
                 {"exit", M, 8, true, V, 8, TProgramCommand::Exit},
                 {"null data", M, 8, false, V, 1, {}},
                 {"no bytes", M, 0, true, V, 1, {}},
                 {"short", M, 7, true, V, 1, {}},
                 {"long", M, 9, true, V, 1, {}},
                 {"huge", M, 0xFFFFFFFF, true, V, 1, {}},
                 {"no magic", 0, 8, true, V, 1, {}},
                 {"other magic", M + 1, 8, true, V, 1, {}},
                 {"version 0", M, 8, true, 0, 1, {}},
                 {"version 2", M, 8, true, V + 1, 1, {}},
                 {"command 0", M, 8, true, V, 0, {}},
                 {"command 9", M, 8, true, V, 9, {}},
                 {"command -1", M, 8, true, V, 0xFFFFFFFF, {}}};
    for (const auto& c : cases) {
        // At an odd address: the sender's bytes need not be aligned.
        unsigned char bytes[1 + sizeof(TCommandData)] = {};
        const TCommandData data{c.Version, c.Command};
        std::memcpy(bytes + 1, &data, sizeof data);
        const COPYDATASTRUCT copy{c.Magic, c.Size, c.Data ? bytes + 1 : nullptr};
        EXPECT_EQ(CommandFromCopyData(&copy), c.Expected) << c.What;
    }
    EXPECT_EQ(CommandFromCopyData(nullptr), std::nullopt);
}
