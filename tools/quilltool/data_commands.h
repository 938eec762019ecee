#pragma once
// The commands on whole data files: statistics, load-and-save, generated outlines.

#include <string_view>
#include <vector>

namespace quilltool {

int Stats(const std::vector<std::string_view>& args);
int Resave(const std::vector<std::string_view>& args);
int Generate(const std::vector<std::string_view>& args);

} // namespace quilltool
