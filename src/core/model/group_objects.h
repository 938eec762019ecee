#pragma once
// Folders and teams: tree items that only group other items.

#include "core/model/nrb_object.h"

namespace quill {

// A kind whose data line holds its tag and Categories alone: folders, teams, websites,
// e-mail addresses, faxes and documents.
class TCategoriesOnlyObject : public TNRBObject {
public:
    void ReadDataLine(std::string_view text) override;

protected:
    bool AppendDataLine(std::string& out) const override;
    TCategoriesOnlyObject(int kind, std::string_view title, std::string_view target,
                          std::string_view comment, std::int32_t id, std::string_view dataLine);
};

class TFolderObject : public TCategoriesOnlyObject {
public:
    TFolderObject(std::string_view title, std::string_view target, std::string_view comment,
                  std::int32_t id, std::string_view dataLine);
    void Edit() override;
    // Exchange forms (defined in core/exchange).
    void WriteHTMLBody(std::ostream& out, bool vCardLinks) const override;
    void WriteHTMLIndexEntry(std::ostream& out, std::string_view pageName) const override;
};

class TTeamObject : public TCategoriesOnlyObject {
public:
    TTeamObject(std::string_view title, std::string_view target, std::string_view comment,
                std::int32_t id, std::string_view dataLine);
    void Edit() override;
    // Exchange forms (defined in core/exchange).
    void WriteHTMLBody(std::ostream& out, bool vCardLinks) const override;
    void WriteHTMLIndexEntry(std::ostream& out, std::string_view pageName) const override;
};

// An item of a kind from 13 to 255, met only when reading records. It keeps the data line
// it was read with and writes it back, so the record behind it is never taken for its
// data line when the file is read again.
class TUnknownKindObject : public TNRBObject {
public:
    TUnknownKindObject(int kind, std::string_view title, std::string_view target,
                       std::string_view comment, std::int32_t id, std::string_view dataLine);
    void ReadDataLine(std::string_view text) override;
    std::string_view DataLine() const { return dataLine_; }

protected:
    bool AppendDataLine(std::string& out) const override;

private:
    CompactString dataLine_;
};

} // namespace quill
