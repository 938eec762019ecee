#pragma once
// Contact points: postal addresses, phones, e-mail addresses and faxes (children in their
// holder's list) and websites (tree items of their own).

#include "core/model/group_objects.h"
#include "core/model/nrb_object.h"

#include <memory>
#include <vector>

namespace quill {

class TAddressObject : public TNRBObject {
public:
    TAddressObject(std::string_view title, std::string_view target, std::string_view comment,
                   std::int32_t id, std::string_view dataLine);
    void ReadDataLine(std::string_view text) override;
    void SetupActionMenu(ActionMenu& menu) const override;
    bool EditNew(TOutlineNode* node) override;
    void Edit() override;
    std::string ClipboardText() const override;

    // All lines typed; only the first three are written to the record.
    std::size_t LineCount() const;
    std::string_view Line(std::size_t i) const;
    std::vector<std::string_view> Lines() const;
    void SetLines(const std::vector<std::string>& lines);
    // Appends empty lines until there are at least three.
    void PadLines();
    std::string_view City() const { return city_; }
    std::string_view State() const { return state_; }
    std::string_view PostCode() const { return postCode_; }
    std::string_view Country() const { return country_; }
    void SetCity(std::string_view text) { city_ = Cleaned(text); }
    void SetState(std::string_view text) { state_ = Cleaned(text); }
    void SetPostCode(std::string_view text) { postCode_ = Cleaned(text); }
    void SetCountry(std::string_view text) { country_ = Cleaned(text); }

    // Exchange forms (defined in core/exchange).
    std::string VCardLine() const override;
    bool ReadCSVRecord(const std::vector<std::string>& values,
                       const std::vector<std::string>& fieldOrder) override;
    std::string CSVFieldText(std::string_view fieldName) const override;
    void WriteHTMLBody(std::ostream& out, bool vCardLinks) const override;

protected:
    bool AppendDataLine(std::string& out) const override;

private:
    void AppendLine(std::string_view line);

    // Three lines live in place, as almost every address has; more go to the overflow. The
    // lines given fill the places from the first, so the null places tell the count.
    CompactString firstLines_[3];
    std::unique_ptr<std::vector<CompactString>> moreLines_;
    CompactString city_;
    CompactString state_;
    CompactString postCode_;
    CompactString country_;
};

class TPhoneObject : public TNRBObject {
public:
    TPhoneObject(std::string_view title, std::string_view target, std::string_view comment,
                 std::int32_t id, std::string_view dataLine);
    void ReadDataLine(std::string_view text) override;
    void SetupActionMenu(ActionMenu& menu) const override;
    bool EditNew(TOutlineNode* node) override;
    void Edit() override;
    void Dial() override;
    void Activate() override;

    std::string_view Extension() const { return extension_; }
    void SetExtension(std::string_view text) { extension_ = Cleaned(text); }

    // Exchange forms (defined in core/exchange).
    std::string VCardLine() const override;
    bool ReadCSVRecord(const std::vector<std::string>& values,
                       const std::vector<std::string>& fieldOrder) override;
    std::string CSVFieldText(std::string_view fieldName) const override;

protected:
    bool AppendDataLine(std::string& out) const override;

private:
    CompactString extension_;
};

class TEMailObject : public TCategoriesOnlyObject {
public:
    TEMailObject(std::string_view title, std::string_view target, std::string_view comment,
                 std::int32_t id, std::string_view dataLine);
    void SetupActionMenu(ActionMenu& menu) const override;
    bool EditNew(TOutlineNode* node) override;
    void Edit() override;
    void Activate() override;
    void SendMail(std::string_view text) override;
    // Exchange forms (defined in core/exchange).
    std::string VCardLine() const override;
    bool ReadCSVRecord(const std::vector<std::string>& values,
                       const std::vector<std::string>& fieldOrder) override;
    std::string CSVFieldText(std::string_view fieldName) const override;
    void WriteHTMLBody(std::ostream& out, bool vCardLinks) const override;
};

class TFaxObject : public TCategoriesOnlyObject {
public:
    TFaxObject(std::string_view title, std::string_view target, std::string_view comment,
               std::int32_t id, std::string_view dataLine);
    void SetupActionMenu(ActionMenu& menu) const override;
    bool EditNew(TOutlineNode* node) override;
    void Edit() override;
    void Dial() override;
    void Activate() override;
    void SendFax(std::string_view text) override;
    // Exchange forms (defined in core/exchange).
    std::string VCardLine() const override;
    bool ReadCSVRecord(const std::vector<std::string>& values,
                       const std::vector<std::string>& fieldOrder) override;
    std::string CSVFieldText(std::string_view fieldName) const override;
};

class TWebObject : public TCategoriesOnlyObject {
public:
    TWebObject(std::string_view title, std::string_view target, std::string_view comment,
               std::int32_t id, std::string_view dataLine);
    void SetupActionMenu(ActionMenu& menu) const override;
    bool EditNew(TOutlineNode* node) override;
    void Edit() override;
    void Activate() override;
    void Browse() override;
    // Exchange forms (defined in core/exchange).
    std::string VCardLine() const override;
    bool ReadCSVRecord(const std::vector<std::string>& values,
                       const std::vector<std::string>& fieldOrder) override;
    std::string CSVFieldText(std::string_view fieldName) const override;
    void WriteHTMLBody(std::ostream& out, bool vCardLinks) const override;
    void WriteHTMLIndexEntry(std::ostream& out, std::string_view pageName) const override;
    bool ShowsInHTMLIndex() const override;
};

} // namespace quill
