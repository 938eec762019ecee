#pragma once
// What every item editor needs from the main window: a parent for its dialog, the 32
// category names for the category popup, and the image lists (document and tool icons).

#include <QStringList>

#include <functional>

class QWidget;

namespace quill::gui {

class ImageLists;

struct EditorContext {
    QWidget* parent = nullptr;
    // The category names as the filter list holds them now, entry n-1 naming category n.
    std::function<QStringList()> categoryNames;
    ImageLists* images = nullptr;

    QStringList CategoryNames() const { return categoryNames ? categoryNames() : QStringList{}; }
};

} // namespace quill::gui
