#pragma once
// Fakes of the services the core calls, and a temporary directory, for the core's tests.

#include "core/model/locale_names.h"
#include "core/services.h"

#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace quill::test {

class FakeClock final : public IClock {
public:
    Date today{std::chrono::year{2026}, std::chrono::month{12}, std::chrono::day{7}};
    Date Today() const override { return today; }
};

class FakeIcons final : public IIconProvider {
public:
    int next = 14;
    std::vector<std::string> added;
    std::vector<std::pair<int, std::string>> replaced;
    std::vector<std::pair<std::string, int>> tools; // program, icon index
    int AddFileIcon(std::string_view fileName) override {
        added.emplace_back(fileName);
        return next++;
    }
    void ReplaceFileIcon(int index, std::string_view fileName) override {
        replaced.emplace_back(index, std::string(fileName));
    }
    int ToolIconIndex(std::string_view program) const override {
        for (const auto& [name, index] : tools) {
            if (name == program) {
                return index;
            }
        }
        return kGenericFileImage;
    }
};

class FakeClipboard final : public IClipboard {
public:
    std::string record;
    std::string text;
    int stores = 0;
    void StoreRecord(std::string_view recordWithZero, std::string_view plainText) override {
        record = recordWithZero;
        text = plainText;
        ++stores;
    }
};

class FakeNavigator final : public INavigator {
public:
    std::vector<TOutlineNode*> selected;
    std::vector<TOutlineNode*> edited;
    void SelectNode(TOutlineNode* node) override { selected.push_back(node); }
    void BeginEditCaption(TOutlineNode* node) override { edited.push_back(node); }
};

// Every call as one line: "open PATH", "start PROGRAM|PARAMETERS|DIRECTORY",
// "call NUMBER|APPLICATION|PARTY|COMMENT".
class FakeShell final : public IShell {
public:
    std::vector<std::string> calls;
    void OpenDocument(std::string_view path) override {
        calls.push_back("open " + std::string(path));
    }
    void StartProgram(std::string_view program, std::string_view parameters,
                      std::string_view directory) override {
        calls.push_back("start " + std::string(program) + "|" + std::string(parameters) + "|" +
                        std::string(directory));
    }
    void MakeCall(std::string_view number, std::string_view application, std::string_view party,
                  std::string_view comment) override {
        calls.push_back("call " + std::string(number) + "|" + std::string(application) + "|" +
                        std::string(party) + "|" + std::string(comment));
    }
};

// Every fake installed for the lifetime of the object, with English names.
struct FakeServices {
    FakeClock clock;
    FakeIcons icons;
    FakeClipboard clipboard;
    FakeNavigator navigator;
    FakeShell shell;
    ScopedServices scope{Services{&clock, &EnglishLocaleNames(), &icons, &clipboard, &navigator,
                                  nullptr, nullptr, &shell}};
};

// A fresh directory under the system's temporary directory, removed at the end.
class TempDir {
public:
    TempDir() {
        static std::atomic<int> counter{0};
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("quill-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

} // namespace quill::test
