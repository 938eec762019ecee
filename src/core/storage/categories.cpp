#include "core/storage/categories.h"

#include "core/model/nrb_object.h"
#include "core/storage/profile_file.h"
#include "core/util/ascii.h"

namespace quill {
namespace {

std::string CatKey(int category) {
    return "Cat" + std::to_string(category);
}

} // namespace

std::string DefaultCategoryName(int category) {
    return "User Defined " + std::to_string(category);
}

std::string CategoryName(const std::vector<std::string>& names, int category) {
    const auto index = static_cast<std::size_t>(category - 1);
    return index < names.size() && !names[index].empty() ? names[index]
                                                         : DefaultCategoryName(category);
}

std::vector<std::string> ReadCategoryNames(const std::string& iniPath) {
    // The section's pairs are read at once; keys match without regard to case, as the
    // profile functions match them.
    const std::vector<std::pair<std::string, std::string>> values =
        ReadSectionValues(iniPath, kCategoriesSection);
    std::vector<std::string> names;
    names.reserve(kCategoryCount);
    for (int n = 1; n <= kCategoryCount; ++n) {
        const std::string key = CatKey(n);
        std::string name;
        for (const auto& [k, v] : values) {
            if (EqualsIgnoreAsciiCase(k, key)) {
                name = v;
                break;
            }
        }
        names.push_back(name.empty() ? DefaultCategoryName(n) : std::move(name));
    }
    return names;
}

bool WriteCategoryNames(const std::string& iniPath, const std::vector<std::string>& names,
                        std::string* error) {
    return UpdateProfile(
        iniPath,
        [&](IniDocument& doc) {
            doc.EraseSection(kCategoriesSection);
            bool ok = true;
            for (std::size_t i = 0; i < names.size() && i < kCategoryCount; ++i) {
                ok = doc.SetValue(kCategoriesSection, CatKey(static_cast<int>(i) + 1), names[i]) &&
                     ok;
            }
            return ok;
        },
        error);
}

std::uint32_t CategoryFilter::MaskOf(const std::vector<bool>& ticked) {
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i < ticked.size() && i < kCategoryCount; ++i) {
        if (ticked[i]) {
            mask |= std::uint32_t{1} << i;
        }
    }
    return mask;
}

bool CategoryFilter::Hides(std::int32_t categories) const {
    const auto set = static_cast<std::uint32_t>(categories);
    switch (mode_) {
    case Mode::Any:
        return mask_ != 0 && (set & mask_) == 0;
    case Mode::All:
        return (set & mask_) != mask_;
    case Mode::Off:
        break;
    }
    return false;
}

bool CategoryFilter::Hides(const TNRBObject& item) const {
    return Hides(item.Categories());
}

HiddenItemTest CategoryFilter::LiveTest() const {
    return [this](const TNRBObject& item) { return Hides(item); };
}

HiddenItemTest CategoryFilter::Snapshot() const {
    if (mode_ == Mode::Off || mask_ == 0) {
        return {};
    }
    CategoryFilter copy = *this;
    return [copy](const TNRBObject& item) { return copy.Hides(item); };
}

} // namespace quill
