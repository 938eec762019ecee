#include "core/storage/win_state.h"

#include "core/storage/profile_file.h"

#include <string>
#include <utility>

namespace quill {
namespace {

// Reads one key as ReadProfileInt does: missing or not a number gives the default.
int IntOf(const IniDocument& doc, const std::string& key, int fallback) {
    const std::optional<std::string> value = doc.Value(kWinStateSection, key);
    return value ? ParseProfileInt(*value).value_or(fallback) : fallback;
}

bool BoolOf(const IniDocument& doc, const std::string& key, bool fallback) {
    return IntOf(doc, key, fallback ? 1 : 0) != 0;
}

void ReadLayout(const IniDocument& doc, const std::string& prefix, WinLayout& l,
                const WinLayout& d) {
    l.Toolbar = BoolOf(doc, prefix + "Toolbar", d.Toolbar);
    l.Newbar = BoolOf(doc, prefix + "Newbar", d.Newbar);
    l.Statusbar = BoolOf(doc, prefix + "Statusbar", d.Statusbar);
    l.Left = IntOf(doc, prefix + "Left", d.Left);
    l.Top = IntOf(doc, prefix + "Top", d.Top);
    l.Width = IntOf(doc, prefix + "Width", d.Width);
    l.Height = IntOf(doc, prefix + "Height", d.Height);
    l.Split = IntOf(doc, prefix + "Split", d.Split);
    l.Style = IntOf(doc, prefix + "Style", d.Style);
    l.ColPos1 = IntOf(doc, prefix + "ColPos1", d.ColPos1);
    l.ColPos2 = IntOf(doc, prefix + "ColPos2", d.ColPos2);
    l.ColPos3 = IntOf(doc, prefix + "ColPos3", d.ColPos3);
}

} // namespace

WinLayout WinLayout::NormDefaults() {
    return WinLayout{};
}

WinLayout WinLayout::AltDefaults() {
    WinLayout l;
    l.Toolbar = false;
    l.Newbar = false;
    l.Statusbar = true;
    l.Width = 300;
    l.Height = 480;
    l.Split = 1;
    return l;
}

TMainWinState::TMainWinState(IWinStateHost& host, std::string iniPath)
    : host_(host), iniPath_(std::move(iniPath)) {
    Restore();
}

void TMainWinState::Restore() {
    const IniDocument doc = ReadProfileDocument(iniPath_);
    ReadLayout(doc, "Norm_", Norm, WinLayout::NormDefaults());
    ReadLayout(doc, "Alt_", Alt, WinLayout::AltDefaults());
}

bool TMainWinState::Save(std::string* error) const {
    return UpdateProfile(
        iniPath_,
        [this](IniDocument& doc) {
            bool ok = true;
            auto put = [&](const char* key, int value) {
                ok = doc.SetValue(kWinStateSection, key, std::to_string(value)) && ok;
            };
            put("Norm_Toolbar", Norm.Toolbar);
            put("Norm_Newbar", Norm.Newbar);
            put("Norm_Statusbar", Norm.Statusbar);
            put("Alt_Toolbar", Alt.Toolbar);
            put("Alt_Newbar", Alt.Newbar);
            put("Alt_Statusbar", Alt.Statusbar);
            put("Norm_Left", Norm.Left);
            put("Norm_Top", Norm.Top);
            put("Norm_Width", Norm.Width);
            put("Norm_Height", Norm.Height);
            put("Norm_Split", Norm.Split);
            put("Alt_Left", Alt.Left);
            put("Alt_Top", Alt.Top);
            put("Alt_Width", Alt.Width);
            put("Alt_Height", Alt.Height);
            put("Alt_Split", Alt.Split);
            put("Norm_Style", Norm.Style);
            put("Alt_Style", Alt.Style);
            put("Norm_ColPos1", Norm.ColPos1);
            put("Norm_ColPos2", Norm.ColPos2);
            put("Norm_ColPos3", Norm.ColPos3);
            put("Alt_ColPos1", Alt.ColPos1);
            put("Alt_ColPos2", Alt.ColPos2);
            put("Alt_ColPos3", Alt.ColPos3);
            return ok;
        },
        error);
}

void TMainWinState::Toggle() {
    Get();
    alt_ = !alt_;
    Apply();
}

bool TMainWinState::Finish(std::string* error) {
    Get();
    return Save(error);
}

} // namespace quill
