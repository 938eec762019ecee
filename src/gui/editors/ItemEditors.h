#pragma once
// The editors service: the dialog of each kind, opened by the items' Edit and EditNew.

#include "core/services.h"
#include "gui/editors/EditorContext.h"

namespace quill::gui {

class ItemEditors final : public IItemEditors {
public:
    explicit ItemEditors(EditorContext context) : context_(std::move(context)) {}

    bool EditNew(TNRBObject& item) override;
    void Edit(TNRBObject& item) override;

private:
    bool Run(TNRBObject& item, bool isNew);

    EditorContext context_;
};

} // namespace quill::gui
