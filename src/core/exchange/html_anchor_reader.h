#pragma once
// The two things read from a Netscape bookmark or address page: the page title and the
// anchors, one line at a time. Headings and nesting are not followed.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quill {

struct HtmlAnchor {
    std::string title;
    std::string address;
};

// The title when the line starts with "<TITLE>" (any case): the text up to the first
// "</TITLE>" (any case), empty when the line has none. nullopt for any other line.
std::optional<std::string> TitleOfLine(std::string_view line);

// The title of the first line that starts with "<TITLE>"; empty when no line does.
std::string GetBMTitle(std::span<const std::string> lines);

// The anchor that the first "<A" of the line (upper case only) opens: its HREF value without
// one pair of enclosing quotes, and the text up to the first "</A>" (empty when there is
// none). nullopt for a line without "<A" or whose tag holds no HREF item.
std::optional<HtmlAnchor> GetAnchorInfo(std::string_view line);

} // namespace quill
