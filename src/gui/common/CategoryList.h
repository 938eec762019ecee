#pragma once
// A check list of category names, entry n-1 naming category n, as the filter list of the
// main window and the editors' category popup show them.

#include <QListWidget>
#include <QStringList>

#include <cstdint>

namespace quill::gui {

// Replaces the entries by the first 32 names, ticking entry i when bit i of ticked is set.
void FillCategoryList(QListWidget* list, const QStringList& names, std::uint32_t ticked);
// Bit i set for every ticked entry i.
std::uint32_t TickedCategories(const QListWidget* list);

} // namespace quill::gui
