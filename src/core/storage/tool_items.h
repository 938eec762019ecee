#pragma once
// The tools: external programs the user registers, kept in the section "Tools" of the settings
// file and offered in the tools menus. Their icons are the desktop layer's: it
// hooks in through ToolIconLoader, which the core calls whenever a tool's FileName is set.

#include "core/model/attachment_objects.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

inline constexpr std::string_view kToolsSection = "Tools";

// Loads the first icon of the program file into the image lists and returns its index there:
// added when previousIndex is -1 (the tool had no icon yet), otherwise replaced at
// previousIndex (and previousIndex returned).
using ToolIconLoader = std::function<int(const std::string& fileName, int previousIndex)>;

class TToolItem {
public:
    // flag "1" gives TakesAddress true, anything else false. Assigning the file name loads the
    // icon when a loader is given.
    TToolItem(std::string description, std::string fileName, std::string arguments,
              std::string_view flag, ToolIconLoader loader = {});
    TToolItem(const TToolItem&) = delete;
    TToolItem& operator=(const TToolItem&) = delete;

    const std::string& Description() const { return description_; }
    void SetDescription(std::string description) { description_ = std::move(description); }
    const std::string& FileName() const { return fileName_; }
    // Reloads the icon (the loader is called even when the name is unchanged).
    void SetFileName(std::string fileName);
    const std::string& Arguments() const { return arguments_; }
    void SetArguments(std::string arguments) { arguments_ = std::move(arguments); }
    bool TakesAddress() const { return takesAddress_; }
    void SetTakesAddress(bool takesAddress) { takesAddress_ = takesAddress; }
    // Where the tool's icon stands in the image lists; -1 while it has none.
    int ImageIndex() const { return imageIndex_; }

    // The loader for later FileName changes; a tool without an icon yet loads it now.
    void SetIconLoader(ToolIconLoader loader);

    // The four values of the settings file, in order: Description, FileName, Arguments, "1"/"0".
    std::vector<std::string> Values() const;

    // StartProgram: the directory part of FileName up to and including the last "/" (empty
    // when it has none), the working directory the program is started in.
    std::string WorkingDirectory() const;
    // LaunchTool(Target): the parameters text, Arguments, a blank and Target when either is not
    // empty, otherwise empty.
    std::string LaunchParameters(std::string_view target) const;

private:
    void LoadIcon();

    std::string description_;
    std::string fileName_;
    std::string arguments_;
    bool takesAddress_ = false;
    int imageIndex_ = -1;
    ToolIconLoader loader_;
};

// The description a new tool gets from its program file: the file name without its directory
// and without its extension. Cutting a fixed four characters (".EXE") would maim Linux
// programs, which mostly have none, so a suffix is dropped only when there is one: the part after
// the last dot, when the dot is neither the name's first nor last character and the part holds
// something other than digits (so "python3.12" keeps its version).
std::string ToolDescriptionFromFileName(std::string_view path);

class TToolItems {
public:
    TToolItems() = default;
    TToolItems(const TToolItems&) = delete;
    TToolItems& operator=(const TToolItems&) = delete;

    // Appends the tools of the settings file: the keys of "Tools" in file order, each value
    // split as comma text; a value of exactly four parts makes a tool, any other is skipped.
    void Load(const std::string& iniPath);
    // Erases "Tools" and writes Tool0, Tool1 and so on in list order, in one write. The caller
    // saves at the end of the program. False (with *error) when the file cannot be written.
    bool Save(const std::string& iniPath, std::string* error = nullptr) const;

    int Count() const { return static_cast<int>(items_.size()); }
    // Null when index is out of range.
    TToolItem* Items(int index) const;
    // The position of the tool in the list, -1 when it is not there.
    int IndexOf(const TToolItem* tool) const;

    // Appends the tool (taking it) and returns it.
    TToolItem* Add(std::unique_ptr<TToolItem> tool);
    // A new tool with the list's icon loader, appended.
    TToolItem* AddNew(std::string description, std::string fileName, std::string arguments,
                      bool takesAddress);
    // Removes and destroys the first tool whose Description equals the text exactly; false
    // when there is none.
    bool Delete(std::string_view description);
    // The first tool whose FileName equals the text exactly, or null.
    TToolItem* FindByFileName(std::string_view fileName) const;
    void Clear() { items_.clear(); }

    // The loader handed to every tool, those in the list now included.
    void SetIconLoader(ToolIconLoader loader);
    const ToolIconLoader& IconLoader() const { return loader_; }

private:
    std::vector<std::unique_ptr<TToolItem>> items_;
    ToolIconLoader loader_;
};

} // namespace quill
