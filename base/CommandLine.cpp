#include "base/CommandLine.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>

namespace {
struct CommandName {
    const wchar_t* Name;
    TProgramCommand Command;
};

// In the order the message lists them.
const CommandName kNames[] = {
    {L"next", TProgramCommand::Next},     {L"prev", TProgramCommand::Previous},
    {L"random", TProgramCommand::Random}, {L"clear", TProgramCommand::Clear},
    {L"pause", TProgramCommand::Pause},   {L"resume", TProgramCommand::Resume},
    {L"show", TProgramCommand::Show},     {L"exit", TProgramCommand::Exit},
};

// A pasted path or a script's garbage must not make the message unreadable.
constexpr size_t kShownArgumentLength = 40;

std::wstring AsciiLower(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

std::optional<TProgramCommand> CommandOf(const std::wstring& argument) {
    if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) return std::nullopt;
    const std::wstring name = AsciiLower(argument.substr(1));
    for (const CommandName& entry : kNames)
        if (name == entry.Name) return entry.Command;
    return std::nullopt;
}

std::wstring Shown(const std::wstring& argument) {
    std::wstring text = argument.substr(0, kShownArgumentLength);
    for (wchar_t& c : text)
        if (c < L' ') c = L'?';
    if (argument.size() > kShownArgumentLength) text += L"…";
    return text;
}

std::wstring Refusal(const std::wstring& reason) {
    std::wstring text =
        reason + L"\n\n使えるコマンドは次のとおりです（「/」の代わりに「-」でもかまいません）。\n";
    for (const CommandName& entry : kNames)
        text += L"\n/" + std::wstring(entry.Name) + L"　" + CommandLabel(entry.Command);
    return text;
}
} // namespace

TCommandLine ParseCommandLine(const std::vector<std::wstring>& arguments) {
    if (arguments.empty()) return {};
    if (arguments.size() > 1) return {std::nullopt, Refusal(L"コマンドライン引数は１つだけ指定できます。")};
    if (std::optional<TProgramCommand> command = CommandOf(arguments.front())) return {command, {}};
    return {std::nullopt,
            Refusal(L"「" + Shown(arguments.front()) + L"」は使えないコマンドライン引数です。")};
}

std::wstring CommandArgument(TProgramCommand command) {
    for (const CommandName& entry : kNames)
        if (entry.Command == command) return L"/" + std::wstring(entry.Name);
    return {};
}

std::vector<std::wstring> ProcessArguments() {
    int count = 0;
    std::unique_ptr<LPWSTR, decltype(&LocalFree)> words(CommandLineToArgvW(GetCommandLineW(), &count),
                                                        &LocalFree);
    std::vector<std::wstring> arguments;
    for (int i = 1; words && i < count; ++i)
        arguments.emplace_back(words.get()[i]);
    return arguments;
}
