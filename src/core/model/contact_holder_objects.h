#pragma once
// Persons and organizations: tree items that carry contact points and name one of each kind
// (address, phone, fax, e-mail, website) as primary, by its Title.

#include "core/model/nrb_object.h"

#include <array>
#include <optional>

namespace quill {

class DataLineReader;
class DataLineBuilder;

class TContactHolderObject : public TNRBObject {
public:
    ~TContactHolderObject() override;

    std::string_view PrimaryAddress() const { return Primary(kAddressSlot); }
    std::string_view PrimaryPhone() const { return Primary(kPhoneSlot); }
    std::string_view PrimaryFax() const { return Primary(kFaxSlot); }
    std::string_view PrimaryEMail() const { return Primary(kEMailSlot); }
    std::string_view PrimaryWebsite() const { return Primary(kWebsiteSlot); }
    void SetPrimaryAddress(std::string_view title) { SetPrimary(kAddressSlot, title); }
    void SetPrimaryPhone(std::string_view title) { SetPrimary(kPhoneSlot, title); }
    void SetPrimaryFax(std::string_view title) { SetPrimary(kFaxSlot, title); }
    void SetPrimaryEMail(std::string_view title) { SetPrimary(kEMailSlot, title); }
    void SetPrimaryWebsite(std::string_view title) { SetPrimary(kWebsiteSlot, title); }
    // The Primary fields given, in the order address, phone, fax, e-mail, website (none keeps
    // a field), set in one go: an import names several for each of a million holders.
    void SetPrimaryTitles(const std::array<std::optional<std::string_view>, 5>& titles);

    // The primary contact point of the kind, none when the Primary field names no child.
    TNRBObject* PrimaryContact(int kind) const;

    void SetupActionMenu(ActionMenu& menu) const override;
    bool EditNew(TOutlineNode* node) override;
    void Edit() override;
    void SendMail(std::string_view text) override;
    void SendFax(std::string_view text) override;
    void Dial() override;
    void Browse() override;

protected:
    TContactHolderObject(int kind, std::string_view title, std::string_view target,
                         std::string_view comment, std::int32_t id);
    // The five Primary fields from position first on; those the line lacks keep their value.
    void ReadPrimaries(const DataLineReader& r, std::size_t first);
    void AppendPrimaries(DataLineBuilder& b) const;

private:
    enum Slot { kAddressSlot, kPhoneSlot, kFaxSlot, kEMailSlot, kWebsiteSlot, kSlotCount };
    struct PrimaryTitles;
    std::string_view Primary(Slot slot) const;
    void SetPrimary(Slot slot, std::string_view title);
    void SetPrimaries(const CompactString (&titles)[kSlotCount]);

    // The five Primary fields, shared by every holder that names the same five titles (most
    // persons name "Primary Address", "Primary Phone" and so on): one pointer instead of
    // five texts. None while all five are empty.
    PrimaryTitles* primaries_ = nullptr;
};

class TOrgObject : public TContactHolderObject {
public:
    TOrgObject(std::string_view title, std::string_view target, std::string_view comment,
               std::int32_t id, std::string_view dataLine);
    void ReadDataLine(std::string_view text) override;
    // Exchange forms (defined in core/exchange).
    void ReadVCard(const TCard& card) override;
    FileResult SaveVCardFile(const std::string& fileName) const override;
    bool ReadCSVRecord(const std::vector<std::string>& values,
                       const std::vector<std::string>& fieldOrder) override;
    std::string CSVFieldText(std::string_view fieldName) const override;
    void WriteHTMLBody(std::ostream& out, bool vCardLinks) const override;
    void WriteHTMLIndexEntry(std::ostream& out, std::string_view pageName) const override;

protected:
    bool AppendDataLine(std::string& out) const override;
};

class TPersonObject : public TContactHolderObject {
public:
    TPersonObject(std::string_view title, std::string_view target, std::string_view comment,
                  std::int32_t id, std::string_view dataLine);
    void ReadDataLine(std::string_view text) override;

    std::string_view Salutation() const { return salutation_; }
    std::string_view FirstName() const { return firstName_; }
    std::string_view MiddleName() const { return middleName_; }
    std::string_view LastName() const { return lastName_; }
    void SetSalutation(std::string_view text) { salutation_ = Cleaned(text); }
    void SetFirstName(std::string_view text) { firstName_ = Cleaned(text); }
    void SetMiddleName(std::string_view text) { middleName_ = Cleaned(text); }
    void SetLastName(std::string_view text) { lastName_ = Cleaned(text); }

    // Salutation, FirstName and LastName joined by single blanks, empty parts included.
    std::string FormalName() const;
    // Exchange forms (defined in core/exchange).
    void ReadVCard(const TCard& card) override;
    FileResult SaveVCardFile(const std::string& fileName) const override;
    bool ReadCSVRecord(const std::vector<std::string>& values,
                       const std::vector<std::string>& fieldOrder) override;
    std::string CSVFieldText(std::string_view fieldName) const override;
    void WriteHTMLBody(std::ostream& out, bool vCardLinks) const override;
    void WriteHTMLIndexEntry(std::ostream& out, std::string_view pageName) const override;

protected:
    bool AppendDataLine(std::string& out) const override;

private:
    CompactString salutation_;
    CompactString firstName_;
    CompactString middleName_;
    CompactString lastName_;
};

} // namespace quill
