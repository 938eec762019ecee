#include "gui/printing/ReportLayout.h"

namespace quill::gui {

std::vector<const PlacedText*> ReportLayout::Find(std::size_t page, const QString& name) const {
    std::vector<const PlacedText*> found;
    if (page < pages.size()) {
        for (const PlacedText& text : pages[page].texts) {
            if (text.name == name) {
                found.push_back(&text);
            }
        }
    }
    return found;
}

} // namespace quill::gui
