// Edit and EditNew of every kind that has a dialog: the dialogs live in the user interface,
// which the core reaches through the editors service. Folders and teams keep the base
// EditNew (their caption is edited in place) and have a dialog for Edit only.

#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/group_objects.h"
#include "core/services.h"

namespace quill {
namespace {

bool OpenNew(TNRBObject& item) {
    return CurrentServices().editors->EditNew(item);
}

void OpenExisting(TNRBObject& item) {
    CurrentServices().editors->Edit(item);
}

} // namespace

void TFolderObject::Edit() {
    OpenExisting(*this);
}
void TTeamObject::Edit() {
    OpenExisting(*this);
}

bool TContactHolderObject::EditNew(TOutlineNode*) {
    return OpenNew(*this);
}
void TContactHolderObject::Edit() {
    OpenExisting(*this);
}

bool TAddressObject::EditNew(TOutlineNode*) {
    return OpenNew(*this);
}
void TAddressObject::Edit() {
    OpenExisting(*this);
}
bool TPhoneObject::EditNew(TOutlineNode*) {
    return OpenNew(*this);
}
void TPhoneObject::Edit() {
    OpenExisting(*this);
}
bool TEMailObject::EditNew(TOutlineNode*) {
    return OpenNew(*this);
}
void TEMailObject::Edit() {
    OpenExisting(*this);
}
bool TFaxObject::EditNew(TOutlineNode*) {
    return OpenNew(*this);
}
void TFaxObject::Edit() {
    OpenExisting(*this);
}
bool TWebObject::EditNew(TOutlineNode*) {
    return OpenNew(*this);
}
void TWebObject::Edit() {
    OpenExisting(*this);
}

bool TDocObject::EditNew(TOutlineNode*) {
    return OpenNew(*this);
}
void TDocObject::Edit() {
    OpenExisting(*this);
}
bool TReminderObject::EditNew(TOutlineNode*) {
    return OpenNew(*this);
}
void TReminderObject::Edit() {
    OpenExisting(*this);
}
bool TToolObject::EditNew(TOutlineNode*) {
    return OpenNew(*this);
}
void TToolObject::Edit() {
    OpenExisting(*this);
}

} // namespace quill
