#pragma once
// The shared progress window as the listener of one long import or export: it shows how far
// the work has come, hands the window its events between the worker's chunks (about 25
// times a second), and tells the worker to stop after "Cancel" or when the program is asked
// to end (Exit, a signal, the session), so that the end finds the outline whole.

#include "core/util/work_progress.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <memory>

namespace quill::gui {

class TProgressForm;

class WorkProgress final : public QObject, public IWorkProgress {
    Q_OBJECT

public:
    // Uses form, or a window of its own when form is none.
    WorkProgress(TProgressForm* form, const QString& action, QWidget* parent = nullptr);
    ~WorkProgress() override;

    // The total of work that reports none (exports count nodes).
    void SetKnownTotal(std::uint64_t total) { knownTotal_ = total; }
    bool Progress(std::uint64_t done, std::uint64_t total) override;

    bool Cancelled() const;
    // Whether any such work runs now, in the program (a dialog it asks may be open).
    static bool AnyRunning() { return running_ > 0; }
    // Milliseconds from the start to the first update the window showed; -1 before it.
    qint64 FirstUpdateMilliseconds() const { return firstUpdate_; }
    TProgressForm& Form() { return *form_; }

    // For tests: called at every update the window shows, before its events are handled.
    void SetUpdateHook(std::function<void(WorkProgress&)> hook) { hook_ = std::move(hook); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<TProgressForm> own_;
    TProgressForm* form_;
    QElapsedTimer clock_;
    qint64 lastUpdate_ = -1;
    qint64 firstUpdate_ = -1;
    std::uint64_t knownTotal_ = 0;
    bool quitRequested_ = false;
    std::function<void(WorkProgress&)> hook_;
    static inline int running_ = 0;
};

} // namespace quill::gui
