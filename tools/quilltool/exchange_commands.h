#pragma once
// Import into and export from a data file in every exchange format.

#include <string_view>
#include <vector>

namespace quilltool {

int Import(const std::vector<std::string_view>& args);
int Export(const std::vector<std::string_view>& args);

} // namespace quilltool
