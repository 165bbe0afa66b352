#pragma once
// The modal UI for tests: records every text shown and answers from a script.
#include "framework/DefaultModalUI.h"
#include "framework/ModalUI.h"
#include "framework/TApplication.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class ScriptedModalUI : public IModalUI {
  public:
    void ShowMessage(const std::wstring& text) override {
        Messages.push_back(text);
        if (OnShown) OnShown();
    }
    void ShowError(const std::wstring& text) override {
        Errors.push_back(text);
        Owners.push_back(ModalOwner());
        if (OnShown) OnShown();
    }
    int MessageDlg(const std::wstring& text, TMsgDlgType, unsigned) override {
        Dialogs.push_back(text);
        return Next(DialogAnswers, static_cast<int>(mrCancel));
    }
    bool InputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& value) override {
        Inputs.push_back(caption + L"|" + prompt + L"|" + value);
        if (InputAnswers.empty()) return false;
        auto answer = InputAnswers.front();
        InputAnswers.pop_front();
        if (!answer.first) return false;
        value = answer.second;
        return true;
    }
    std::vector<std::wstring> OpenFiles(const TOpenDialogOptions& options) override {
        OpenDialogs.push_back(options);
        Owners.push_back(ModalOwner());
        if (FileAnswers.empty()) return {};
        auto files = FileAnswers.front();
        FileAnswers.pop_front();
        return files;
    }

    // Runs while a message or an error box is up, as its modal loop would.
    std::function<void()> OnShown;

    std::vector<std::wstring> Messages, Errors, Dialogs, Inputs;
    std::vector<TOpenDialogOptions> OpenDialogs;
    // The window each error box and file dialog would have been owned by.
    std::vector<HWND> Owners;
    std::deque<int> DialogAnswers;
    std::deque<std::pair<bool, std::wstring>> InputAnswers;
    std::deque<std::vector<std::wstring>> FileAnswers;

  private:
    template <typename T> static T Next(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

// Puts a scripted modal UI in place of the application's; returns it.
inline ScriptedModalUI* InstallScriptedModalUI(TApplication& app) {
    auto ui = std::make_unique<ScriptedModalUI>();
    ScriptedModalUI* installed = ui.get();
    app.SetModalUI(std::move(ui));
    return installed;
}
