#include "gui/exchange/TWizardForm.h"

#include "gui/common/Help.h"
#include "gui/common/ScreenCentre.h"
#include "platform/Utf8Text.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace quill::gui {

TWizardForm::TWizardForm(QWidget* parent)
    : QDialog(parent), stack_(new QStackedWidget(this)),
      cancel_(new QPushButton(FromUtf8(kCancelCaption), this)),
      back_(new QPushButton(FromUtf8(kBackCaption), this)),
      next_(new QPushButton(FromUtf8(kNextCaption), this)) {
    setObjectName(QStringLiteral("TWizardForm"));
    setWindowTitle(QStringLiteral("Wizard"));
    stack_->setObjectName(QStringLiteral("PageControl"));
    cancel_->setObjectName(QStringLiteral("CancelBtn"));
    back_->setObjectName(QStringLiteral("BackBtn"));
    next_->setObjectName(QStringLiteral("NextBtn"));
    next_->setDefault(true);
    cancel_->setAutoDefault(false);
    back_->setAutoDefault(false);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel_);
    buttons->addSpacing(12);
    buttons->addWidget(back_);
    buttons->addWidget(next_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stack_, 1);
    layout->addWidget(rule);
    layout->addLayout(buttons);

    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setObjectName(QStringLiteral("HelpKey"));
    connect(help, &QShortcut::activated, this, [this] {
        if (helpContext_ != 0) {
            OpenHelpTopic(helpContext_);
        }
    });
    connect(back_, &QPushButton::clicked, this, &TWizardForm::PrevBtnClick);
    connect(next_, &QPushButton::clicked, this, [this] {
        // Once it reads "Finish" it closes the wizard with OK.
        if (sequence_ && sequence_->Finishing()) {
            accept();
        } else {
            NextBtnClick();
        }
    });
}

QVBoxLayout* TWizardForm::PageLayout(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    return layout;
}

void TWizardForm::AddPage(std::string_view name, QWidget* page) {
    page->setObjectName(FromUtf8(name));
    stack_->addWidget(page);
    names_.emplace_back(name);
}

void TWizardForm::FinishPages() {
    sequence_.emplace(names_);
    ShowCurrent();
}

void TWizardForm::showEvent(QShowEvent* event) {
    if (!sized_) {
        sized_ = true;
        // A size that suits every page, kept within the screen (large fonts, scaled screens):
        // the pages' texts wrap and their lists shrink rather than run off the screen.
        QSize size(kWidth, kHeight);
        if (const QScreen* screen = this->screen()) {
            size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
        }
        resize(size.expandedTo(minimumSizeHint()));
        // In the middle of the screen, not of the window that opened it.
        CentreOnScreen(*this);
        // The pages were added after the buttons: without this the wizard opens with the focus
        // on "Next >>" instead of on the choice the first page asks for.
        FocusFirstControl();
    }
    QDialog::showEvent(event);
}

void TWizardForm::FocusFirstControl() {
    QWidget* page = stack_->currentWidget();
    for (QWidget* at = nextInFocusChain(); page && at != this; at = at->nextInFocusChain()) {
        if (page->isAncestorOf(at) && at->isVisibleTo(this) && at->isEnabled() &&
            (at->focusPolicy() & Qt::TabFocus) && !at->focusProxy()) {
            at->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void TWizardForm::ShowAllSheets() {
    sequence_->ShowAllSheets();
    ShowCurrent();
}

void TWizardForm::KeepSheets(const std::vector<std::string>& pages) {
    sequence_->KeepSheets(pages);
    ShowCurrent();
}

QStringList TWizardForm::VisibleSheets() const {
    QStringList list;
    for (const std::string& name : sequence_->VisibleSheets()) {
        list << FromUtf8(name);
    }
    return list;
}

int TWizardForm::CurrentPage() const {
    return sequence_->CurrentPage();
}

void TWizardForm::SetCurrentPage(int page) {
    sequence_->SetCurrentPage(page);
    ShowCurrent();
}

QString TWizardForm::CurrentPageName() const {
    return FromUtf8(sequence_->CurrentName());
}

QWidget* TWizardForm::Page(const QString& name) const {
    return stack_->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
}

void TWizardForm::NextBtnClick() {
    sequence_->NextBtnClick();
    ShowCurrent();
    PageChange();
}

void TWizardForm::PrevBtnClick() {
    sequence_->PrevBtnClick();
    ShowCurrent();
    PageChange();
}

void TWizardForm::ShowCurrent() {
    if (QWidget* page = Page(CurrentPageName())) {
        stack_->setCurrentWidget(page);
    }
    next_->setText(FromUtf8(sequence_->NextCaption()));
    // On the first page there is nothing to go back to.
    back_->setEnabled(sequence_->CurrentPage() > 0);
}

void TWizardForm::accept() {
    if (FormClose()) {
        QDialog::accept();
    }
}

} // namespace quill::gui
