#pragma once
// The number box of the phone and fax editors: a line edit that follows an edit mask of
// the phone-number formats (the mask logic is the core's TEditMask) and keeps the displayed
// text, literals included. Without a mask it is a plain line edit.

#include "core/model/edit_mask.h"

#include <QLineEdit>

#include <string>

namespace quill::gui {

class MaskedNumberEdit final : public QLineEdit {
    Q_OBJECT

public:
    explicit MaskedNumberEdit(QWidget* parent = nullptr);

    // Sets the mask in the masked-edit notation; an empty text removes it. What was typed
    // so far is typed again into the new mask.
    void SetEditMask(std::string_view mask);
    bool HasEditMask() const { return mask_.HasMask(); }
    // At least one character once the literals and blanks are taken away.
    bool IsEntered() const;
    // The number to keep: the displayed text without the positions still blank.
    QString Number() const;
    // Types the characters at the cursor as the keyboard would, over the selection (tests
    // and paste use it).
    void Type(const QString& characters);
    // Forgets what was typed and types the characters into the empty mask.
    void Retype(const QString& characters);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // The displayed text with the cursor at the selection's start.
    TEditMask::Editing Current() const;
    void Show(const TEditMask::Editing& editing);
    // Blanks what is selected; false when nothing is.
    bool EraseSelection(TEditMask::Editing& editing) const;

    TEditMask mask_;
};

} // namespace quill::gui
