#pragma once
// The factory at /Quil/Application, interface "Quil.Application.Factory": CreateObject makes
// an automation object with its own cursor, at the top node, and returns its path.

#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>

namespace quill::gui {

class AutomationServer;

class QuilAppFactory final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "Quil.Application.Factory")

public:
    explicit QuilAppFactory(AutomationServer& server) : server_(server) {}

public slots:
    QDBusObjectPath CreateObject();

private:
    AutomationServer& server_;
};

} // namespace quill::gui
