#include "gui/mainwindow/ToolsMenu.h"

#include "platform/Utf8Text.h"

#include "core/services.h"

#include "gui/common/ImageLists.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

namespace quill::gui {
namespace {

// Through the desktop's shell, as a tool item of the outline starts: a program that is gone or
// cannot run is reported there, as it is for every other way out of the program.
void Start(const TToolItem& tool, const std::string& parameters) {
    CurrentServices().shell->StartProgram(tool.FileName(), parameters, tool.WorkingDirectory());
}

} // namespace

ToolIconLoader ImageListsToolIconLoader(ImageLists& images) {
    return [&images](const std::string& fileName, int previousIndex) {
        const QIcon icon = ImageLists::FileIcon(fileName);
        if (previousIndex < 0) {
            return images.Add(icon);
        }
        images.Replace(previousIndex, icon);
        return previousIndex;
    };
}

void ConnectToolIcons(TToolItems& tools, ImageLists& images) {
    tools.SetIconLoader(ImageListsToolIconLoader(images));
    images.SetToolIconLookup([&tools](std::string_view program) {
        const TToolItem* tool = tools.FindByFileName(program);
        return tool && tool->ImageIndex() >= 0 ? tool->ImageIndex() : kGenericFileImage;
    });
}

void BuildToolsMenu(QMenu& menu, int keep, const TToolItems& tools, const ImageLists* images) {
    const QList<QAction*> actions = menu.actions();
    for (qsizetype i = std::max(keep, 0); i < actions.size(); ++i) {
        menu.removeAction(actions[i]);
        if (actions[i]->parent() == &menu) {
            delete actions[i];
        }
    }
    for (int i = 0; i < tools.Count(); ++i) {
        TToolItem* tool = tools.Items(i);
        QAction* action = menu.addAction(FromUtf8(tool->Description()));
        if (images && tool->ImageIndex() >= 0) {
            action->setIcon(images->Icon(tool->ImageIndex()));
        }
        // The entry outlives nothing it points to: a tool deleted since the menu was built is
        // no longer in the list, and its entry does nothing.
        QObject::connect(action, &QAction::triggered, &menu, [&tools, tool] {
            if (tools.IndexOf(tool) >= 0) {
                StartProgram(*tool);
            }
        });
    }
}

void StartProgram(const TToolItem& tool) {
    Start(tool, {});
}

void LaunchTool(const TToolItem& tool, const QString& target) {
    Start(tool, tool.LaunchParameters(target.toStdString()));
}

} // namespace quill::gui
