#include "core/model/group_objects.h"

#include "core/model/record_text.h"

namespace quill {

TCategoriesOnlyObject::TCategoriesOnlyObject(int kind, std::string_view title,
                                             std::string_view target, std::string_view comment,
                                             std::int32_t id, std::string_view dataLine)
    : TNRBObject(kind, title, target, comment, id) {
    TCategoriesOnlyObject::ReadDataLine(dataLine);
}

void TCategoriesOnlyObject::ReadDataLine(std::string_view text) {
    DataLineReader r;
    if (r.Open(text, DataLineTag(Kind()))) {
        SetCategories(r.CategoriesAt(0));
    }
}

bool TCategoriesOnlyObject::AppendDataLine(std::string& out) const {
    DataLineBuilder(out, DataLineTag(Kind())).Number(Categories());
    return true;
}

TFolderObject::TFolderObject(std::string_view title, std::string_view target,
                             std::string_view comment, std::int32_t id, std::string_view dataLine)
    : TCategoriesOnlyObject(kFolderKind, title, target, comment, id, dataLine) {}

TTeamObject::TTeamObject(std::string_view title, std::string_view target, std::string_view comment,
                         std::int32_t id, std::string_view dataLine)
    : TCategoriesOnlyObject(kTeamKind, title, target, comment, id, dataLine) {}

TUnknownKindObject::TUnknownKindObject(int kind, std::string_view title, std::string_view target,
                                       std::string_view comment, std::int32_t id,
                                       std::string_view dataLine)
    : TNRBObject(kind, title, target, comment, id) {
    TUnknownKindObject::ReadDataLine(dataLine);
}

void TUnknownKindObject::ReadDataLine(std::string_view text) {
    // Kept as read; only line breaks could break the record, and a read line has none.
    dataLine_ =
        text.find_first_of("\r\n") == std::string_view::npos ? CompactString(text) : Cleaned(text);
}

bool TUnknownKindObject::AppendDataLine(std::string& out) const {
    out.append(dataLine_);
    return true;
}

} // namespace quill
