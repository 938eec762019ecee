#include "core/automation/dispatch.h"

#include "core/automation/quil_app.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace quill {
namespace {

// The messages a client knows from its automation runtime.
[[noreturn]] void Fail(std::string_view message, const DispatchMember* member = nullptr) {
    std::string text(message);
    if (member) {
        text += " (" + std::string(member->name) + ")";
    }
    throw AutomationError(text);
}

std::int32_t Narrow(std::int64_t n) {
    if (n < std::numeric_limits<std::int32_t>::min() ||
        n > std::numeric_limits<std::int32_t>::max()) {
        Fail("Overflow.");
    }
    return static_cast<std::int32_t>(n);
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

DispatchValue Converted(const DispatchValue& value, char type) {
    switch (type) {
    case 'i':
        return DispatchToInteger(value);
    case 's':
        return DispatchToText(value);
    default:
        return std::holds_alternative<bool>(value) ? std::get<bool>(value)
                                                   : DispatchToInteger(value) != 0;
    }
}

std::int32_t Int(const std::vector<DispatchValue>& a, std::size_t i) {
    return std::get<std::int32_t>(a[i]);
}
const std::string& Text(const std::vector<DispatchValue>& a, std::size_t i) {
    return std::get<std::string>(a[i]);
}

// A get of member by identifier; the index argument, when there is one, converted already.
DispatchValue Get(TQuilApp& app, int id, const std::vector<DispatchValue>& a) {
    switch (id) {
    case 4:
        return app.quilID();
    case 5:
        return app.quilClass();
    case 6:
        return app.quilTitle();
    case 7:
        return app.quilTarget();
    case 8:
        return app.quilComment();
    case 9:
        return app.quilField(Text(a, 0));
    case 10:
        return app.ItemCount();
    case 11:
        return app.Items(Int(a, 0));
    case 12:
        return app.CurrentItemIndex();
    case 13:
        return app.NextSiblingIndex();
    case 14:
        return app.ChildCount();
    case 15:
        return app.Child(Int(a, 0));
    case 16:
        return app.SelectCount();
    case 17:
        return app.UserSelected(Int(a, 0));
    case 18:
        return app.NextItemWithTitle(Text(a, 0));
    default:
        return app.ItemWithId(Int(a, 0));
    }
}

void Put(TQuilApp& app, int id, const std::vector<DispatchValue>& a) {
    switch (id) {
    case 6:
        app.SetquilTitle(Text(a, 0));
        break;
    case 7:
        app.SetquilTarget(Text(a, 0));
        break;
    case 8:
        app.SetquilComment(Text(a, 0));
        break;
    default:
        app.SetquilField(Text(a, 0), Text(a, 1));
        break;
    }
}

void CallMethod(TQuilApp& app, int id, const std::vector<DispatchValue>& a) {
    switch (id) {
    case 1:
        app.Insert(Int(a, 0), Text(a, 1), Text(a, 2), Text(a, 3), Text(a, 4));
        break;
    case 2:
        app.CopyClipboard();
        break;
    default:
        app.DoDefaultAction();
        break;
    }
}

} // namespace

const std::vector<DispatchMember>& DispatchTable() {
    static const std::vector<DispatchMember> table{
        {1, "Insert", true, false, "issss", ""},
        {2, "CopyClipboard", true, false, "", ""},
        {3, "DoDefaultAction", true, false, "", ""},
        {4, "quilID", false, false, "", "i"},
        {5, "quilClass", false, false, "", "i"},
        {6, "quilTitle", false, true, "", "s"},
        {7, "quilTarget", false, true, "", "s"},
        {8, "quilComment", false, true, "", "s"},
        {9, "quilField", false, true, "s", "s"},
        {10, "ItemCount", false, false, "", "i"},
        {11, "Items", false, false, "i", "b"},
        {12, "CurrentItemIndex", false, false, "", "i"},
        {13, "NextSiblingIndex", false, false, "", "i"},
        {14, "ChildCount", false, false, "", "i"},
        {15, "Child", false, false, "i", "b"},
        {16, "SelectCount", false, false, "", "i"},
        {17, "UserSelected", false, false, "i", "b"},
        {18, "NextItemWithTitle", false, false, "s", "b"},
        {19, "ItemWithId", false, false, "i", "b"},
    };
    return table;
}

const DispatchMember* FindDispatchMember(int id) {
    const auto& table = DispatchTable();
    return (id >= 1 && static_cast<std::size_t>(id) <= table.size())
               ? &table[static_cast<std::size_t>(id - 1)]
               : nullptr;
}

const DispatchMember* FindDispatchMember(std::string_view name) {
    for (const DispatchMember& member : DispatchTable()) {
        if (member.name == name) {
            return &member;
        }
    }
    return nullptr;
}

std::int32_t DispatchToInteger(const DispatchValue& value) {
    if (const auto* b = std::get_if<bool>(&value)) {
        return *b ? -1 : 0; // a true boolean is all bits set
    }
    if (const auto* i = std::get_if<std::int32_t>(&value)) {
        return *i;
    }
    if (const auto* l = std::get_if<std::int64_t>(&value)) {
        return Narrow(*l);
    }
    if (const auto* d = std::get_if<double>(&value)) {
        if (!std::isfinite(*d) || std::fabs(*d) > 3e9) {
            Fail("Overflow.");
        }
        return Narrow(static_cast<std::int64_t>(std::nearbyint(*d))); // halves to even
    }
    const std::string_view text = Trimmed(std::get<std::string>(value));
    std::int64_t n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || error == std::errc::invalid_argument || end != text.data() + text.size()) {
        Fail("Type mismatch.");
    }
    if (error == std::errc::result_out_of_range) {
        Fail("Overflow.");
    }
    return Narrow(n);
}

