#pragma once
// Watches an outline while an import runs: it knows every node and item the import added,
// counts them by kind when the import is over, and can take them all out again, putting
// the siblings that an import sorted back in their old order, so that a cancelled import
// leaves the outline exactly as it found it.

#include "core/exchange/import_report.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"

#include <array>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace quill {

// Items per kind (kinds 13 to 255 counted together at kKindCount).
using KindCounts = std::array<std::size_t, kKindCount + 1>;

class TImportRecorder final : public IOutlineObserver {
public:
    explicit TImportRecorder(TOutline& outline);
    ~TImportRecorder() override;
    TImportRecorder(const TImportRecorder&) = delete;
    TImportRecorder& operator=(const TImportRecorder&) = delete;

    // Stops watching; what was recorded stays.
    void Stop();

    // The items added and still there, by kind, the Children of added items included.
    KindCounts Counts() const;
    // Tree items that were added and then taken out again during the import (records that
    // a reader refused).
    std::size_t Dropped() const { return dropped_; }

    // Removes everything that was added and restores the order of the siblings sorted
    // meanwhile. Stops watching first.
    void Undo();

    void NodesInserted(TOutlineNode* parent, int first, int last) override;
    void NodesAboutToBeRemoved(TOutlineNode* parent, int first, int last) override;
    void ItemsAdded(TOutlineNode* holder, int first, int last) override;
    void ItemsAboutToBeRemoved(TOutlineNode* holder, int first, int last) override;
    void ChildrenAboutToBeSorted(TOutlineNode* parent) override;

private:
    // Added nodes whose parent was there before, and added items whose holder was.
    std::vector<TOutlineNode*> TopNodes() const;
    std::vector<TNRBObject*> TopItems() const;
    // The added nodes still there, sorted for lookups.
    std::vector<TOutlineNode*> LiveNodes() const;
    static bool InAddedSubtree(const TOutlineNode* node, const std::vector<TOutlineNode*>& live);
    void Forget(TOutlineNode* node);
    void ForgetItem(TNRBObject* item);

    TOutline* outline_;
    bool watching_ = true;
    // In the order they came; an import adds a great many, so they are kept in vectors, and
    // what goes away again is mostly the last one added (a refused record).
    std::vector<TOutlineNode*> nodes_;
    std::vector<std::pair<TNRBObject*, TOutlineNode*>> items_; // and the holder it joined
    std::unordered_set<TOutlineNode*> goneNodes_;
    std::unordered_set<TNRBObject*> goneItems_;
    std::size_t dropped_ = 0;
    // The child order of each parent before its first sort (top level under nullptr).
    std::unordered_map<TOutlineNode*, std::vector<TOutlineNode*>> orders_;
};

// "3 persons, 1 organization and 12 phone numbers": the counts in words, kind by kind;
// "nothing" when all are 0.
std::string DescribeCounts(const KindCounts& counts);

// What the wizard tells when an import is over: what came in, and how many records of the
// source gave nothing that could be kept (0: no such line).
std::string ImportResultText(const KindCounts& counts, std::size_t notKept);

// The same from a reader's report: the items it created by kind; the records that made no
// item of recordKind (a delimited-text import's record type; -1 when every record makes
// one, as every card of a vCard file does); and what the source held that no item keeps,
// by name and counted ("Not kept from the file: PHOTO (2), X-SKYPE (1)."), the first
// kMaxNotKeptNames names and how many more.
inline constexpr std::size_t kMaxNotKeptNames = 12;
std::string ImportResultText(const TImportReport& report, int recordKind);

} // namespace quill
