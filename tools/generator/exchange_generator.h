#pragma once
// Builds large, realistic exchange files for the command-line tool and the benchmarks:
// vCard 3.0 cards and comma-separated person lines, with the escapes, folds and quotes that
// real files carry and names in many scripts. The same seed gives the same bytes.

#include <cstddef>
#include <cstdint>
#include <ostream>

namespace quill {

// cardCount vCard 3.0 cards (about 430 bytes each), CR LF line ends.
void GenerateVCards(std::ostream& out, std::size_t cardCount, std::uint32_t seed);

// A header line of the person fields and lineCount person lines (about 160 bytes each),
// CR LF line ends; values with a comma or a quote are quoted, quotes doubled.
void GeneratePersonCsv(std::ostream& out, std::size_t lineCount, std::uint32_t seed);

} // namespace quill
