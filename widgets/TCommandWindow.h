#pragma once
// The hidden window at which a second start of the program hands over its
// command (CommandHandover.h). Only data in the program's own format is
// taken; the command runs after the sender has its answer, so a message box
// or a long change never holds the second process.
#include "base/ProgramCommand.h"
#include "framework/TWinControl.h"

#include <deque>
#include <functional>

class TCommandWindow : public TWinControl {
  public:
    explicit TCommandWindow(TComponent* owner);

    // A command handed over, raised from the window's own message queue.
    std::function<void(TProgramCommand)> OnCommand;

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void RunWaiting();

    // Taken, not yet run: only a checked copy puts a command here.
    std::deque<TProgramCommand> waiting_;
};
