#pragma once
// The item base class: the common fields, the children, the due mark and the 24 virtual
// operations every item kind answers, in their fixed slot order.

#include "core/model/action_menu.h"
#include "core/model/compact_string.h"
#include "core/model/item_kind.h"
#include "core/model/model_heap.h"
#include "core/model/owned_list.h"
#include "core/util/file_result.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TOutlineNode;
class TCard;

class TNRBObject {
public:
    // Texts are cleaned for the record format (no "~~", no line breaks).
    TNRBObject(int kind, std::string_view title, std::string_view target, std::string_view comment,
               std::int32_t id);
    virtual ~TNRBObject();
    TNRBObject(const TNRBObject&) = delete;
    TNRBObject& operator=(const TNRBObject&) = delete;
    QUILL_MODEL_HEAP_OBJECT

    // Common fields.
    std::int32_t Categories() const { return categories_; }
    void SetCategories(std::int32_t categories);
    bool InCategory(int category) const; // 1 to 32
    std::int32_t Id() const { return id_; }
    void SetId(std::int32_t id) { id_ = id; }
    std::uint8_t Kind() const { return kind_; }
    bool IsTreeItem() const { return IsTreeKind(kind_) || kind_ == kRootKind; }
    std::string_view Title() const { return title_; }
    std::string_view Target() const { return target_; }
    std::string_view Comment() const { return comment_; }

    // Renames; the node's caption follows when it showed the old title, and the node's
    // siblings are sorted again.
    void SetTitle(std::string_view title);
    void SetTarget(std::string_view target);
    void SetComment(std::string_view comment);

    // For a tree item its own node, for a child item its holder's node.
    TOutlineNode* Node() const { return node_; }
    void SetNode(TOutlineNode* node);

    // Due mark: set on a due reminder; DueCount counts due reminders at or below a node.
    bool Due() const { return due_; }
    std::int32_t DueCount() const { return dueCount_; }
    void SetDue(bool due);

    // Children: contact points and attachments, in the order they were added.
    std::size_t ChildCount() const { return children_.size(); }
    TNRBObject* ChildAt(std::size_t position) const;
    int ChildIndex(const TNRBObject* child) const; // -1 when not a child
    TNRBObject* AddChild(std::unique_ptr<TNRBObject> child);
    void RemoveChild(TNRBObject* child);
    std::unique_ptr<TNRBObject> UnlinkChild(TNRBObject* child);

    // First child (then first direct child node) whose Title equals title exactly and whose
    // Kind equals kind; none for an empty title.
    TNRBObject* FindChild(std::string_view title, int kind) const;
    // First child whose lower-cased Title holds the text at its start or after a blank.
    TNRBObject* FindChildByWord(std::string_view lowerText) const;
    // Titles of the children of the kind; for websites also the website child nodes.
    void ListChildTitles(int kind, std::vector<std::string>& list) const;

    // The virtual operations, in slot order.
    virtual int GetImageIndex() const;
    virtual void ReadDataLine(std::string_view text);
    // The record as AppendRecord writes it.
    virtual std::string RecordText(int level) const;
    virtual void SetupActionMenu(ActionMenu& menu) const;
    virtual int GetSelectedIndex() const;
    virtual bool EditNew(TOutlineNode* node);
    virtual bool ReadCSVRecord(const std::vector<std::string>& values,
                               const std::vector<std::string>& fieldOrder);
    virtual std::string CSVFieldText(std::string_view fieldName) const;
    virtual void ReadVCard(const TCard& card);
    virtual void Activate();
    virtual void Edit();
    virtual void SendMail(std::string_view text);
    virtual void SendFax(std::string_view text);
    virtual void Dial();
    virtual void Browse();
    virtual void AdvanceDate();
    virtual void Launch();
    virtual void WriteHTMLBody(std::ostream& out, bool vCardLinks) const;
    virtual void WriteHTMLIndexEntry(std::ostream& out, std::string_view pageName) const;
    virtual bool ShowsInHTMLIndex() const;
    // Writes the item's card as a file of its own; kinds without a card write nothing.
    virtual FileResult SaveVCardFile(const std::string& fileName) const;
    virtual std::string VCardLine() const;
    virtual void CopyToClipboard() const;
    virtual std::string ClipboardText() const;

    // Appends the record: the header line and, for every kind but the root, a line break
    // and the data line; no line end behind it. Savers append straight into their buffer.
    void AppendRecord(std::string& out, int level) const;
    // Asks for the memory AppendRecord reads first (the three texts of the header), ahead
    // of a walk that comes to this item soon.
    void PrefetchRecord() const;

protected:
    // Appends the kind's data line; false (and nothing appended) for a kind without one.
    virtual bool AppendDataLine(std::string& out) const;
    // Tells the outline's observers that a field shown in the views changed.
    void NotifyChanged();

private:
    friend class TOutline;
    void AdjustDueCount(int delta);

    std::int32_t categories_ = 0;
    std::int32_t id_ = 0;
    std::uint8_t kind_ = 0;
    bool due_ = false;
    std::int32_t dueCount_ = 0;
    CompactString title_;
    CompactString target_;
    CompactString comment_;
    OwnedList<TNRBObject> children_;
    TOutlineNode* node_ = nullptr;
};

// The text made safe for a record field (see CleanField), as stored by every setter.
CompactString Cleaned(std::string_view text);

// The ordering rule of tree and list: folders first, then by Title without regard to the
// case of A to Z.
bool ItemSortsBefore(const TNRBObject& a, const TNRBObject& b);

// "http:", "https:", "wais:", "news:", "ftp:", "mailto:", "gopher:" or "telnet:" (any
// case) in front and longer than 7 characters.
bool IsURL(std::string_view text);
bool IsInternetAddress(std::string_view text);

} // namespace quill
