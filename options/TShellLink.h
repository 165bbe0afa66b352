#pragma once
// Writes a shell shortcut (".lnk") to a program into one of the shell's
// special folders. Needs COM on the calling thread (the program initialises
// it for its main thread for its whole life).
#include "framework/Exception.h"
#include "framework/TComponent.h"

#include <string>

class EShellLinkError : public Exception {
    using Exception::Exception;
};

// The shell's special folders; each value is the shell's folder number.
enum class TShellLinkType : int {
    lnkDesktop = 0,
    lnkReserved1,
    lnkPrograms,
    lnkControls,
    lnkPrinters,
    lnkPersonal,
    lnkFavorites,
    lnkStartup,
    lnkRecent,
    lnkSendTo,
    lnkBitBucket,
    lnkStartMenu,
    lnkReserved2,
    lnkReserved3,
    lnkReserved4,
    lnkReserved5,
    lnkDesktopDirectory,
    lnkDrives,
    lnkNetwork,
    lnkNetHood,
    lnkFonts,
    lnkTemplates,
    lnkCommonStartMenu,
    lnkCommonPrograms,
    lnkCommonStartup,
    lnkCommonDesktopDirectory,
    lnkAppData,
    lnkPrintHood,
};

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

class TShellLink : public TComponent {
  public:
    // Modifier flags of HotKey, above the virtual key in its low byte.
    static constexpr unsigned short scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;

    explicit TShellLink(TComponent* owner) : TComponent(owner) {}

    std::wstring Arguments;
    std::wstring Description;
    unsigned short HotKey = 0;
    TShellLinkType LinkType = TShellLinkType::lnkDesktop;
    TWindowState WindowState = TWindowState::wsNormal;
    std::wstring WorkDir;

    const std::wstring& FileName() const { return fileName_; }
    // Also fills an empty Description (the file's name without extension)
    // and an empty WorkDir (the file's folder).
    void SetFileName(const std::wstring& fileName);

    // Writes the shortcut, replacing one of the same name; raises
    // EShellLinkError when the folder cannot be found, the path is too long
    // or the file cannot be saved.
    void CreateLink();
    // Where CreateLink writes: the folder, "\" and the file's name with ".lnk".
    std::wstring LinkPath() const;

    // The shell's hot-key word of HotKey: virtual key low, modifiers high.
    static unsigned short ShellHotKey(unsigned short hotKey);
    // The folder of a path, keeping the separator only after a drive letter.
    static std::wstring DirectoryOf(const std::wstring& path);

  private:
    std::wstring fileName_;
};
