#pragma once
// Builds realistic outlines of a chosen size for the command-line tool and the benchmarks:
// folders, organizations, teams and persons with every kind of contact point, websites,
// documents, reminders and tools, categories (the top bit among them) and names in many
// scripts. Everything it makes survives a save and a load unchanged.

#include <cstddef>
#include <cstdint>

namespace quill {

class TOutline;

// Fills the outline (which must have its root) with about itemCount items.
void GenerateOutline(TOutline& outline, std::size_t itemCount, std::uint32_t seed);

} // namespace quill
