#pragma once
// The program's hidden main form: never shown, it owns the notification-area
// (tray) icon and its menu. Closing the main window only hides it; the tray icon brings it
// back or ends the program. The owner connects the signals: restoreRequested to showing and
// activating the main window, getUrlRequested to the main window's new website from the
// browser, exitRequested to ending the program; it fills ToolsMenu() with one
// entry per configured tool.
//
// Where the desktop has no notification area (QSystemTrayIcon::isSystemTrayAvailable()
// false) the form still works: the icon waits for a tray to come, and the main window must
// stay reachable by itself (the owner should then not start hidden).

#include <QObject>
#include <QString>

#include <memory>

class QAction;
class QIcon;
class QMenu;
class QSystemTrayIcon;

namespace quill::gui {

class TOrvaneForm final : public QObject {
    Q_OBJECT

public:
    static constexpr int kToolTipLimit = 62;
    static inline const QString kInitialToolTip = QStringLiteral("Click to view main window");

    // Adds the tray icon (program icon, initial tooltip, TrayPopup) at once.
    explicit TOrvaneForm(QObject* parent = nullptr);
    // Removes the tray icon.
    ~TOrvaneForm() override;

    // Whether the desktop has a notification area to show the icon in.
    static bool TrayAvailable();
    // A text as the tray shows it: cut to 62 characters (never inside a surrogate pair).
    static QString CutToolTip(const QString& text);

    void SetToolTip(const QString& text);
    QString ToolTip() const;
    void SetIcon(const QIcon& icon);

    QSystemTrayIcon* TrayIcon() const { return trayIcon_.get(); }
    QMenu* TrayPopup() const { return trayPopup_.get(); }
    // The "&Tools" submenu: empty until the owner fills it.
    QMenu* ToolsMenu() const { return toolsMenu_; }
    QAction* RestoreAction() const { return restore_; }
    QAction* GetBrowserUrlAction() const { return getUrl_; }
    QAction* ExitAction() const { return exit_; }

signals:
    // A left click on the icon (TrayIconClick) or "&Restore" (Restore1Click).
    void restoreRequested();
    // "&Get Browser URL" (GetBrowserURL1Click).
    void getUrlRequested();
    // "&Exit" (Exit1Click): the program ends, saving as the main window is destroyed.
    void exitRequested();

private:
    std::unique_ptr<QMenu> trayPopup_;
    std::unique_ptr<QSystemTrayIcon> trayIcon_;
    QMenu* toolsMenu_ = nullptr;
    QAction* restore_ = nullptr;
    QAction* getUrl_ = nullptr;
    QAction* exit_ = nullptr;
    QString toolTip_;
};

} // namespace quill::gui
