#pragma once
// Calling TQuilApp's members by dispatch identifier, as a late-binding client does: the
// identifier, what the call asks for (method, property get, property put) and the arguments
// as loosely typed values, converted to what the member takes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quill {

class TQuilApp;

// A value as it travels: members take and give 32-bit integers, texts and booleans; a
// client may hand in other numbers, which are converted.
using DispatchValue = std::variant<bool, std::int32_t, std::int64_t, double, std::string>;

// What a call asks for; several may be set, as clients commonly pass method and get together.
enum DispatchFlags : int {
    kDispatchMethod = 1,
    kDispatchPropertyGet = 2,
    kDispatchPropertyPut = 4,
};

// Types are written as in a bus signature: "i" integer, "s" text, "b" boolean.
struct DispatchMember {
    int id;
    std::string_view name;
    bool method;                // called as a method (otherwise a property to get)
    bool put;                   // a property that can also be set, to a value of its result type
    std::string_view arguments; // a method's arguments or an indexed property's index
    std::string_view result;    // empty for a member without a value
};

// The nineteen members, in identifier order (Insert is 1).
const std::vector<DispatchMember>& DispatchTable();
// The member with that identifier, or with that exact name; none when there is no such one.
const DispatchMember* FindDispatchMember(int id);
const DispatchMember* FindDispatchMember(std::string_view name);

// Calls the member: for a put the new value comes last, after the index of an indexed
// property. Returns the member's value, none for a member without one. Throws AutomationError
// for an unknown identifier, a call the member does not answer, a wrong number of arguments,
// an argument that cannot be converted, and whatever the member itself reports.
std::optional<DispatchValue> Invoke(TQuilApp& app, int id, int flags,
                                    const std::vector<DispatchValue>& arguments);

// Conversions as a client's values are converted; throw AutomationError ("Type mismatch.",
// "Overflow.") when they cannot be.
std::int32_t DispatchToInteger(const DispatchValue& value);
std::string DispatchToText(const DispatchValue& value);

} // namespace quill
