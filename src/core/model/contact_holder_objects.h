#pragma once
// Persons and organizations: tree items that carry contact points and name one of each kind
// (address, phone, fax, e-mail, website) as primary, by its Title.

#include "core/model/nrb_object.h"

namespace quill {

class DataLineReader;
class DataLineBuilder;

class TContactHolderObject : public TNRBObject {
public:
    std::string_view PrimaryAddress() const { return primaryAddress_; }
    std::string_view PrimaryPhone() const { return primaryPhone_; }
    std::string_view PrimaryFax() const { return primaryFax_; }
    std::string_view PrimaryEMail() const { return primaryEMail_; }
    std::string_view PrimaryWebsite() const { return primaryWebsite_; }
    void SetPrimaryAddress(std::string_view title) { primaryAddress_ = Cleaned(title); }
    void SetPrimaryPhone(std::string_view title) { primaryPhone_ = Cleaned(title); }
    void SetPrimaryFax(std::string_view title) { primaryFax_ = Cleaned(title); }
    void SetPrimaryEMail(std::string_view title) { primaryEMail_ = Cleaned(title); }
    void SetPrimaryWebsite(std::string_view title) { primaryWebsite_ = Cleaned(title); }

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
    CompactString primaryAddress_;
    CompactString primaryPhone_;
    CompactString primaryFax_;
    CompactString primaryEMail_;
    CompactString primaryWebsite_;
};

class TOrgObject : public TContactHolderObject {
public:
    TOrgObject(std::string_view title, std::string_view target, std::string_view comment,
               std::int32_t id, std::string_view dataLine);
    void ReadDataLine(std::string_view text) override;
    // Exchange forms (defined in core/exchange).
    void ReadVCard(const TCard& card) override;
    void SaveVCardFile(const std::string& fileName) const override;
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
    void SaveVCardFile(const std::string& fileName) const override;
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
