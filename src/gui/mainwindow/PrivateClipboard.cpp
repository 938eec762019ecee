#include "gui/mainwindow/PrivateClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quill::gui {
namespace {

QByteArray WithZero(std::string_view text) {
    QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    if (bytes.isEmpty() || bytes.back() != '\0') {
        bytes.append('\0');
    }
    return bytes;
}

} // namespace

void PrivateClipboard::StoreRecord(std::string_view recordWithZero, std::string_view plainText) {
    auto* data = new QMimeData;
    data->setData(QLatin1String(kPrivateClipboardMime), WithZero(recordWithZero));
    data->setText(QString::fromUtf8(plainText.data(), static_cast<qsizetype>(plainText.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

void PrivateClipboard::SetRecordsOnly(std::string_view records) {
    auto* data = new QMimeData;
    data->setData(QLatin1String(kPrivateClipboardMime), WithZero(records));
    QGuiApplication::clipboard()->setMimeData(data);
}

std::optional<std::string> PrivateClipboard::Records() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(QLatin1String(kPrivateClipboardMime))) {
        return std::nullopt;
    }
    QByteArray bytes = data->data(QLatin1String(kPrivateClipboardMime));
    // The text ends at its zero byte.
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0) {
        bytes.truncate(zero);
    }
    return bytes.toStdString();
}

} // namespace quill::gui
