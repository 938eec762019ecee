// Each kind's part of a published HTML site: its body in the contents page and its entry in
// the index page.

#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/group_objects.h"

namespace quill {

#define QUILL_HTML_BODY(Class)                                                                     \
    void Class::WriteHTMLBody(std::ostream& out, bool vCardLinks) const {                          \
        TNRBObject::WriteHTMLBody(out, vCardLinks);                                                \
    }
#define QUILL_HTML_ENTRY(Class)                                                                    \
    void Class::WriteHTMLIndexEntry(std::ostream& out, std::string_view pageName) const {          \
        TNRBObject::WriteHTMLIndexEntry(out, pageName);                                            \
    }
QUILL_HTML_BODY(TFolderObject)
QUILL_HTML_BODY(TTeamObject)
QUILL_HTML_BODY(TPersonObject)
QUILL_HTML_BODY(TOrgObject)
QUILL_HTML_BODY(TAddressObject)
QUILL_HTML_BODY(TEMailObject)
QUILL_HTML_BODY(TWebObject)
QUILL_HTML_BODY(TDocObject)
QUILL_HTML_ENTRY(TFolderObject)
QUILL_HTML_ENTRY(TTeamObject)
QUILL_HTML_ENTRY(TPersonObject)
QUILL_HTML_ENTRY(TOrgObject)
QUILL_HTML_ENTRY(TWebObject)
bool TWebObject::ShowsInHTMLIndex() const {
    return TNRBObject::ShowsInHTMLIndex();
}

} // namespace quill
