// Each kind's part of a published page: its section, its index line, and the escaping that
// keeps item texts from turning into markup.

#include "core/exchange/html_escape.h"
#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/group_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>

namespace quill {
namespace {

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text.append(line);
        text.append("\r\n");
    }
    return text;
}

class HtmlItemsTest : public ::testing::Test {
protected:
    test::FakeServices services;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();

    template <typename T = TNRBObject>
    T* Make(int kind, std::string_view title, TOutlineNode* parent, std::string_view target = "",
            std::string_view comment = "", std::int32_t id = 7) {
        return static_cast<T*>(CreateItem(kind, title, target, comment, id, "", parent));
    }
    TPersonObject* Person(std::string_view title, TOutlineNode* parent) {
        return Make<TPersonObject>(kPersonKind, title, parent);
    }
    static std::string Body(const TNRBObject& item, bool vCardLinks = false) {
        std::ostringstream out;
        item.WriteHTMLBody(out, vCardLinks);
        return out.str();
    }
    static std::string Entry(const TNRBObject& item, std::string_view page = "quilmain.htm") {
        std::ostringstream out;
        item.WriteHTMLIndexEntry(out, page);
        return out.str();
    }
};

TEST(HtmlEscapeTest, MarkupCharactersBecomeReferences) {
    EXPECT_EQ(HtmlEscaped("plain Ünïcode"), "plain Ünïcode");
    EXPECT_EQ(HtmlEscaped("<script>alert(\"x&y\")</script>"),
              "&lt;script&gt;alert(&quot;x&amp;y&quot;)&lt;/script&gt;");
    // Already escaped text is escaped again: the item holds the text, not markup.
    EXPECT_EQ(HtmlEscaped("&amp;"), "&amp;amp;");
    std::ostringstream out;
    WriteHtmlEscaped(out, "a<b>c\"d&");
    EXPECT_EQ(out.str(), HtmlEscaped("a<b>c\"d&"));
}

TEST(HtmlEscapeTest, ScriptAddressesAreRecognisedAsABrowserReadsThem) {
    EXPECT_TRUE(IsScriptUrl("javascript:alert(1)"));
    EXPECT_TRUE(IsScriptUrl("  JavaScript:alert(1)"));
    EXPECT_TRUE(IsScriptUrl("\x01java\tscr\nipt:alert(1)"));
    EXPECT_TRUE(IsScriptUrl("VBScript:msgbox"));
    EXPECT_TRUE(IsScriptUrl("data:text/html,<script>"));
    EXPECT_FALSE(IsScriptUrl("http://example.org/javascript:"));
    EXPECT_FALSE(IsScriptUrl("mailto:ann@example.org"));
    EXPECT_FALSE(IsScriptUrl("javascript"));
    EXPECT_FALSE(IsScriptUrl("datafile.htm"));
}

TEST_F(HtmlItemsTest, FolderHoldsItsContactPointsInABlockquoteTeamDoesNot) {
    TNRBObject* folder = Make(kFolderKind, "Family", root, "", "near & dear");
    Make(kPhoneKind, "Hall", folder->Node(), "555 1");
    EXPECT_EQ(Body(*folder), Lines({"<p><a name=\"Family\"><font size=4>Family</font></a><br>",
                                    "near &amp; dear<br>", "<blockquote>",
                                    "<em><strong>Hall</strong></em> 555 1<br>", "</blockquote>"}));

    TNRBObject* team = Make(kTeamKind, "Crew", root);
    Make(kPhoneKind, "Hall", team->Node(), "555 2");
    EXPECT_EQ(Body(*team), Lines({"<a name=\"Crew\"><font size=4>Crew</font></a><br>",
                                  "<em><strong>Hall</strong></em> 555 2<br>"}));
}

