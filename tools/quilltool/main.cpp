// quilltool: the headless companion of Quillmere, on the core alone. Exit status 0 on
// success, 1 when the data is bad or a file cannot be used, 2 on wrong usage.

#include "data_commands.h"
#include "exchange_commands.h"
#include "tool_support.h"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) {
        return quilltool::Usage();
    }
    const std::string_view command = args.front();
    args.erase(args.begin());
    if (command == "stats") {
        return quilltool::Stats(args);
    }
    if (command == "resave") {
        return quilltool::Resave(args);
    }
    if (command == "generate") {
        return quilltool::Generate(args);
    }
    if (command == "import") {
        return quilltool::Import(args);
    }
    if (command == "export") {
        return quilltool::Export(args);
    }
    if (command == "--help" || command == "-h") {
        std::cout << quilltool::kUsageText;
        return quilltool::kOk;
    }
    return quilltool::Usage();
}
