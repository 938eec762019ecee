#include "core/storage/tool_items.h"

#include "core/storage/profile_file.h"
#include "core/util/comma_text.h"

#include <algorithm>
#include <utility>

namespace quill {

TToolItem::TToolItem(std::string description, std::string fileName, std::string arguments,
                     std::string_view flag, ToolIconLoader loader)
    : description_(std::move(description)), arguments_(std::move(arguments)),
      takesAddress_(flag == "1"), loader_(std::move(loader)) {
    SetFileName(std::move(fileName));
}

void TToolItem::SetFileName(std::string fileName) {
    fileName_ = std::move(fileName);
    LoadIcon();
}

void TToolItem::SetIconLoader(ToolIconLoader loader) {
    loader_ = std::move(loader);
    if (imageIndex_ < 0) {
        LoadIcon();
    }
}

void TToolItem::LoadIcon() {
    if (loader_) {
        imageIndex_ = loader_(fileName_, imageIndex_);
    }
}

std::vector<std::string> TToolItem::Values() const {
    return {description_, fileName_, arguments_, takesAddress_ ? "1" : "0"};
}

std::string TToolItem::WorkingDirectory() const {
    return DirectoryPart(fileName_);
}

std::string TToolItem::LaunchParameters(std::string_view target) const {
    return ToolParameterText(arguments_, target);
}

std::string ToolDescriptionFromFileName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0 && dot + 1 < name.size()) {
        const std::string_view suffix = name.substr(dot + 1);
        const bool digitsOnly =
            std::all_of(suffix.begin(), suffix.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digitsOnly) {
            name = name.substr(0, dot);
        }
    }
    return std::string(name);
}

void TToolItems::Load(const std::string& iniPath) {
    const IniDocument doc = ReadProfileDocument(iniPath);
    for (const auto& [key, value] : doc.Values(kToolsSection)) {
        std::vector<std::string> parts = SplitCommaText(value);
        if (parts.size() != 4) {
            continue;
        }
        Add(std::make_unique<TToolItem>(std::move(parts[0]), std::move(parts[1]),
                                        std::move(parts[2]), parts[3], loader_));
    }
}

bool TToolItems::Save(const std::string& iniPath, std::string* error) const {
    return UpdateProfile(
        iniPath,
        [this](IniDocument& doc) {
            doc.EraseSection(kToolsSection);
            bool ok = true;
            for (std::size_t i = 0; i < items_.size(); ++i) {
                ok = doc.SetValue(kToolsSection, "Tool" + std::to_string(i),
                                  JoinCommaText(items_[i]->Values())) &&
                     ok;
            }
            return ok;
        },
        error);
}

TToolItem* TToolItems::Items(int index) const {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return items_[static_cast<std::size_t>(index)].get();
}

int TToolItems::IndexOf(const TToolItem* tool) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].get() == tool) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TToolItem* TToolItems::Add(std::unique_ptr<TToolItem> tool) {
    if (!tool) {
        return nullptr;
    }
    items_.push_back(std::move(tool));
    return items_.back().get();
}

TToolItem* TToolItems::AddNew(std::string description, std::string fileName, std::string arguments,
                              bool takesAddress) {
    return Add(std::make_unique<TToolItem>(std::move(description), std::move(fileName),
                                           std::move(arguments), takesAddress ? "1" : "0",
                                           loader_));
}

bool TToolItems::Delete(std::string_view description) {
    const auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& tool) {
        return tool->Description() == description;
    });
    if (it == items_.end()) {
        return false;
    }
    items_.erase(it);
    return true;
}

TToolItem* TToolItems::FindByFileName(std::string_view fileName) const {
    for (const auto& tool : items_) {
        if (tool->FileName() == fileName) {
            return tool.get();
        }
    }
    return nullptr;
}

void TToolItems::SetIconLoader(ToolIconLoader loader) {
    loader_ = std::move(loader);
    for (const auto& tool : items_) {
        tool->SetIconLoader(loader_);
    }
}

} // namespace quill
