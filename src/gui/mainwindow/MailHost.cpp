#include "gui/mainwindow/MailHost.h"

#include "gui/common/Prompter.h"
#include "gui/mainwindow/TMainForm.h"
#include "platform/Utf8Text.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quill::gui {

TPickRecipientDlg::TPickRecipientDlg(const QString& name, const std::vector<MailCandidate>& entries,
                                     QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("PickRecipientDlg"));
    setWindowTitle(QStringLiteral("Choose Recipient"));
    auto* label =
        new QLabel(QStringLiteral("Several of your contacts are called \"%1\". &Send to:")
                       .arg(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&"))),
                   this);
    label->setBuddy(list_);
    list_->setObjectName(QStringLiteral("Recipients"));
    for (const MailCandidate& entry : entries) {
        list_->addItem(
            QStringLiteral("%1 <%2>").arg(FromUtf8(entry.name), FromUtf8(entry.address)));
    }
    list_->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

std::optional<std::size_t> TPickRecipientDlg::Choice() const {
    const int row = list_->currentRow();
    if (row < 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(row);
}

std::string TMailHost::SettingsFile() const {
    return form_.WinState().IniPath();
}

bool TMailHost::ItemListActive() const {
    return form_.ActivePane() == TMainForm::Pane::MainItems;
}

std::vector<const TNRBObject*> TMailHost::SelectedListItems() const {
    const std::vector<TNRBObject*> selected = form_.SelectedEntries();
    return {selected.begin(), selected.end()};
}

bool TMailHost::Confirm(std::string_view text) {
    return Prompter::Ask(&form_, FromUtf8(text), QStringLiteral("Confirm"),
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                         QMessageBox::Question) == QMessageBox::Yes;
}

void TMailHost::ShowError(std::string_view text) {
    Prompter::Ask(&form_, FromUtf8(text), QStringLiteral("Error"), QMessageBox::Ok,
                  QMessageBox::Critical);
}

std::optional<std::size_t> TMailHost::PickRecipient(const QString& name,
                                                    const std::vector<MailCandidate>& entries) {
    TPickRecipientDlg dialog(name, entries, &form_);
    if (Prompter::Exec(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Choice();
}

bool TMailHost::ConfirmFax(const QString& recipient, const QString& number,
                           const QString& document) {
    const QString to =
        recipient.isEmpty() ? number : QStringLiteral("%1 at %2").arg(recipient, number);
    const QString text =
        document.isEmpty()
            ? QStringLiteral("Send a fax cover page to %1?").arg(to)
            : QStringLiteral("Send %1 by fax to %2?").arg(QFileInfo(document).fileName(), to);
    return Prompter::Ask(&form_, text, QStringLiteral("Send Fax"),
                         QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::Question) == QMessageBox::Yes;
}

void TMailHost::ShowMailProblem(const QString& text) {
    Prompter::Ask(&form_, text, QStringLiteral("Send Mail"), QMessageBox::Ok,
                  QMessageBox::Critical);
}

} // namespace quill::gui