TEST_F(HtmlItemsTest, PersonTableHasPrimariesInTheirCellsAndTheRestAfter) {
    TPersonObject* ann = Person("Ann Lee", root);
    ann->SetComment("friend");
    ann->SetSalutation("Dr.");
    ann->SetFirstName("Ann");
    ann->SetLastName("Lee");
    TOutlineNode* node = ann->Node();
    auto* home = Make<TAddressObject>(kAddressKind, "Home", node);
    home->SetLines({"1 High St", "", "Flat 2"});
    home->SetCity("Kent");
    home->SetPostCode("K1");
    Make(kPhoneKind, "Desk", node, "555 10");
    Make(kPhoneKind, "Desk", node, "555 11"); // same title: not the primary
    Make(kEMailKind, "Mail", node, "ann@example.org");
    Make(kFaxKind, "Fax", node, "555 12", "nights");
    Make(kWebsiteKind, "Site", node, "http://ann.example/");
    ann->SetPrimaryAddress("Home");
    ann->SetPrimaryPhone("Desk");
    ann->SetPrimaryEMail("Mail");
    ann->SetPrimaryWebsite("Site");
    ann->SetId(4711);

    EXPECT_EQ(Body(*ann, true),
              Lines({"<p><table width=100%>",
                     "<tr><td valign=top><a name=\"Ann-Lee\"><font size=4>Ann Lee</font></a><br>",
                     "friend<br>",
                     "<p><font size=2><a href=\"vc4711.vcf\"><img src=\"vcard.gif\" align=left "
                     "border=0 width=16 height=16>Get vCard</a></font></p>",
                     "Dr. Ann  Lee<br>",
                     "<em><strong>Home</strong></em><br>",
                     "1 High St<br>",
                     "Flat 2<br>",
                     "Kent,  K1<br>",
                     "</td><td valign=top>",
                     "<em><strong>Desk</strong></em> 555 10<br>",
                     "<em><strong>Mail </strong></em><a "
                     "href=\"mailto:ann@example.org\">ann@example.org</a><br>",
                     "</td></tr>",
                     "<tr><td valign=top>",
                     "<a href=\"http://ann.example/\">Site</a><br>",
                     "</td><td valign=top>",
                     "<em><strong>Desk</strong></em> 555 11<br>",
                     "<p>",
                     "<em><strong>Fax</strong></em> 555 12 - nights<br>",
                     "<p>",
                     "</td></tr></table>",
                     "<hr>"}));
}

TEST_F(HtmlItemsTest, PersonWithoutContactPointsStillWritesItsNameCell) {
    TPersonObject* bob = Person("Bob", root);
    bob->SetPrimaryAddress("Nowhere");
    EXPECT_EQ(Body(*bob),
              Lines({"<p><table width=100%>",
                     "<tr><td valign=top><a name=\"Bob\"><font size=4>Bob</font></a><br>",
                     "   <br>", "</td><td valign=top>", "</td></tr>", "<tr><td valign=top>",
                     "</td><td valign=top>", "</td></tr></table>", "<hr>"}));
}

TEST_F(HtmlItemsTest, OrganizationHasSmallVCardLinkNoNameLineAndNoParagraphs) {
    auto* acme = Make<TOrgObject>(kOrganizationKind, "Acme", root, "", "", 12);
    Make(kPhoneKind, "Desk", acme->Node(), "555");
    Make(kPhoneKind, "Night", acme->Node(), "556");
    acme->SetPrimaryPhone("Desk");
    const std::string body = Body(*acme, true);
    EXPECT_NE(body.find("<p><font size=1><a href=\"vc12.vcf\">"), std::string::npos);
    EXPECT_EQ(body.find("   <br>"), std::string::npos);
    EXPECT_NE(body.find("</td><td valign=top>\r\n<em><strong>Desk</strong></em> 555<br>\r\n</td>"),
              std::string::npos);
    EXPECT_NE(body.find("<em><strong>Night</strong></em> 556<br>\r\n</td></tr></table>"),
              std::string::npos);
    EXPECT_EQ(Body(*acme, false).find("vcard.gif"), std::string::npos);
}

TEST_F(HtmlItemsTest, AddressWritesItsNonEmptyLinesAndCountryOnlyWhenGiven) {
    TNRBObject* holder = Make(kTeamKind, "T", root);
    auto* address = Make<TAddressObject>(kAddressKind, "Work", holder->Node(), "", "back door");
    address->SetLines({"", "Unit 4", "", "ignored fourth line"});
    address->SetCity("Lyon");
    address->SetState("<R>");
    address->SetPostCode("69001");
    address->SetCountry("France");
    EXPECT_EQ(Body(*address), Lines({"<em><strong>Work</strong></em><br>", "back door<br>",
                                     "Unit 4<br>", "Lyon, &lt;R&gt; 69001<br>", "France<br>"}));
}

