#pragma once
// Documents, reminders and tools: attachments held in a tree item's Children.

#include "core/model/group_objects.h"
#include "core/model/nrb_object.h"
#include "core/model/recurring_date.h"

namespace quill {

class TDocObject : public TCategoriesOnlyObject {
public:
    // Takes the icon of the Target file into the image lists.
    TDocObject(std::string_view title, std::string_view target, std::string_view comment,
               std::int32_t id, std::string_view dataLine);
    int GetImageIndex() const override { return iconIndex_; }
    void SetupActionMenu(ActionMenu& menu) const override;
    bool EditNew(TOutlineNode* node) override;
    void Edit() override;
    void Launch() override;
    void Activate() override;

    int IconIndex() const { return iconIndex_; }
    // Takes the Target file's icon afresh: a new image the first time, the same image
    // replaced after that.
    void UpdateIcon();

    // Exchange forms (defined in core/exchange).
    void WriteHTMLBody(std::ostream& out, bool vCardLinks) const override;

private:
    int iconIndex_ = kGenericFileImage;
};

class TReminderObject : public TNRBObject {
public:
    TReminderObject(std::string_view title, std::string_view target, std::string_view comment,
                    std::int32_t id, std::string_view dataLine);
    // 11 once today is on or after the date (worked out at each call), else 9.
    int GetImageIndex() const override;
    void ReadDataLine(std::string_view text) override;
    void SetupActionMenu(ActionMenu& menu) const override;
    bool EditNew(TOutlineNode* node) override;
    void Edit() override;
    void Activate() override;
    void AdvanceDate() override;

    TRecurringDate& RecurringDate() { return date_; }
    const TRecurringDate& RecurringDate() const { return date_; }
    // Sets the due mark by today's date against the reminder's date.
    void UpdateDue();
    // Selects the first node and then the holder's node, so the list is shown afresh.
    void RefreshViews();

protected:
    bool AppendDataLine(std::string& out) const override;

private:
    TRecurringDate date_;
};

class TToolObject : public TNRBObject {
public:
    TToolObject(std::string_view title, std::string_view target, std::string_view comment,
                std::int32_t id, std::string_view dataLine);
    int GetImageIndex() const override { return iconIndex_; }
    void ReadDataLine(std::string_view text) override;
    void SetupActionMenu(ActionMenu& menu) const override;
    bool EditNew(TOutlineNode* node) override;
    void Edit() override;
    void Launch() override;
    void Activate() override;

    std::string_view Program() const { return program_; }
    std::string_view Parameters() const { return parameters_; }
    void SetProgram(std::string_view text) { program_ = Cleaned(text); }
    void SetParameters(std::string_view text) { parameters_ = Cleaned(text); }
    int IconIndex() const { return iconIndex_; }

protected:
    bool AppendDataLine(std::string& out) const override;

private:
    CompactString program_;
    CompactString parameters_;
    int iconIndex_ = kGenericFileImage;
};

// The parameter text a program is started with: the parameters, a blank and the target when
// either is not empty (an empty target leaves the trailing blank), else none.
std::string ToolParameterText(std::string_view parameters, std::string_view target);
// The directory part of a path, up to and including its last "/"; empty without one.
std::string DirectoryPart(std::string_view path);

} // namespace quill
