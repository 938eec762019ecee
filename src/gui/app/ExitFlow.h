#pragma once
// The one way the program ends. Every Exit (the File menu, Alt+X, Ctrl+Q, the tray, closing
// the window where there is no tray), every termination signal, the session's end and any
// quit request of Qt's own come here. The outline is saved while the event loop still runs,
// so a failed save can still ask the user and keep the program going; only when everything
// is kept does the loop end.
//
// The end does not close the windows first: the main window's close only hides it behind
// the tray, and a refused close would cancel the end without a word.

#include <QObject>

namespace quill::gui {

class TMainForm;
class TProgressForm;

class ExitFlow final : public QObject {
    Q_OBJECT

public:
    enum class Mode {
        Attended,  // the user asked and can be asked
        Unattended // a signal, the session, the last automation client: nobody to ask
    };

    explicit ExitFlow(TMainForm& form, QObject* parent = nullptr);
    // The shared progress window: while it offers Cancel, long work runs and is asked to
    // stop (through longWorkCancelRequested) before anything is saved.
    void SetProgressWindow(TProgressForm* progress) { progress_ = progress; }

    // Starts ending the program. Open dialogs and menus are closed first, long work is asked
    // to stop. A second request while one runs only turns it unattended when it is.
    void Request(Mode mode);
    bool InProgress() const { return running_; }
    // Whether the event loop was told to end.
    bool Ended() const { return ended_; }

    // Catches Qt's own quit requests (QEvent::Quit on the application) and ends as above.
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // Long work in progress (an import, a publishing run) should stop as Cancel would.
    void longWorkCancelRequested();

private:
    void Continue();
    static bool CloseModalsAndMenus();

    TMainForm& form_;
    TProgressForm* progress_ = nullptr;
    Mode mode_ = Mode::Attended;
    bool running_ = false;
    bool ended_ = false;
    int waits_ = 0;
};

} // namespace quill::gui
