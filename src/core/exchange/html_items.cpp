// Each kind's part of a published HTML site: its body in the contents page and its entry in
// the index page. Every item text is escaped (see html_escape.h).

#include "core/exchange/html_escape.h"
#include "core/exchange/html_publish.h"
#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/group_objects.h"
#include "core/model/outline.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <string>

namespace quill {
namespace {

constexpr std::string_view kEol = kHtmlLineEnd;

void WriteCommentLine(const TNRBObject& item, std::ostream& out) {
    if (!item.Comment().empty()) {
        WriteHtml(out, HtmlText{item.Comment()}, "<br>", kEol);
    }
}

// " - {C}" when the item has a comment.
void WriteCommentTail(const TNRBObject& item, std::ostream& out) {
    if (!item.Comment().empty()) {
        WriteHtml(out, " - ", HtmlText{item.Comment()});
    }
}

// The section of a folder or team: its anchored name, comment and contact points.
void WriteGroupBody(const TNRBObject& item, std::ostream& out, std::string_view lead,
                    bool indentChildren) {
    const HtmlText title{item.Title()};
    WriteHtml(out, lead, "<a name=\"", HtmlAnchorName(item), "\"><font size=4>", title,
              "</font></a><br>", kEol);
    WriteCommentLine(item, out);
    if (indentChildren) {
        WriteHtml(out, "<blockquote>", kEol);
    }
    for (std::size_t i = 0; i < item.ChildCount(); ++i) {
        item.ChildAt(i)->WriteHTMLBody(out, false);
    }
    if (indentChildren) {
        WriteHtml(out, "</blockquote>", kEol);
    }
}

// One line of the index: a link to the item's section with the kind's icon.
void WriteIndexLine(const TNRBObject& item, std::ostream& out, std::string_view pageName,
                    std::string_view icon, std::string_view size) {
    const HtmlText title{item.Title()};
    WriteHtml(out, "<a href=\"", HtmlText{pageName}, "#", HtmlAnchorName(item), "\"><img src=\"",
              icon, "\" align=bottom border=0 hspace=5 ", size, ">", title, "</a><br>", kEol);
}

constexpr std::string_view kIconSize = "width=16 height=16";

// A person's or organization's section: a table of the name and address, the phone, fax and
// e-mail, the website and then every other contact point.
void WriteHolderBody(const TContactHolderObject& item, std::ostream& out, bool vCardLinks,
                     const TPersonObject* person) {
    const HtmlText title{item.Title()};
    WriteHtml(out, "<p><table width=100%>", kEol);
    WriteHtml(out, "<tr><td valign=top><a name=\"", HtmlAnchorName(item), "\"><font size=4>", title,
              "</font></a><br>", kEol);
    WriteCommentLine(item, out);
    if (vCardLinks) {
        WriteHtml(out, "<p><font size=", person ? "2" : "1", "><a href=\"",
                  HtmlText{HtmlVCardFileName(item)},
                  "\"><img src=\"vcard.gif\" align=left border=0 width=16 height=16>Get "
                  "vCard</a></font></p>",
                  kEol);
    }
    if (person) {
        WriteHtml(out, HtmlText{person->Salutation()}, " ", HtmlText{person->FirstName()}, " ",
                  HtmlText{person->MiddleName()}, " ", HtmlText{person->LastName()}, "<br>", kEol);
    }
    const std::array<const TNRBObject*, 5> primaries{
        item.PrimaryContact(kAddressKind), item.PrimaryContact(kPhoneKind),
        item.PrimaryContact(kFaxKind), item.PrimaryContact(kEMailKind),
        item.PrimaryContact(kWebsiteKind)};
    const auto body = [&](const TNRBObject* contact) {
        if (contact) {
            contact->WriteHTMLBody(out, false);
        }
    };
    body(primaries[0]);
    WriteHtml(out, "</td><td valign=top>", kEol);
    body(primaries[1]);
    body(primaries[2]);
    body(primaries[3]);
    WriteHtml(out, "</td></tr>", kEol, "<tr><td valign=top>", kEol);
    body(primaries[4]);
    WriteHtml(out, "</td><td valign=top>", kEol);
    // Leaves out exactly the contact points written above: a second phone titled like the
    // primary one, or a fax titled like it, still appears.
    for (std::size_t i = 0; i < item.ChildCount(); ++i) {
        const TNRBObject* child = item.ChildAt(i);
        if (std::find(primaries.begin(), primaries.end(), child) != primaries.end()) {
            continue;
        }
        child->WriteHTMLBody(out, false);
        if (person) {
            WriteHtml(out, "<p>", kEol);
        }
    }
    WriteHtml(out, "</td></tr></table>", kEol, "<hr>", kEol);
}

bool IsWebsiteNode(const TOutlineNode* node) {
    return node && node->Item() && node->Item()->Kind() == kWebsiteKind;
}

} // namespace

void TFolderObject::WriteHTMLBody(std::ostream& out, bool) const {
    WriteGroupBody(*this, out, "<p>", true);
}

void TTeamObject::WriteHTMLBody(std::ostream& out, bool) const {
    WriteGroupBody(*this, out, "", false);
}

void TPersonObject::WriteHTMLBody(std::ostream& out, bool vCardLinks) const {
    WriteHolderBody(*this, out, vCardLinks, this);
}

void TOrgObject::WriteHTMLBody(std::ostream& out, bool vCardLinks) const {
    WriteHolderBody(*this, out, vCardLinks, nullptr);
}

void TAddressObject::WriteHTMLBody(std::ostream& out, bool) const {
    WriteHtml(out, "<em><strong>", HtmlText{Title()}, "</strong></em><br>", kEol);
    WriteCommentLine(*this, out);
    for (std::size_t i = 0; i < std::min<std::size_t>(LineCount(), 3); ++i) {
        if (!Line(i).empty()) {
            WriteHtml(out, HtmlText{Line(i)}, "<br>", kEol);
        }
    }
    WriteHtml(out, HtmlText{City()}, ", ", HtmlText{State()}, " ", HtmlText{PostCode()}, "<br>",
              kEol);
    if (!Country().empty()) {
        WriteHtml(out, HtmlText{Country()}, "<br>", kEol);
    }
}

void TEMailObject::WriteHTMLBody(std::ostream& out, bool vCardLinks) const {
    if (!IsInternetAddress(Target())) {
        TNRBObject::WriteHTMLBody(out, vCardLinks);
        return;
    }
    const HtmlText address{Target()};
    WriteHtml(out, "<em><strong>", HtmlText{Title()}, " </strong></em><a href=\"mailto:", address,
              "\">", address, "</a>");
    WriteCommentTail(*this, out);
    WriteHtml(out, "<br>", kEol);
}

void TWebObject::WriteHTMLBody(std::ostream& out, bool) const {
    // The links of a website's sub-sites are indented. The pair of tags is written only when
    // both the first and the last child of the parent are websites, so that they always pair
    // up and never close an indentation of the contents page.
    const TOutlineNode* node = Node();
    const TOutlineNode* parent = node ? node->Parent() : nullptr;
    bool opens = false;
    bool closes = false;
    if (IsWebsiteNode(parent)) {
        const TOutlineNode* first = parent->ChildAt(0);
        const TOutlineNode* last = parent->ChildAt(parent->ChildCount() - 1);
        opens = node == first && IsWebsiteNode(last);
        closes = node == last && IsWebsiteNode(first);
    }
    if (opens) {
        WriteHtml(out, "<blockquote>", kEol);
    }
    if (IsScriptUrl(Target())) {
        // An address that would run script in the reader's browser is shown without a link.
        WriteHtml(out, HtmlText{Title()});
    } else {
        WriteHtml(out, "<a href=\"", HtmlText{Target()}, "\">", HtmlText{Title()}, "</a>");
    }
    WriteCommentTail(*this, out);
    WriteHtml(out, "<br>", kEol);
    if (closes) {
        WriteHtml(out, "</blockquote>", kEol);
    }
}

void TDocObject::WriteHTMLBody(std::ostream&, bool) const {}

void TFolderObject::WriteHTMLIndexEntry(std::ostream& out, std::string_view pageName) const {
    WriteIndexLine(*this, out, pageName, "folder.gif", "width=15 height=13");
}

void TTeamObject::WriteHTMLIndexEntry(std::ostream& out, std::string_view pageName) const {
    WriteIndexLine(*this, out, pageName, "team.gif", kIconSize);
}

void TOrgObject::WriteHTMLIndexEntry(std::ostream& out, std::string_view pageName) const {
    WriteIndexLine(*this, out, pageName, "org.gif", kIconSize);
}

void TPersonObject::WriteHTMLIndexEntry(std::ostream& out, std::string_view pageName) const {
    WriteIndexLine(*this, out, pageName, "person.gif", kIconSize);
}

void TWebObject::WriteHTMLIndexEntry(std::ostream& out, std::string_view pageName) const {
    if (ShowsInHTMLIndex()) {
        WriteIndexLine(*this, out, pageName, "web.gif", kIconSize);
    }
}

bool TWebObject::ShowsInHTMLIndex() const {
    return Node() && Node()->HasChildren();
}

} // namespace quill
