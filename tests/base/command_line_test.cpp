// The command line: which arguments run which command, and which are refused
// with the message that lists the commands.
#include "base/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, RunsOneKnownCommandAndRefusesAnythingElse) {
    using C = TProgramCommand;
    const struct {
        const wchar_t* Argument;
        std::optional<C> Command;
    } cases[] = {{L"/next", C::Next},
                 {L"/prev", C::Previous},
                 {L"/random", C::Random},
                 {L"/clear", C::Clear},
                 {L"/pause", C::Pause},
                 {L"/resume", C::Resume},
                 {L"/show", C::Show},
                 {L"/exit", C::Exit},
                 {L"-next", C::Next},
                 {L"/NEXT", C::Next},
                 {L"-ReSuMe", C::Resume},
                 {L"next", {}},
                 {L"/", {}},
                 {L"-", {}},
                 {L"", {}},
                 {L"//next", {}},
                 {L"/next ", {}},
                 {L"/previous", {}},
                 {L"/?", {}},
                 {L"/ｎｅｘｔ", {}}};
    for (const auto& c : cases) {
        const TCommandLine line = ParseCommandLine({c.Argument});
        EXPECT_EQ(line.Command, c.Command) << testing::PrintToString(std::wstring(c.Argument));
        EXPECT_EQ(line.Error.empty(), c.Command.has_value())
            << testing::PrintToString(std::wstring(c.Argument));
    }
    const TCommandLine none = ParseCommandLine({});
    EXPECT_TRUE(!none.Command && none.Error.empty());
    const TCommandLine two = ParseCommandLine({L"/next", L"/next"});
    EXPECT_TRUE(!two.Command && two.Error.starts_with(L"コマンドライン引数は１つだけ指定できます。"));
}

TEST(CommandLine, TheRefusalNamesTheArgumentShortAndListsEveryCommand) {
    const std::wstring message = ParseCommandLine({L"/x\r\n" + std::wstring(500, L'a')}).Error;
    EXPECT_TRUE(
        message.starts_with(L"「/x??" + std::wstring(36, L'a') + L"…」は使えないコマンドライン引数です。"))
        << message;
    for (auto command : {TProgramCommand::Next, TProgramCommand::Previous, TProgramCommand::Exit})
        EXPECT_NE(message.find(L"\n" + CommandArgument(command) + L"　" + CommandLabel(command)),
                  std::wstring::npos);
}
