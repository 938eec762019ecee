#include "platform/QtClipboard.h"

#include "platform/Utf8Text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quill::platform {
namespace {

QString Mime() {
    return QString::fromLatin1(kPrivateClipboardMime);
}

QByteArray WithZero(std::string_view text) {
    QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    if (bytes.isEmpty() || bytes.back() != '\0') {
        bytes.append('\0');
    }
    return bytes;
}

// Setting new data replaces whatever was there: that is the "empty, then store".
void Put(QMimeData* data) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setMimeData(data);
    } else {
        delete data;
    }
}

} // namespace

void QtClipboard::StoreRecord(std::string_view recordWithZero, std::string_view plainText) {
    auto* data = new QMimeData;
    data->setData(Mime(), WithZero(recordWithZero));
    data->setText(FromUtf8(plainText));
    Put(data);
}

void QtClipboard::SetRecordsOnly(std::string_view records) {
    auto* data = new QMimeData;
    data->setData(Mime(), WithZero(records));
    Put(data);
}

void QtClipboard::SetRecordsWithContact(std::string_view records, std::string_view plainText,
                                        std::string_view vcard) {
    auto* data = new QMimeData;
    data->setData(Mime(), WithZero(records));
    if (!plainText.empty()) {
        data->setText(
            QString::fromUtf8(plainText.data(), static_cast<qsizetype>(plainText.size())));
    }
    if (!vcard.empty()) {
        data->setData(QStringLiteral("text/vcard"),
                      QByteArray(vcard.data(), static_cast<qsizetype>(vcard.size())));
    }
    Put(data);
}

bool QtClipboard::HasPrivateFormat() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasFormat(Mime());
}

std::optional<std::string> QtClipboard::Records() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasFormat(Mime())) {
        return std::nullopt;
    }
    QByteArray bytes = data->data(Mime());
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0) {
        bytes.truncate(zero);
    }
    return bytes.toStdString();
}

} // namespace quill::platform
