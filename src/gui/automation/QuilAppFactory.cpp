#include "gui/automation/QuilAppFactory.h"

#include "gui/automation/AutomationServer.h"

#include <QDBusMessage>

namespace quill::gui {

QDBusObjectPath QuilAppFactory::CreateObject() {
    if (!calledFromDBus()) {
        return server_.CreateObject(QString());
    }
    if (!server_.Admit(*this)) {
        return {};
    }
    return server_.CreateObject(message().service());
}

} // namespace quill::gui
