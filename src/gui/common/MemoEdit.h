#pragma once
// A multi-line box with a limit on what may be typed, as the address memos have: the plain
// text edit without word wrap, Tab moving on to the next control, and text beyond the limit
// refused while typing or pasting. Text set by the program is shown whole.

#include <QPlainTextEdit>

namespace quill::gui {

class MemoEdit final : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit MemoEdit(QWidget* parent = nullptr);

    // Characters, line feeds counted as one each; 0 is no limit.
    void SetMaxLength(int length) { maxLength_ = length; }
    int MaxLength() const { return maxLength_; }
    // Shows the text as it is, even beyond the limit.
    void SetText(const QString& text);
    // Height for the number of lines, so that layouts give the memo room for them.
    void SetVisibleLines(int lines);
    QSize sizeHint() const override;

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    void Trim(int position, int added);

    int maxLength_ = 0;
    int visibleLines_ = 4;
    bool setting_ = false;
};

} // namespace quill::gui
