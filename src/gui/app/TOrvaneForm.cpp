#include "gui/app/TOrvaneForm.h"

#include "gui/common/Pictures.h"
#include "gui/common/PlainToolTip.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

namespace quill::gui {

TOrvaneForm::TOrvaneForm(QObject* parent)
    : QObject(parent), trayPopup_(std::make_unique<QMenu>()),
      trayIcon_(std::make_unique<QSystemTrayIcon>()) {
    trayPopup_->setObjectName(QStringLiteral("TrayPopup"));
    restore_ = trayPopup_->addAction(QStringLiteral("&Restore"));
    restore_->setObjectName(QStringLiteral("Restore1"));
    trayPopup_->addSeparator();
    toolsMenu_ = trayPopup_->addMenu(QStringLiteral("&Tools"));
    toolsMenu_->setObjectName(QStringLiteral("Tools1"));
    getUrl_ = trayPopup_->addAction(QStringLiteral("&Get Browser URL"));
    getUrl_->setObjectName(QStringLiteral("GetBrowserURL1"));
    trayPopup_->addSeparator();
    exit_ = trayPopup_->addAction(QStringLiteral("&Exit"));
    exit_->setObjectName(QStringLiteral("Exit1"));

    connect(restore_, &QAction::triggered, this, &TOrvaneForm::restoreRequested);
    connect(getUrl_, &QAction::triggered, this, &TOrvaneForm::getUrlRequested);
    connect(exit_, &QAction::triggered, this, &TOrvaneForm::exitRequested);

    trayIcon_->setObjectName(QStringLiteral("TrayIcon"));
    trayIcon_->setIcon(ProgramIcon());
    trayIcon_->setContextMenu(trayPopup_.get());
    SetToolTip(kInitialToolTip);
    // The right button opens TrayPopup by itself; a double click does nothing.
    connect(trayIcon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) {
                    emit restoreRequested();
                }
            });
    // Shown even where no tray is there yet: a panel started after the program (as at the
    // start of a session) then takes the icon when it comes.
    trayIcon_->show();
}

TOrvaneForm::~TOrvaneForm() {
    trayIcon_->hide();
    trayIcon_->setContextMenu(nullptr);
}

bool TOrvaneForm::TrayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

QString TOrvaneForm::CutToolTip(const QString& text) {
    if (text.size() <= kToolTipLimit) {
        return text;
    }
    qsizetype length = kToolTipLimit;
    if (text.at(length - 1).isHighSurrogate()) {
        --length;
    }
    return text.left(length);
}

void TOrvaneForm::SetToolTip(const QString& text) {
    toolTip_ = CutToolTip(text);
    // The path holds titles, which may hold "<" and "&".
    trayIcon_->setToolTip(PlainToolTip(toolTip_));
}

QString TOrvaneForm::ToolTip() const {
    return toolTip_;
}

void TOrvaneForm::SetIcon(const QIcon& icon) {
    trayIcon_->setIcon(icon);
}

} // namespace quill::gui
