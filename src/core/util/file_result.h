#pragma once
// The outcome of reading or writing a file, as every layer reports it.

#include <string>
#include <utility>

namespace quill {

// The outcome of reading or writing a file; the message is meant for the user.
struct FileResult {
    bool ok = true;
    std::string message;
    int line = 0;      // the line an input error was met on, counted from 1
    std::string title; // the message box's title where it has one of its own
    explicit operator bool() const { return ok; }
    static FileResult Failure(std::string message, std::string title = {}) {
        FileResult result;
        result.ok = false;
        result.message = std::move(message);
        result.title = std::move(title);
        return result;
    }
};

} // namespace quill
