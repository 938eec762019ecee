#include "core/storage/recovery_files.h"

#include <algorithm>
#include <cctype>

namespace quill {
namespace {

namespace fs = std::filesystem;

bool IsStamp(std::string_view text) {
    // YYYYMMDD-HHMMSS, optionally followed by "-" and a number.
    if (text.size() < 15 || text[8] != '-') {
        return false;
    }
    const auto digits = [](std::string_view part) {
        return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c)) != 0;
        });
    };
    if (!digits(text.substr(0, 8)) || !digits(text.substr(9, 6))) {
        return false;
    }
    const std::string_view rest = text.substr(15);
    return rest.empty() || (rest.size() > 1 && rest[0] == '-' && digits(rest.substr(1)));
}

} // namespace

std::string AutosavePath(const std::string& dataFilePath) {
    return dataFilePath + std::string(kAutosaveSuffix);
}

std::string RecoveryFileName(std::string_view dataFileName, std::string_view stamp, int attempt) {
    std::string name(dataFileName);
    name.append(kRecoveredInfix);
    name.append(stamp);
    if (attempt > 1) {
        name.append("-" + std::to_string(attempt));
    }
    return name;
}

bool IsRecoveryFileOf(std::string_view fileName, std::string_view dataFileName) {
    const std::size_t prefix = dataFileName.size() + kRecoveredInfix.size();
    return fileName.size() > prefix && fileName.substr(0, dataFileName.size()) == dataFileName &&
           fileName.substr(dataFileName.size(), kRecoveredInfix.size()) == kRecoveredInfix &&
           IsStamp(fileName.substr(prefix));
}

bool NewerThanDataFile(const std::string& path, const std::string& dataFilePath) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        return false;
    }
    const auto copy = fs::last_write_time(path, ec);
    if (ec) {
        return false;
    }
    const auto data = fs::last_write_time(dataFilePath, ec);
    return ec || copy > data;
}

std::vector<std::string> NewerRecoveryFiles(const std::vector<std::string>& directories,
                                            const std::string& dataFilePath) {
    const std::string dataName = fs::path(dataFilePath).filename().string();
    std::vector<std::pair<fs::file_time_type, std::string>> found;
    for (const std::string& directory : directories) {
        std::error_code ec;
        for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string path = it->path().string();
            if (IsRecoveryFileOf(it->path().filename().string(), dataName) &&
                NewerThanDataFile(path, dataFilePath)) {
                std::error_code timeError;
                found.emplace_back(fs::last_write_time(path, timeError), path);
            }
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second > b.second;
    });
    std::vector<std::string> paths;
    for (auto& entry : found) {
        paths.push_back(std::move(entry.second));
    }
    return paths;
}

std::vector<std::string> OwnSavedFileNames(std::string_view dataFileName) {
    const std::string data(dataFileName);
    // A recovery file's temporary name carries its stamp: any name behind the infix.
    return {data,
            data + std::string(kAutosaveSuffix),
            data + ".bak",
            "clipdata.dat",
            "ret_addr.dat",
            "nrb.ini",
            data + std::string(kRecoveredInfix) + "*"};
}

} // namespace quill
