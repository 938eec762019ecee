#include "gui/common/DelayTimer.h"

namespace quill::gui {

DelayTimer::DelayTimer(std::chrono::milliseconds interval, QObject* parent)
    : QObject(parent), interval_(interval) {
    timer_.setSingleShot(true);
    timer_.setInterval(interval_);
    connect(&timer_, &QTimer::timeout, this, &DelayTimer::Fire);
}

void DelayTimer::Restart() {
    active_ = true;
    waited_ = std::chrono::milliseconds(0);
    if (!manual_) {
        timer_.start();
    }
}

void DelayTimer::Stop() {
    active_ = false;
    timer_.stop();
}

void DelayTimer::UseManualClock() {
    manual_ = true;
    timer_.stop();
}

void DelayTimer::AdvanceClock(std::chrono::milliseconds elapsed) {
    if (!manual_ || !active_) {
        return;
    }
    waited_ += elapsed;
    if (waited_ >= interval_) {
        Fire();
    }
}

void DelayTimer::Fire() {
    active_ = false;
    emit timeout();
}

} // namespace quill::gui
