#include "gui/common/Prompter.h"

#include "gui/common/CaptionRoom.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QPushButton>

#include <deque>

namespace quill::gui {
namespace {

struct Answers {
    std::deque<QMessageBox::StandardButton> buttons;
    std::deque<int> choices;
    std::deque<Prompter::DialogAnswer> dialogs;
    std::deque<QString> fileNames;
    QList<Prompter::Box> boxes;
    QStringList unanswered;
    bool strict = false;
};

Answers& State() {
    static Answers answers;
    return answers;
}

// The texts name files, items and what other programs sent: "<b>" or "&amp;" in them is
// theirs, not markup.
void PlainTextOnly(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
}

QString FirstFileName(const QString& caption) {
    Answers& a = State();
    if (!a.fileNames.empty()) {
        QString name = a.fileNames.front();
        a.fileNames.pop_front();
        return name;
    }
    a.unanswered << QStringLiteral("file dialog: ") + caption;
    return {};
}

} // namespace

QMessageBox::StandardButton Prompter::Ask(QWidget* parent, const QString& text,
                                          const QString& title,
                                          QMessageBox::StandardButtons buttons,
                                          QMessageBox::Icon icon,
                                          QMessageBox::StandardButton defaultButton) {
    Answers& a = State();
    a.boxes.push_back({title, text, icon, buttons, {}, -1, -1, defaultButton});
    if (!a.buttons.empty()) {
        const QMessageBox::StandardButton answer = a.buttons.front();
        a.buttons.pop_front();
        return answer;
    }
    if (a.strict) {
        a.unanswered << title + QLatin1Char('|') + text;
        return QMessageBox::Cancel;
    }
    QMessageBox box(icon, title, text, buttons, parent);
    PlainTextOnly(box);
    FitCaption(box);
    if (defaultButton != QMessageBox::NoButton) {
        box.setDefaultButton(defaultButton);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

int Prompter::AskChoice(QWidget* parent, const QString& text, const QString& title,
                        const QStringList& buttons, QMessageBox::Icon icon, int defaultIndex,
                        int escapeIndex) {
    Answers& a = State();
    const auto index = [&](int i) { return i >= 0 && i < buttons.size() ? i : -1; };
    a.boxes.push_back({title, text, icon, QMessageBox::NoButton, buttons, index(defaultIndex),
                       index(escapeIndex), QMessageBox::NoButton});
    if (!a.choices.empty()) {
        const int answer = a.choices.front();
        a.choices.pop_front();
        return answer;
    }
    if (a.strict) {
        a.unanswered << title + QLatin1Char('|') + text;
        return -1;
    }
    QMessageBox box(icon, title, text, QMessageBox::NoButton, parent);
    PlainTextOnly(box);
    FitCaption(box);
    QList<QAbstractButton*> added;
    for (const QString& caption : buttons) {
        added.push_back(box.addButton(caption, QMessageBox::AcceptRole));
    }
    if (defaultIndex >= 0 && defaultIndex < added.size()) {
        box.setDefaultButton(static_cast<QPushButton*>(added.at(defaultIndex)));
    }
    if (escapeIndex >= 0 && escapeIndex < added.size()) {
        box.setEscapeButton(added.at(escapeIndex));
    } else {
        // A message box without an escape button ignores Escape and its close button; an
        // unseen one lets both close the box unanswered.
        QPushButton* unanswered = box.addButton(QMessageBox::Cancel);
        unanswered->hide();
        box.setEscapeButton(unanswered);
    }
    box.exec();
    return static_cast<int>(added.indexOf(box.clickedButton()));
}

int Prompter::Exec(QDialog& dialog) {
    Answers& a = State();
    if (!a.dialogs.empty()) {
        DialogAnswer answer = std::move(a.dialogs.front());
        a.dialogs.pop_front();
        return answer(dialog);
    }
    if (a.strict) {
        a.unanswered << QStringLiteral("dialog: ") + dialog.windowTitle();
        return QDialog::Rejected;
    }
    return dialog.exec();
}

QString Prompter::OpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                               const QString& filter) {
    Answers& a = State();
    if (!a.fileNames.empty() || a.strict) {
        return FirstFileName(caption);
    }
    // Qt's file dialogs never change the current directory, which the program relies on.
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QString Prompter::SaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                               const QString& filter) {
    Answers& a = State();
    if (!a.fileNames.empty() || a.strict) {
        return FirstFileName(caption);
    }
    return QFileDialog::getSaveFileName(parent, caption, directory, filter);
}

void Prompter::QueueAnswer(QMessageBox::StandardButton button) {
    State().buttons.push_back(button);
}

void Prompter::QueueChoice(int index) {
    State().choices.push_back(index);
}

void Prompter::QueueDialog(DialogAnswer answer) {
    State().dialogs.push_back(std::move(answer));
}

void Prompter::QueueFileName(const QString& fileName) {
    State().fileNames.push_back(fileName);
}

QStringList Prompter::Asked() {
    QStringList asked;
    for (const Box& box : State().boxes) {
        asked << box.title + QLatin1Char('|') + box.text;
    }
    return asked;
}

QList<Prompter::Box> Prompter::Boxes() {
    return State().boxes;
}

void Prompter::Reset() {
    const bool strict = State().strict;
    State() = Answers{};
    State().strict = strict;
}

void Prompter::SetStrict(bool strict) {
    State().strict = strict;
}

QStringList Prompter::Unanswered() {
    return State().unanswered;
}

} // namespace quill::gui