TEST_F(HtmlItemsTest, EMailLinksOnlyAnInternetAddressOtherKindsUseTheDefault) {
    TOutlineNode* holder = Make(kTeamKind, "T", root)->Node();
    EXPECT_EQ(Body(*Make(kEMailKind, "Work", holder, "a@b.org", "office")),
              Lines({"<em><strong>Work </strong></em><a "
                     "href=\"mailto:a@b.org\">a@b.org</a> - office<br>"}));
    EXPECT_EQ(Body(*Make(kEMailKind, "Old", holder, "ann")),
              Lines({"<em><strong>Old</strong></em> ann<br>"}));
    EXPECT_EQ(Body(*Make(kPhoneKind, "Desk", holder, "555", "ask for Bo")),
              Lines({"<em><strong>Desk</strong></em> 555 - ask for Bo<br>"}));
    EXPECT_EQ(Body(*Make(200, "Odd", holder, "y")), Lines({"<em><strong>Odd</strong></em> y<br>"}));
    EXPECT_EQ(Body(*Make(kDocumentKind, "Plan", holder, "/tmp/plan.txt")), "");
}

TEST_F(HtmlItemsTest, SubSitesOfAWebsiteAreIndentedWithPairedTags) {
    TNRBObject* portal = Make(kWebsiteKind, "Portal", root, "http://p.example/", "hub");
    TNRBObject* a = Make(kWebsiteKind, "A", portal->Node(), "http://a.example/");
    TNRBObject* b = Make(kWebsiteKind, "B", portal->Node(), "http://b.example/");
    EXPECT_EQ(Body(*portal), Lines({"<a href=\"http://p.example/\">Portal</a> - hub<br>"}));
    EXPECT_EQ(Body(*a), Lines({"<blockquote>", "<a href=\"http://a.example/\">A</a><br>"}));
    EXPECT_EQ(Body(*b), Lines({"<a href=\"http://b.example/\">B</a><br>", "</blockquote>"}));

    // A single sub-site opens and closes; a person among the children means no tags at all.
    TNRBObject* lone = Make(kWebsiteKind, "Lone", a->Node(), "http://l.example/");
    EXPECT_EQ(Body(*lone), Lines({"<blockquote>", "<a href=\"http://l.example/\">Lone</a><br>",
                                  "</blockquote>"}));
    Person("Zed", portal->Node());
    EXPECT_EQ(Body(*a), Lines({"<a href=\"http://a.example/\">A</a><br>"}));
    EXPECT_EQ(Body(*b), Lines({"<a href=\"http://b.example/\">B</a><br>"}));
}

TEST_F(HtmlItemsTest, ScriptAddressOfAWebsiteIsNotLinked) {
    TNRBObject* site = Make(kWebsiteKind, "Click <me>", root, " javascript:alert(document.cookie)");
    EXPECT_EQ(Body(*site), Lines({"Click &lt;me&gt;<br>"}));
    TNRBObject* quoted =
        Make(kWebsiteKind, "Q", root, "http://x.example/\" onmouseover=\"alert(1)");
    EXPECT_EQ(Body(*quoted),
              Lines({"<a href=\"http://x.example/&quot; onmouseover=&quot;alert(1)\">Q</a><br>"}));
}

TEST_F(HtmlItemsTest, IndexEntriesCarryTheKindsIconAndWebsitesNeedSubSites) {
    TNRBObject* folder = Make(kFolderKind, "Friends & Co", root);
    EXPECT_EQ(
        Entry(*folder),
        Lines({"<a href=\"quilmain.htm#Friends-Co\"><img src=\"folder.gif\" "
               "align=bottom border=0 hspace=5 width=15 height=13>Friends &amp; Co</a><br>"}));
    EXPECT_EQ(Entry(*Make(kTeamKind, "T", root), ""),
              Lines({"<a href=\"#T\"><img src=\"team.gif\" align=bottom border=0 hspace=5 "
                     "width=16 height=16>T</a><br>"}));
    EXPECT_NE(Entry(*Make(kOrganizationKind, "O", root)).find("src=\"org.gif\""),
              std::string::npos);
    EXPECT_NE(Entry(*Person("P", root)).find("src=\"person.gif\""), std::string::npos);
    EXPECT_EQ(Entry(*Make(kPhoneKind, "Desk", folder->Node(), "555")), "");

    TNRBObject* site = Make(kWebsiteKind, "Portal", root, "http://p.example/");
    EXPECT_FALSE(site->ShowsInHTMLIndex());
    EXPECT_EQ(Entry(*site), "");
    Make(kWebsiteKind, "Sub", site->Node(), "http://s.example/");
    EXPECT_TRUE(site->ShowsInHTMLIndex());
    EXPECT_NE(Entry(*site).find("<img src=\"web.gif\" align=bottom border=0 hspace=5 width=16 "
                                "height=16>Portal</a><br>"),
              std::string::npos);
}

} // namespace
} // namespace quill
