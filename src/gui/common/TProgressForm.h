#pragma once
// The shared progress window: caption "Progress", a small tool window that stays
// on top, centred on the screen, with an action line, a progress bar, a percentage line and
// a result line. Its users set the action text, the range and the position, and show and
// hide it. It runs while the user-interface thread is busy, so it lets the window repaint
// (no user input) whenever the percentage it shows changes. Work that can be stopped makes it
// cancellable: a "Cancel" button shows, the window takes all input (application modal) and
// the worker hands it the events between its chunks (ProcessEvents).

#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace quill::gui {

class TProgressForm final : public QWidget {
    Q_OBJECT

public:
    explicit TProgressForm(QWidget* parent = nullptr);

    void SetAction(const QString& text);
    // An empty range (maximum not above minimum) shows 0% without error.
    void SetRange(int minimum, int maximum);
    // Kept within the range, as the bar keeps it.
    void SetPosition(int position);
    // The position plus step (the search advances by one for every node).
    void Advance(int step = 1);
    void SetResult(const QString& text);

    // Centres the window on its screen, shows it above the others and paints it at once.
    void ShowProgress();
    void HideProgress();

    // With a "Cancel" button, which sets CancelRequested, until switched off again.
    void SetCancellable(bool cancellable);
    bool Cancellable() const { return cancellable_; }
    bool CancelRequested() const { return cancelRequested_; }
    void RequestCancel();
    // Lets the window paint and, when cancellable, take the clicks on "Cancel" (the window
    // is modal then, so no other window gets input meanwhile).
    void ProcessEvents();
    QPushButton* CancelButton() const { return cancel_; }

    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    int Position() const { return position_; }
    // (position - minimum) * 100 / (maximum - minimum), whole-number division; 0 for an
    // empty range.
    int Percent() const;
    static int PercentOf(int minimum, int maximum, int position);

    QString ActionText() const;
    QString PercentText() const;
    QString ResultText() const;

signals:
    void cancelRequested();

private:
    void ShowPercent();
    void Repaint();
    // A hidden window must not keep the activation: the keys would go nowhere.
    void HandBackActivation();

    QLabel* action_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QLabel* percent_ = nullptr;
    QLabel* result_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool cancellable_ = false;
    bool cancelRequested_ = false;
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
    int shownPercent_ = -1;
};

} // namespace quill::gui
