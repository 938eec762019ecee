#include "gui/editors/ReminderEditor.h"

#include "core/model/attachment_objects.h"
#include "gui/common/Help.h"
#include "gui/common/Prompter.h"
#include "gui/editors/CategoryPopup.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>

namespace quill::gui {

TRemdDlg::TRemdDlg(TReminderObject& item, const EditorContext& context, QWidget* parent)
    : QDialog(parent), item_(item) {
    setObjectName(QStringLiteral("TRemdDlg"));
    setWindowTitle(QStringLiteral("Reminder"));

    titleEdit_ = new QLineEdit(this);
    titleEdit_->setObjectName(QStringLiteral("TitleEdit"));
    targetDateLabel_ = new QLabel(this);
    targetDateLabel_->setObjectName(QStringLiteral("TargetDateLabel"));
    targetDateLabel_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    targetDateLabel_->setWordWrap(true);
    targetDateLabel_->setMinimumWidth(360);
    targetDateLabel_->setMargin(3);
    targetDateLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    setDateBtn_ = new QPushButton(QStringLiteral("&Set Date..."), this);
    setDateBtn_->setObjectName(QStringLiteral("SetDateBtn"));
    setDateBtn_->setToolTip(QStringLiteral("Select due date(s)"));
    setDateBtn_->setStatusTip(setDateBtn_->toolTip());
    setDateBtn_->setAutoDefault(false);
    advanceBtn_ = new QPushButton(QStringLiteral("&Advance"), this);
    advanceBtn_->setObjectName(QStringLiteral("AdvanceBtn"));
    advanceBtn_->setToolTip(QStringLiteral("Advance due date"));
    advanceBtn_->setStatusTip(advanceBtn_->toolTip());
    advanceBtn_->setAutoDefault(false);

    comment_ = new QLineEdit(this);
    comment_->setObjectName(QStringLiteral("RemdComment"));
    catSelect_ = new TCatSelect(item, context.categoryNames, this);

    auto* titleLabel = new QLabel(QStringLiteral("&Title"), this);
    titleLabel->setBuddy(titleEdit_);
    auto* datesLabel = new QLabel(QStringLiteral("Date(s)"), this);
    auto* commentLabel = new QLabel(QStringLiteral("&Comment"), this);
    commentLabel->setBuddy(comment_);

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("OKBtn"));
    okButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("CancelBtn"));
    cancelButton->setAutoDefault(false);
    auto* helpButton = new QPushButton(QStringLiteral("&Help"), this);
    helpButton->setObjectName(QStringLiteral("HelpBtn"));
    helpButton->setAutoDefault(false);

    auto* dateButtons = new QHBoxLayout;
    dateButtons->addWidget(setDateBtn_);
    dateButtons->addWidget(advanceBtn_);
    dateButtons->addStretch(1);

    auto* fields = new QGridLayout;
    fields->addWidget(titleLabel, 0, 0);
    fields->addWidget(titleEdit_, 0, 1);
    fields->addWidget(datesLabel, 1, 0, Qt::AlignTop);
    fields->addWidget(targetDateLabel_, 1, 1);
    fields->addLayout(dateButtons, 2, 1);
    fields->addWidget(commentLabel, 3, 0);
    fields->addWidget(comment_, 3, 1);
    fields->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(catSelect_);
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    buttons->addWidget(helpButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    connect(setDateBtn_, &QPushButton::clicked, this, &TRemdDlg::SetDateBtnClick);
    connect(advanceBtn_, &QPushButton::clicked, this, &TRemdDlg::AdvanceBtnClick);
    connect(helpButton, &QPushButton::clicked, this, &TRemdDlg::HelpBtnClick);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    ShowTarget();
}

void TRemdDlg::SetForm(const ReminderForm& form) {
    titleEdit_->setText(QString::fromStdString(form.title));
    comment_->setText(QString::fromStdString(form.comment));
    ShowTarget();
    // Selected, as in the other editors: a title typed at once replaces "New Reminder".
    titleEdit_->setFocus();
    titleEdit_->selectAll();
}

ReminderForm TRemdDlg::Form() const {
    return {titleEdit_->text().toStdString(), comment_->text().toStdString()};
}

void TRemdDlg::SetDateBtnClick() {
    item_.RecurringDate().Execute();
    ShowTarget();
}

void TRemdDlg::AdvanceBtnClick() {
    item_.RecurringDate().Advance();
    ShowTarget();
}

void TRemdDlg::HelpBtnClick() {
    OpenHelpTopic(kEditorHelp);
}

void TRemdDlg::ShowTarget() {
    targetDateLabel_->setText(QString::fromStdString(item_.RecurringDate().Describe()));
}

bool RunReminderEditor(TReminderObject& item, bool isNew, const EditorContext& context) {
    // Set Date and Advance work on the reminder's own date; what the dialog does not keep is
    // put back, so the date, its text in the list and the due mark always agree.
    const std::string before = item.RecurringDate().ToText();
    TRemdDlg dialog(item, context, context.parent);
    dialog.SetForm(ReminderFormFor(item, isNew));
    if (Prompter::Exec(dialog) == QDialog::Accepted && AcceptReminderForm(item, dialog.Form())) {
        return true;
    }
    item.RecurringDate().FromText(before);
    return false;
}

} // namespace quill::gui
