#pragma once
// A delay that each restart begins afresh: the work runs once, the whole interval after the
// last restart (a search a second after the last keystroke). Tests run it on a clock of their
// own, moved by hand, instead of waiting for real time to pass.

#include <QObject>
#include <QTimer>

#include <chrono>

namespace quill::gui {

class DelayTimer final : public QObject {
    Q_OBJECT

public:
    explicit DelayTimer(std::chrono::milliseconds interval, QObject* parent = nullptr);

    std::chrono::milliseconds Interval() const { return interval_; }
    // From now, the whole interval again.
    void Restart();
    void Stop();
    bool IsActive() const { return active_; }

    // For tests: from now on only AdvanceClock moves time for this delay.
    void UseManualClock();
    // Moves the manual clock on; the delay fires when its interval is reached.
    void AdvanceClock(std::chrono::milliseconds elapsed);

signals:
    void timeout();

private:
    void Fire();

    std::chrono::milliseconds interval_;
    QTimer timer_;
    bool manual_ = false;
    bool active_ = false;
    std::chrono::milliseconds waited_{0};
};

} // namespace quill::gui
