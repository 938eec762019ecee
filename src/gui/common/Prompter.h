#pragma once
// Every message box, modal dialog and file dialog of the program passes through here, so
// that a test can answer them in advance ("next answer: Yes") instead of a user.

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QWidget;

namespace quill::gui {

class Prompter {
public:
    using DialogAnswer = std::function<int(QDialog&)>;

    // A message box with the given text, title, buttons and icon; returns the button chosen.
    // Enter chooses defaultButton; NoButton leaves the choice to Qt (the accepting button).
    static QMessageBox::StandardButton
    Ask(QWidget* parent, const QString& text, const QString& title,
        QMessageBox::StandardButtons buttons, QMessageBox::Icon icon,
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    // A message box with buttons of the given captions; returns the index of the one chosen,
    // or -1 when the box was closed otherwise. Enter chooses defaultIndex; Escape chooses
    // escapeIndex (-1: Escape closes the box). Tests queue the index with QueueChoice.
    static int AskChoice(QWidget* parent, const QString& text, const QString& title,
                         const QStringList& buttons, QMessageBox::Icon icon, int defaultIndex = 0,
                         int escapeIndex = -1);
    // Runs the dialog modally and returns its result (QDialog::Accepted, Rejected, or what
    // the dialog's done() was given).
    static int Exec(QDialog& dialog);
    // A file-open dialog for an existing file; an empty text when cancelled. The current
    // directory is not changed.
    static QString OpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                                const QString& filter = {});
    static QString SaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                const QString& filter = {});

    // For tests: answers are taken in the order queued, one per call; a call without a
    // queued answer fails the test loudly instead of waiting for a user (see Strict).
    static void QueueAnswer(QMessageBox::StandardButton button);
    static void QueueChoice(int index);
    // The function fills or inspects the dialog and returns its result.
    static void QueueDialog(DialogAnswer answer);
    static void QueueFileName(const QString& fileName);
    // Texts of the message boxes shown so far, "title|text", oldest first.
    static QStringList Asked();
    // A message box as it was shown: standard buttons for Ask, captions for AskChoice with
    // the indexes Enter and Escape choose (-1: none).
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QStringList captions;
        int defaultIndex = -1;
        int escapeIndex = -1;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton; // Ask's
    };
    // Every message box shown so far, oldest first.
    static QList<Box> Boxes();
    // Forgets all queued answers and records.
    static void Reset();
    // In strict mode (tests) an unanswered box or dialog counts as cancelled and is recorded
    // in Unanswered() instead of opening.
    static void SetStrict(bool strict);
    static QStringList Unanswered();
};

} // namespace quill::gui
