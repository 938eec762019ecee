#pragma once
// Item texts written into published pages. Every text goes through here, so that a contact
// named "<script>" shows as that text and never becomes markup.

#include <iosfwd>
#include <string>
#include <string_view>

namespace quill {

// &, <, > and " as character references. The same form serves between tags and inside a
// double-quoted attribute, so an anchor's name= and the href= that points at it always match.
void WriteHtmlEscaped(std::ostream& out, std::string_view text);
std::string HtmlEscaped(std::string_view text);

// The text of HTML read from a page: character references (&amp; &lt; &gt; &quot; &apos;
// &nbsp; and numeric ones, decimal or hexadecimal) turned into their characters as UTF-8. A
// reference that is none of these stays as it is.
std::string HtmlUnescaped(std::string_view text);

// Written as is: the fixed markup around the texts.
void WriteHtmlRaw(std::ostream& out, std::string_view markup);

// Lines of published pages end like every file the program writes.
inline constexpr std::string_view kHtmlLineEnd = "\r\n";

// An item text inside a WriteHtml call: written escaped.
struct HtmlText {
    std::string_view text;
};
inline void WriteHtmlPiece(std::ostream& out, std::string_view markup) {
    WriteHtmlRaw(out, markup);
}
inline void WriteHtmlPiece(std::ostream& out, HtmlText text) {
    WriteHtmlEscaped(out, text.text);
}
// Writes markup pieces as they are and HtmlText pieces escaped, in order.
template <typename... Pieces> void WriteHtml(std::ostream& out, const Pieces&... pieces) {
    (WriteHtmlPiece(out, pieces), ...);
}

// True for an address that runs script when followed (javascript:, vbscript:, data:),
// read the way a browser reads it: leading blanks and control characters dropped, tabs and
// line breaks inside ignored, the scheme in any case.
bool IsScriptUrl(std::string_view url);

} // namespace quill
