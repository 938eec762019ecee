#include "gui/mainwindow/Autosaver.h"

#include "core/storage/data_file.h"

#include <cstdio>

namespace quill::gui {

Autosaver::Autosaver(TOutline& outline, std::string path, QObject* parent)
    : QObject(parent), outline_(outline), path_(std::move(path)) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(kQuietDelay);
    longest_.setSingleShot(true);
    longest_.setInterval(kLongestDelay);
    connect(&quiet_, &QTimer::timeout, this, &Autosaver::Due);
    connect(&longest_, &QTimer::timeout, this, &Autosaver::Due);
    outline_.AddObserver(this);
}

Autosaver::~Autosaver() {
    outline_.RemoveObserver(this);
}

void Autosaver::MarkChanged() {
    pending_ = true;
    quiet_.start(); // each change waits for a quiet moment again ...
    if (!longest_.isActive()) {
        longest_.start(); // ... but never longer than this after the first
    }
}

void Autosaver::Due() {
    // An import or a reload in progress (it may let the event loop run for its progress
    // window) is written once it is whole.
    if (outline_.Updating()) {
        quiet_.start();
        return;
    }
    WriteNow();
}

bool Autosaver::WriteNow() {
    quiet_.stop();
    longest_.stop();
    if (!pending_) {
        return true;
    }
    const FileResult written = WriteDataFileCopy(outline_, path_, {.userOnly = true});
    if (!written) {
        // Tried again with the next change; told once, not every few seconds.
        if (!failedBefore_) {
            failedBefore_ = true;
            emit writeFailed(QString::fromStdString(written.message));
        }
        return false;
    }
    failedBefore_ = false;
    pending_ = false;
    return true;
}

void Autosaver::Discard() {
    quiet_.stop();
    longest_.stop();
    pending_ = false;
    std::remove(path_.c_str());
}

} // namespace quill::gui
