#include "core/model/item_kind.h"

#include <array>

namespace quill {
namespace {

struct KindInfo {
    std::string_view defaultTitle;
    std::string_view tag;
    std::string_view name;
};

constexpr std::array<KindInfo, kKindCount> kKinds{{
    {"New Folder", "{Fold}", "folder"},
    {"New Organization", "{Orgn}", "organization"},
    {"New Team", "{Team}", "team"},
    {"New Person", "{Pers}", "person"},
    {"New Website", "{Webs}", "website"},
    {"New Address", "{Addr}", "address"},
    {"New Phone", "{Phon}", "phone"},
    {"New E-Mail", "{Mail}", "email"},
    {"New Fax", "{Faxs}", "fax"},
    {"New Reminder", "{Remd}", "reminder"},
    {"New Document", "{Docs}", "document"},
    {"My Contacts", "", "root"},
    {"New ", "{Tool}", "tool"},
}};

} // namespace

std::string_view DefaultTitle(int kind) {
    return (kind >= 0 && kind < kKindCount) ? kKinds[kind].defaultTitle : std::string_view{};
}

std::string_view DataLineTag(int kind) {
    return (kind >= 0 && kind < kKindCount) ? kKinds[kind].tag : std::string_view{};
}

std::string_view KindName(int kind) {
    return (kind >= 0 && kind < kKindCount) ? kKinds[kind].name : std::string_view{"unknown"};
}

} // namespace quill
