#include "core/exchange/outline_path.h"

#include "core/model/outline.h"

#include <charconv>
#include <vector>

namespace quill {
namespace {

struct Segment {
    std::string caption;      // unescaped
    std::size_t position = 0; // a "#N" segment: N; 0 for a caption
};

// The segments of a path, split at each "/" that no backslash escapes.
std::vector<Segment> Segments(std::string_view path) {
    std::vector<Segment> segments;
    std::string caption;
    std::string raw;
    bool escapedHash = false;
    auto finish = [&] {
        Segment segment;
        std::size_t n = 0;
        if (!escapedHash && raw.size() > 1 && raw.front() == '#') {
            const auto [end, error] = std::from_chars(raw.data() + 1, raw.data() + raw.size(), n);
            if (error == std::errc{} && end == raw.data() + raw.size() && n > 0) {
                segment.position = n;
            }
        }
        if (segment.position == 0) {
            segment.caption = caption;
        }
        segments.push_back(std::move(segment));
        caption.clear();
        raw.clear();
        escapedHash = false;
    };
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '\\' && i + 1 < path.size()) {
            const char next = path[i + 1];
            if (next == '/' || next == '\\' || (next == '#' && raw.empty())) {
                escapedHash = escapedHash || (next == '#' && raw.empty());
                caption += next;
                raw += '\\';
                raw += next;
                ++i;
                continue;
            }
        }
        if (c == '/') {
            finish();
            continue;
        }
        caption += c;
        raw += c;
    }
    if (!path.empty()) {
        finish();
    }
    return segments;
}

std::string Escaped(std::string_view caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const char c = caption[i];
        if (c == '/' || c == '\\' || (c == '#' && i == 0)) {
            out += '\\';
        }
        out += c;
    }
    return out;
}

} // namespace

TOutlineNode* FindNodeByPath(const TOutline& outline, std::string_view path) {
    TOutlineNode* node = outline.Root();
    if (!node) {
        return nullptr;
    }
    const std::vector<Segment> segments = Segments(path);
    std::size_t first = 0;
    if (!segments.empty() && segments.front().position == 0 &&
        segments.front().caption == node->Text()) {
        first = 1;
    }
    for (std::size_t i = first; i < segments.size() && node; ++i) {
        const Segment& segment = segments[i];
        if (segment.position > 0) {
            node = segment.position <= node->ChildCount() ? node->ChildAt(segment.position - 1)
                                                          : nullptr;
            continue;
        }
        if (segment.caption.empty()) {
            continue;
        }
        TOutlineNode* found = nullptr;
        for (std::size_t c = 0; c < node->ChildCount() && !found; ++c) {
            if (node->ChildAt(c)->Text() == segment.caption) {
                found = node->ChildAt(c);
            }
        }
        node = found;
    }
    return node;
}

std::string PathOfNode(const TOutlineNode& node) {
    std::vector<std::string> parts;
    for (const TOutlineNode* at = &node; at->Parent(); at = at->Parent()) {
        const TOutlineNode* parent = at->Parent();
        // A caption that could be taken for the root's own, in front, is named by position.
        bool repeated = at->Text().empty() || (!parent->Parent() && at->Text() == parent->Text());
        for (std::size_t i = 0; !repeated && i < parent->ChildCount(); ++i) {
            const TOutlineNode* sibling = parent->ChildAt(i);
            if (sibling == at) {
                break;
            }
            repeated = sibling->Text() == at->Text();
        }
        parts.push_back(repeated ? "#" + std::to_string(at->Row() + 1) : Escaped(at->Text()));
    }
    std::string path;
    for (std::size_t i = parts.size(); i-- > 0;) {
        path += parts[i];
        if (i > 0) {
            path += '/';
        }
    }
    return path;
}

} // namespace quill
