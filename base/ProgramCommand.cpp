#include "base/ProgramCommand.h"

std::optional<TProgramCommand> CommandFromNumber(std::uint32_t number) {
    if (number < static_cast<std::uint32_t>(TProgramCommand::Next) ||
        number > static_cast<std::uint32_t>(TProgramCommand::Exit))
        return std::nullopt;
    return static_cast<TProgramCommand>(number);
}

std::wstring CommandLabel(TProgramCommand command) {
    switch (command) {
    case TProgramCommand::Next:
        return L"次のファイル";
    case TProgramCommand::Previous:
        return L"１つ前のファイル";
    case TProgramCommand::Random:
        return L"ランダム変更";
    case TProgramCommand::Clear:
        return L"壁紙の消去";
    case TProgramCommand::Pause:
        return L"一時停止";
    case TProgramCommand::Resume:
        return L"一時停止の解除";
    case TProgramCommand::Show:
        return L"ウィンドウの表示";
    case TProgramCommand::Exit:
        return L"終了";
    }
    return {};
}
