// The hand-over between two starts: a command sent from another thread (as
// from a second process) runs once the sender has its answer; foreign data
// runs nothing; a receiver that does not answer holds the sender only for the
// time it was given.
#include "base/CommandHandover.h"
#include "support/ScriptedModalUI.h"
#include "support/WaitUntil.h"
#include "widgets/TCommandWindow.h"

#include <gtest/gtest.h>

#include <future>

namespace {
class CommandWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallScriptedModalUI(app);
        receiver->OnCommand = [this](TProgramCommand command) {
            received.push_back(command);
            EXPECT_FALSE(InSendMessage()) << "run inside the sender's call";
        };
    }

    TApplication app;
    std::unique_ptr<TComponent> owner = std::make_unique<TComponent>(nullptr);
    TCommandWindow* receiver = &owner->Own<TCommandWindow>();
    std::vector<TProgramCommand> received;
};
} // namespace

TEST_F(CommandWindowTest, OnlyTheProgramsOwnDataRunsACommand) {
    auto sender = std::async(std::launch::async, [] {
        HWND wnd = FindCommandWindow();
        TCommandData data{kCommandDataVersion, static_cast<std::uint32_t>(TProgramCommand::Exit)};
        COPYDATASTRUCT foreign{kCommandDataMagic + 1, sizeof data, &data};
        DWORD_PTR answer = 1;
        SendMessageTimeoutW(wnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&foreign), SMTO_NORMAL, 5000,
                            &answer);
        // Someone else's use of the message the window posts to itself.
        PostMessageW(wnd, WM_APP + 1, static_cast<WPARAM>(TProgramCommand::Exit), 0);
        return std::make_pair(answer, HandOverCommand(TProgramCommand::Next, 5000));
    });
    EXPECT_TRUE(WaitUntil([&] {
        app.ProcessMessages();
        return !received.empty();
    }));
    EXPECT_EQ(sender.get(), std::make_pair(DWORD_PTR{0}, THandOver::Delivered));
    app.ProcessMessages();
    EXPECT_EQ(received, std::vector<TProgramCommand>{TProgramCommand::Next});
}

TEST_F(CommandWindowTest, AReceiverThatDoesNotAnswerHoldsTheSenderOnlyForItsTime) {
    // This thread does not take messages until the sender has given up.
    HWND wnd = receiver->Handle();
    EXPECT_EQ(
        std::async(std::launch::async, [wnd] { return SendCommand(wnd, TProgramCommand::Next, 300); }).get(),
        THandOver::NoAnswer);
    owner.reset();
    app.ProcessMessages();
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(HandOverCommand(TProgramCommand::Next, 200), THandOver::NoWindow);
}
