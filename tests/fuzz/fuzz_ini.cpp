// The settings-file parser: whatever the text, lookups agree with each other, the written
// text reads back the same, and a value set reads back as set without disturbing the rest.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/storage/profile_file.h"
#include "core/util/ascii.h"
#include "core/util/text_encoding.h"

namespace {

using quill::IniDocument;

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

std::string_view TrimBlanks(std::string_view s) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
    };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// Candidate section names, taken loosely from the lines; names that are no section are
// harmless, they only find nothing.
std::vector<std::string> SectionNames(const IniDocument& doc) {
    std::vector<std::string> names;
    for (const std::string& line : doc.Lines()) {
        const std::string_view text = TrimBlanks(line);
        const std::size_t close = text.find(']');
        if (!text.empty() && text.front() == '[' && close != std::string_view::npos) {
            names.emplace_back(TrimBlanks(text.substr(1, close - 1)));
            if (names.size() == 32) {
                break;
            }
        }
    }
    return names;
}

void CheckSection(const IniDocument& doc, const IniDocument& reparsed, const std::string& s) {
    const auto values = doc.Values(s);
    const auto keys = doc.Keys(s);
    Check(keys.size() == values.size());
    Check(reparsed.Values(s) == values);
    for (std::size_t i = 0; i < values.size() && i < 64; ++i) {
        Check(keys[i] == values[i].first);
        Check(doc.Value(s, keys[i]) == values[i].second);
        if (const auto number = quill::ParseProfileInt(values[i].second)) {
            Check(quill::ParseProfileInt(std::to_string(*number)) == number);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = quill::DecodeFileText(bytes);
    Check(quill::IsValidUtf8(text));

    IniDocument doc = quill::ParseIni(text);
    const std::string written = doc.Serialize();
    const IniDocument reparsed = quill::ParseIni(written);
    Check(reparsed.Serialize() == written);
    const std::vector<std::string> sections = SectionNames(doc);
    for (const std::string& s : sections) {
        CheckSection(doc, reparsed, s);
    }

    // Set a value in every section, with a value made from the input, and read it back.
    const std::string value = bytes.substr(0, 40);
    std::string expected = value;
    for (char& c : expected) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    for (const std::string& s : sections) {
        const auto keys = doc.Keys(s);
        const std::string key = keys.empty() ? std::string("Fuzz") : keys.back();
        const auto before = quill::ParseIni(doc.Serialize());
        if (!doc.SetValue(s, key, value)) {
            continue;
        }
        const IniDocument after = quill::ParseIni(doc.Serialize());
        Check(after.Value(s, key) == expected);
        // The section's other keys keep their values and places; other sections are untouched.
        auto expectedValues = before.Values(s);
        bool replaced = false;
        for (auto& [name, old] : expectedValues) {
            if (quill::EqualsIgnoreAsciiCase(name, key)) {
                old = expected;
                replaced = true;
            }
        }
        if (!replaced) {
            expectedValues.emplace_back(key, expected);
        }
        Check(after.Values(s) == expectedValues);
        for (const std::string& other : sections) {
            if (!quill::EqualsIgnoreAsciiCase(other, s)) {
                Check(after.Values(other) == before.Values(other));
            }
        }
        Check(doc.DeleteKey(s, key));
        Check(!quill::ParseIni(doc.Serialize()).Value(s, key).has_value());
    }
    if (!sections.empty()) {
        doc.EraseSection(sections.front());
        Check(!quill::ParseIni(doc.Serialize()).HasSection(sections.front()));
    }
    // A new section always lands readable at the end.
    if (doc.SetValue("Fuzz Section", "Key", value)) {
        Check(quill::ParseIni(doc.Serialize()).Value("fuzz section", "KEY").has_value());
    }
    return 0;
}
