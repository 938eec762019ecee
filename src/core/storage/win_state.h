#pragma once
// The main window's two remembered layouts, normal and compact, kept in the section
// "WinState" of the settings file. The window itself is reached through
// IWinStateHost, so the record and its file form need no widgets.

#include <string>
#include <string_view>

namespace quill {

inline constexpr std::string_view kWinStateSection = "WinState";

// One layout.
struct WinLayout {
    bool Toolbar = true;
    bool Newbar = true;
    bool Statusbar = true;
    int Left = 0;
    int Top = 0;
    int Width = 640;
    int Height = 480;
    int Split = 201;   // the tree pane's width
    int Style = 1;     // 1 large icons, 2 small icons, 3 list, 4 details
    int ColPos1 = 125; // widths of "Title", "Target", "Comment"
    int ColPos2 = 150;
    int ColPos3 = 150;

    bool operator==(const WinLayout&) const = default;

    // The defaults of the settings table: the normal window, and the narrow list-only one.
    static WinLayout NormDefaults();
    static WinLayout AltDefaults();
};

// What the main window offers the layouts.
class IWinStateHost {
public:
    virtual ~IWinStateHost() = default;
    // Fills the record from the window's present look.
    virtual void GetSettings(WinLayout& layout) = 0;
    // Makes the window look as the record says: position and size, tree pane, toolbar,
    // status bar, new-item bar, list style (1 to 4 only), column widths, in that order.
    virtual void ApplySettings(const WinLayout& layout) = 0;
};

class TMainWinState {
public:
    // Reads both layouts from the settings file at once (Restore); the normal one is current.
    TMainWinState(IWinStateHost& host, std::string iniPath);
    TMainWinState(const TMainWinState&) = delete;
    TMainWinState& operator=(const TMainWinState&) = delete;

    WinLayout Norm = WinLayout::NormDefaults();
    WinLayout Alt = WinLayout::AltDefaults();

    // False for Norm, true for Alt; never stored, every run starts normal.
    bool IsAlt() const { return alt_; }
    WinLayout& Current() { return alt_ ? Alt : Norm; }
    const WinLayout& Current() const { return alt_ ? Alt : Norm; }

    // Both layouts from the file; a missing or unreadable key gives its default.
    void Restore();
    // Both layouts to the file, in one write: the six booleans, the normal then the compact
    // position, size and split, the two styles, the column widths. False (with *error)
    // when the file cannot be written.
    bool Save(std::string* error = nullptr) const;

    void Get() { host_.GetSettings(Current()); }
    void Apply() { host_.ApplySettings(Current()); }
    // Captures the layout being left, switches and applies the other one.
    void Toggle();
    // The end of the run: Get, then Save. Explicit rather than in the destructor, so the
    // caller calls it while the window still stands.
    bool Finish(std::string* error = nullptr);

    const std::string& IniPath() const { return iniPath_; }

private:
    IWinStateHost& host_;
    std::string iniPath_;
    bool alt_ = false;
};

} // namespace quill
