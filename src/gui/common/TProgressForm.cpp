#include "gui/common/TProgressForm.h"

#include "gui/common/Pictures.h"
#include "gui/common/ScreenCentre.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace quill::gui {

TProgressForm::TProgressForm(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("ProgressForm"));
    setWindowTitle(QStringLiteral("Progress"));
    setWindowIcon(ProgramIcon());
    auto* layout = new QVBoxLayout(this);
    action_ = new QLabel(this);
    action_->setObjectName(QStringLiteral("ActionLabel"));
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    bar_->setTextVisible(false); // the percentage line says it
    percent_ = new QLabel(this);
    percent_->setObjectName(QStringLiteral("PercentLabel"));
    percent_->setAlignment(Qt::AlignCenter);
    result_ = new QLabel(this);
    result_->setObjectName(QStringLiteral("ResultLabel"));
    layout->addWidget(action_);
    layout->addWidget(bar_);
    layout->addWidget(percent_);
    layout->addWidget(result_);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelBtn"));
    cancel_->setVisible(false);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    connect(cancel_, &QPushButton::clicked, this, &TProgressForm::RequestCancel);
    setMinimumWidth(300);
    SetRange(0, 100);
    SetPosition(0);
    // Qt on X activates a modal window once the desktop reports it mapped, even when it was
    // hidden again meanwhile (a short import): it then takes the hidden window for the focused
    // one and sends it every key, while the desktop's focus stays where it was.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focus) {
        if (focus && focus == windowHandle() && !isVisible()) {
            HandBackActivation();
        }
    });
}

void TProgressForm::SetAction(const QString& text) {
    action_->setText(text);
    Repaint();
}

void TProgressForm::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    // QProgressBar shows a busy bar for an empty range; keep it still instead.
    bar_->setRange(0, maximum_ > minimum_ ? maximum_ - minimum_ : 1);
    SetPosition(position_);
}

void TProgressForm::SetPosition(int position) {
    position_ = std::clamp(position, minimum_, maximum_);
    bar_->setValue(maximum_ > minimum_ ? position_ - minimum_ : 0);
    ShowPercent();
}

void TProgressForm::Advance(int step) {
    SetPosition(static_cast<int>(
        std::clamp<long long>(static_cast<long long>(position_) + step, minimum_, maximum_)));
}

void TProgressForm::SetResult(const QString& text) {
    result_->setText(text);
    Repaint();
}

int TProgressForm::PercentOf(int minimum, int maximum, int position) {
    if (maximum <= minimum) {
        return 0;
    }
    const long long range = static_cast<long long>(maximum) - minimum;
    const long long done =
        std::clamp<long long>(static_cast<long long>(position) - minimum, 0, range);
    return static_cast<int>(done * 100 / range);
}

int TProgressForm::Percent() const {
    return PercentOf(minimum_, maximum_, position_);
}

QString TProgressForm::ActionText() const {
    return action_->text();
}

QString TProgressForm::PercentText() const {
    return percent_->text();
}

QString TProgressForm::ResultText() const {
    return result_->text();
}

void TProgressForm::ShowPercent() {
    const int percent = Percent();
    if (percent == shownPercent_) {
        return;
    }
    shownPercent_ = percent;
    percent_->setText(QString::number(percent) + QLatin1Char('%'));
    Repaint();
}

void TProgressForm::ShowProgress() {
    adjustSize();
    CentreOnScreen(*this);
    show();
    raise();
    Repaint();
}

void TProgressForm::HideProgress() {
    const bool focused = windowHandle() && QGuiApplication::focusWindow() == windowHandle();
    hide();
    if (focused) {
        HandBackActivation();
    }
}

void TProgressForm::HandBackActivation() {
    // To the dialog the work runs under, else to the window this one belongs to.
    QWindow* own = windowHandle();
    if (!own) {
        return;
    }
    QWindow* owner = own->transientParent();
    QWindow* next = QGuiApplication::modalWindow() ? QGuiApplication::modalWindow() : owner;
    if (!next || next == own || !next->isVisible()) {
        return;
    }
    // Asked while this window counts as the focused one, the window it belongs to would be
    // given the desktop's focus directly, which it mostly has already: nothing would tell the
    // toolkit. Asked like any other window, the request goes through the window manager, and
    // the toolkit hears of it.
    own->setTransientParent(nullptr);
    next->requestActivate();
    own->setTransientParent(owner);
}

void TProgressForm::SetCancellable(bool cancellable) {
    cancellable_ = cancellable;
    cancelRequested_ = false;
    cancel_->setVisible(cancellable);
    cancel_->setEnabled(true);
    // Modality takes effect when the window is shown next.
    const bool shown = isVisible();
    if (shown) {
        hide();
    }
    setWindowModality(cancellable ? Qt::ApplicationModal : Qt::NonModal);
    if (shown) {
        ShowProgress();
    }
    if (cancellable) {
        cancel_->setFocus();
    }
}

void TProgressForm::RequestCancel() {
    if (!cancellable_ || cancelRequested_) {
        return;
    }
    cancelRequested_ = true;
    cancel_->setEnabled(false);
    emit cancelRequested();
}

void TProgressForm::ProcessEvents() {
    if (cancellable_) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    } else if (isVisible()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void TProgressForm::Repaint() {
    // Called by a busy caller: let the window paint, but take no input meanwhile (a
    // cancellable window takes its input in ProcessEvents, between the worker's chunks).
    if (isVisible()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

} // namespace quill::gui
