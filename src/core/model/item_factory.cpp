#include "core/model/item_factory.h"

#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/group_objects.h"
#include "core/model/outline.h"

#include <random>

namespace quill {
namespace {

std::mt19937& IdGenerator() {
    static std::mt19937 generator{std::random_device{}()};
    return generator;
}

} // namespace

void SeedItemIds(std::uint32_t seed) {
    IdGenerator().seed(seed);
}

std::int32_t DrawItemId() {
    std::uniform_int_distribution<std::int32_t> first(0, 65534);
    std::uniform_int_distribution<std::int32_t> second(0, 32767);
    const std::int32_t a = first(IdGenerator());
    return a * second(IdGenerator());
}

std::unique_ptr<TNRBObject> ConstructItem(int kind, std::string_view title, std::string_view target,
                                          std::string_view comment, std::int32_t id,
                                          std::string_view dataLine) {
    if (id == 0) {
        id = DrawItemId();
    }
    switch (kind) {
    case kFolderKind:
        return std::make_unique<TFolderObject>(title, target, comment, id, dataLine);
    case kOrganizationKind:
        return std::make_unique<TOrgObject>(title, target, comment, id, dataLine);
    case kTeamKind:
        return std::make_unique<TTeamObject>(title, target, comment, id, dataLine);
    case kPersonKind:
        return std::make_unique<TPersonObject>(title, target, comment, id, dataLine);
    case kWebsiteKind:
        return std::make_unique<TWebObject>(title, target, comment, id, dataLine);
    case kAddressKind:
        return std::make_unique<TAddressObject>(title, target, comment, id, dataLine);
    case kPhoneKind:
        return std::make_unique<TPhoneObject>(title, target, comment, id, dataLine);
    case kEMailKind:
        return std::make_unique<TEMailObject>(title, target, comment, id, dataLine);
    case kFaxKind:
        return std::make_unique<TFaxObject>(title, target, comment, id, dataLine);
    case kReminderKind:
        return std::make_unique<TReminderObject>(title, target, comment, id, dataLine);
    case kDocumentKind:
        return std::make_unique<TDocObject>(title, target, comment, id, dataLine);
    case kRootKind:
        return std::make_unique<TNRBObject>(kRootKind, title, target, comment, id);
    case kToolKind:
        return std::make_unique<TToolObject>(title, target, comment, id, dataLine);
    default:
        return std::make_unique<TUnknownKindObject>(kind & 0xFF, title, target, comment, id,
                                                    dataLine);
    }
}

TNRBObject* CreateItem(int kind, std::string_view title, std::string_view target,
                       std::string_view comment, std::int32_t id, std::string_view dataLine,
                       TOutlineNode* parent, TOutline* outline) {
    kind &= 0xFF;
    if (kind == kRootKind) {
        return nullptr;
    }
    if (IsTreeKind(kind)) {
        if (!parent && !outline) {
            return nullptr;
        }
        std::unique_ptr<TNRBObject> owned =
            ConstructItem(kind, title, target, comment, id, dataLine);
        TNRBObject* item = owned.get();
        TOutline* home = parent ? parent->Outline() : outline;
        if (!home) {
            return nullptr;
        }
        TOutlineNode* node = home->AddNode(parent, item->Title(), std::move(owned),
                                           item->GetImageIndex(), item->GetSelectedIndex());
        item->SetNode(node);
        return item;
    }
    if (!parent || !parent->Item()) {
        return nullptr;
    }
    TNRBObject* item =
        parent->Item()->AddChild(ConstructItem(kind, title, target, comment, id, dataLine));
    item->SetNode(parent);
    return item;
}

} // namespace quill
