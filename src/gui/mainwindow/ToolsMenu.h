#pragma once
// The tools in the desktop layer: their icons in the image lists, the menu entries that start
// them (the main window's tools popup and the tray menu's "&Tools" submenu) and the starting.

#include "core/storage/tool_items.h"

#include <QString>

class QMenu;

namespace quill::gui {

class ImageLists;

// The icon hook of the tools: the program's icon added to the image lists for a tool that
// had none yet, replaced at the tool's index otherwise.
ToolIconLoader ImageListsToolIconLoader(ImageLists& images);

// Hooks the tools' icons into the image lists both ways: the tools load their icons there
// (those in the list now included), and the image lists answer a tool item's icon by the tool
// whose FileName equals its program. Call before loading the tools; both must outlive the
// other's use.
void ConnectToolIcons(TToolItems& tools, ImageLists& images);

// BuildToolsMenus for one menu: removes every entry after the first keep (the main window's
// popup keeps "&Show Popup" and its separator, the tray submenu keeps none), then adds one
// entry per tool in list order, captioned with its Description and, when images are given,
// showing its icon. Choosing an entry starts its tool, if it is still in the list.
void BuildToolsMenu(QMenu& menu, int keep, const TToolItems& tools,
                    const ImageLists* images = nullptr);

// StartProgram: a program file is started with no parameters in the directory part of its
// name; any other file is opened with the application the desktop associates with it. Both go
// through the installed shell, which tells the user what could not be started.
void StartProgram(const TToolItem& tool);
// LaunchTool(Target): the same with the parameters of TToolItem::LaunchParameters, split into
// arguments as a command line is (blanks separate, quotes group).
void LaunchTool(const TToolItem& tool, const QString& target);

} // namespace quill::gui
