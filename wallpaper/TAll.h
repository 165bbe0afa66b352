#pragma once
// The picture component: writing PictureName loads a file of any supported
// format into the picture. BMP, ICO, WMF and EMF files go to the framework's
// loader; JPEG, GIF, TIFF, PIC, PIC2, MAG, XLD4 and PI files are decoded by an
// image plug-in that is loaded for that one picture. Failures are reported to
// the user here and recorded in Error; callers check nothing.
#include "framework/TImage.h"
#include "wallpaper/PictureRules.h"

#include <string>

class TLockedDib;
class TSpiLibrary;

class TAll : public TImage {
  public:
    TAll(TComponent* owner, TWinControl& parent);

    std::wstring PictureName() const { return pictureName_; }
    void SetPictureName(const std::wstring& name);
    // JPEG only: load the plug-in's reduced preview instead of the picture.
    bool PreView() const { return preView_; }
    void SetPreView(bool value);
    // JPEG: the picture's full size as the plug-in reports it; 0 otherwise.
    int OrgWidth() const { return orgWidth_; }
    int OrgHeight() const { return orgHeight_; }
    // Outcome of the last load: 0, 2 (not a valid picture), 10 (unsupported
    // extension), 20 (plug-in missing), 21 (path the plug-in cannot take),
    // 22 (the plug-in faulted) or the plug-in's non-zero result code.
    int Error() const { return error_; }

    // A picture read elsewhere shown as this file's: the load counts as done.
    void ShowPicture(const std::wstring& name, UniqueBitmap bitmap);
    // A load of this file that failed elsewhere, reported as one here.
    void ShowFailure(const std::wstring& name, int error, const std::wstring& text);

  private:
    void ReadPicture();
    void ReadWithPlugin(TPictureFileKind kind);
    // The plug-in steps return 0 or the code the load fails with.
    int ReadJpeg(TSpiLibrary& library, const std::string& path);
    int ReadGeneral(TSpiLibrary& library, const std::string& path, TPictureFileKind kind);
    bool ConvertDib(const TLockedDib& dib, HBITMAP bitmap, HPALETTE palette) const;
    void RealizeOnForm(HPALETTE palette) const;
    void Fail(int error, const std::wstring& text);
    void ResetOriginal();

    std::wstring pictureName_;
    bool preView_ = false;
    int orgWidth_ = 0;
    int orgHeight_ = 0;
    int error_ = 0;
};
