#include "gui/common/CategoryList.h"

#include "core/storage/categories.h"

#include <vector>

namespace quill::gui {

void FillCategoryList(QListWidget* list, const QStringList& names, std::uint32_t ticked) {
    list->clear();
    for (int i = 0; i < kCategoryCount && i < names.size(); ++i) {
        auto* entry = new QListWidgetItem(names[i], list);
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        entry->setCheckState((ticked >> i) & 1u ? Qt::Checked : Qt::Unchecked);
    }
}

std::uint32_t TickedCategories(const QListWidget* list) {
    std::vector<bool> ticked;
    for (int i = 0; i < list->count(); ++i) {
        ticked.push_back(list->item(i)->checkState() == Qt::Checked);
    }
    return CategoryFilter::MaskOf(ticked);
}

} // namespace quill::gui