std::string DispatchToText(const DispatchValue& value) {
    if (const auto* s = std::get_if<std::string>(&value)) {
        return *s;
    }
    if (const auto* b = std::get_if<bool>(&value)) {
        return *b ? "True" : "False";
    }
    if (const auto* i = std::get_if<std::int32_t>(&value)) {
        return std::to_string(*i);
    }
    if (const auto* l = std::get_if<std::int64_t>(&value)) {
        return std::to_string(*l);
    }
    char buffer[32];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, std::get<double>(value));
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

std::optional<DispatchValue> Invoke(TQuilApp& app, int id, int flags,
                                    const std::vector<DispatchValue>& arguments) {
    const DispatchMember* member = FindDispatchMember(id);
    if (!member) {
        throw AutomationError("Unknown name. (no member has the dispatch identifier " +
                              std::to_string(id) + ")");
    }
    // The kind of call the member answers; a put wins over a get when both are asked for.
    enum class Call { Method, Get, Put } call;
    std::string signature(member->arguments);
    if (member->put && (flags & kDispatchPropertyPut)) {
        call = Call::Put;
        signature += member->result;
    } else if (!member->method && (flags & kDispatchPropertyGet)) {
        call = Call::Get;
    } else if (member->method && (flags & kDispatchMethod)) {
        call = Call::Method;
    } else {
        Fail("Member not found.", member);
    }
    if (arguments.size() != signature.size()) {
        Fail("Invalid number of parameters.", member);
    }
    std::vector<DispatchValue> converted;
    converted.reserve(arguments.size());
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        try {
            converted.push_back(Converted(arguments[i], signature[i]));
        } catch (const AutomationError& e) {
            // Which of the values would not do, so that the client can tell.
            throw AutomationError(std::string(e.what()) + " (" + std::string(member->name) +
                                  ", argument " + std::to_string(i + 1) + ")");
        }
    }
    switch (call) {
    case Call::Method:
        CallMethod(app, id, converted);
        return std::nullopt;
    case Call::Put:
        Put(app, id, converted);
        return std::nullopt;
    default:
        return Get(app, id, converted);
    }
}

} // namespace quill
