#include "gui/exchange/TVCImportDlg.h"

#include "gui/common/Prompter.h"
#include "gui/common/TProgressForm.h"
#include "platform/Utf8Text.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quill::gui {

TVCImportDlg::TVCImportDlg(const QString& name, const QString& organization, QWidget* parent)
    : QDialog(parent), person_(new QPushButton(FromUtf8(kVCardImportAsPerson), this)),
      organization_(new QPushButton(FromUtf8(kVCardImportAsOrganization), this)),
      applyToAll_(new QCheckBox(QStringLiteral("&Apply to all remaining cards"), this)) {
    setObjectName(QStringLiteral("TVCImportDlg"));
    setWindowTitle(FromUtf8(kVCardImportCaption));
    person_->setObjectName(QStringLiteral("PersonBtn"));
    organization_->setObjectName(QStringLiteral("OrgnBtn"));
    applyToAll_->setObjectName(QStringLiteral("ApplyToAllBox"));
    person_->setDefault(true);
    organization_->setAutoDefault(false);

    auto* intro = new QLabel(FromUtf8(kVCardImportIntro), this);
    auto* nameLabel = new QLabel(name, this);
    nameLabel->setObjectName(QStringLiteral("NameLabel"));
    auto* orgLabel = new QLabel(organization, this);
    orgLabel->setObjectName(QStringLiteral("OrganizationLabel"));
    for (QLabel* label : {nameLabel, orgLabel}) {
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    auto* question = new QLabel(FromUtf8(kVCardImportQuestion), this);
    question->setObjectName(QStringLiteral("QuestionLabel"));
    QFont bold = question->font();
    bold.setBold(true);
    question->setFont(bold);

    auto* fields = new QFormLayout;
    fields->addRow(FromUtf8(kVCardImportName), nameLabel);
    fields->addRow(FromUtf8(kVCardImportOrganization), orgLabel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(person_);
    buttons->addWidget(organization_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addWidget(question, 0, Qt::AlignHCenter);
    layout->addLayout(buttons);
    layout->addWidget(applyToAll_);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(person_, &QPushButton::clicked, this, [this] { done(kAsPerson); });
    connect(organization_, &QPushButton::clicked, this, [this] { done(kAsOrganization); });
}

bool TVCImportDlg::ApplyToAll() const {
    return applyToAll_->isChecked();
}

bool TVCardImportChoice::ImportAsOrganization(std::string_view displayName,
                                              std::string_view organization) {
    if (remembered_ != 0) {
        return remembered_ == TVCImportDlg::kAsOrganization;
    }
    const bool progressShown = progress_ && progress_->isVisible();
    if (progressShown) {
        progress_->hide();
    }
    TVCImportDlg dialog(FromUtf8(displayName), FromUtf8(organization), parent_);
    const int answer = Prompter::Exec(dialog);
    if (progressShown) {
        progress_->ShowProgress();
    }
    // Closed without an answer, the card is imported as the default button says.
    const int chosen = answer == TVCImportDlg::kAsOrganization ? answer : TVCImportDlg::kAsPerson;
    if (dialog.ApplyToAll()) {
        remembered_ = chosen;
    }
    return chosen == TVCImportDlg::kAsOrganization;
}

} // namespace quill::gui
