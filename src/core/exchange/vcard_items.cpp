// Each kind's vCard form: reading a card into a person or organization, writing one, and the
// property line of every contact point.

#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"

namespace quill {

void TPersonObject::ReadVCard(const TCard& card) {
    TNRBObject::ReadVCard(card);
}
void TPersonObject::SaveVCardFile(const std::string& fileName) const {
    TNRBObject::SaveVCardFile(fileName);
}
void TOrgObject::ReadVCard(const TCard& card) {
    TNRBObject::ReadVCard(card);
}
void TOrgObject::SaveVCardFile(const std::string& fileName) const {
    TNRBObject::SaveVCardFile(fileName);
}
std::string TAddressObject::VCardLine() const {
    return TNRBObject::VCardLine();
}
std::string TPhoneObject::VCardLine() const {
    return TNRBObject::VCardLine();
}
std::string TEMailObject::VCardLine() const {
    return TNRBObject::VCardLine();
}
std::string TFaxObject::VCardLine() const {
    return TNRBObject::VCardLine();
}
std::string TWebObject::VCardLine() const {
    return TNRBObject::VCardLine();
}

} // namespace quill
