#pragma once
// Keeps a recovery copy of the outline, "quil.dat.autosave", so that a crash or a power cut
// costs at most the last few seconds of work: written a few seconds after the outline
// changes, and at the latest a minute after the first change while changes keep coming.
// Save and a clean Exit remove it; a start that finds it newer than the data file offers it
// back. It is only a copy: Save and Revert keep their meaning.

#include "core/model/outline.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <string>

namespace quill::gui {

class Autosaver final : public QObject, public IOutlineObserver {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kQuietDelay{3000};
    static constexpr std::chrono::milliseconds kLongestDelay{60000};

    Autosaver(TOutline& outline, std::string path, QObject* parent = nullptr);
    ~Autosaver() override;

    const std::string& Path() const { return path_; }
    // Shorter delays for tests.
    void SetDelays(std::chrono::milliseconds quiet, std::chrono::milliseconds longest) {
        quiet_.setInterval(quiet);
        longest_.setInterval(longest);
    }
    // Something changed that the outline does not announce (an editor's OK).
    void MarkChanged();
    // Whether changes wait to be written.
    bool Pending() const { return pending_; }
    // Writes the copy now when changes wait; false when writing failed.
    bool WriteNow();
    // The outline was saved (or read afresh): the copy goes, nothing waits.
    void Discard();

    // IOutlineObserver: every change of the outline starts the delay.
    void NodesInserted(TOutlineNode*, int, int) override { MarkChanged(); }
    void NodesRemoved(TOutlineNode*, int, int) override { MarkChanged(); }
    void NodesMoved(TOutlineNode*, int, int) override { MarkChanged(); }
    void ChildrenSorted(TOutlineNode*) override { MarkChanged(); }
    void NodeChanged(TOutlineNode*) override { MarkChanged(); }
    void ItemsAdded(TOutlineNode*, int, int) override { MarkChanged(); }
    void ItemsRemoved(TOutlineNode*, int, int) override { MarkChanged(); }
    void ItemChanged(TNRBObject*) override { MarkChanged(); }

signals:
    // A copy could not be written; the text names the file and the reason.
    void writeFailed(const QString& problem);

private:
    void Due();

    TOutline& outline_;
    std::string path_;
    QTimer quiet_;
    QTimer longest_;
    bool pending_ = false;
    bool failedBefore_ = false;
};

} // namespace quill::gui
