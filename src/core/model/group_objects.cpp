#include "core/model/group_objects.h"

#include "core/model/record_text.h"

namespace quill {

std::string CategoriesOnlyRecord(const TNRBObject& item, int level) {
    std::string out;
    AppendHeaderLine(out, level, item.Kind(), item.Title(), item.Target(), item.Comment(),
                     item.Id());
    out.append(kLineEnd);
    DataLineBuilder(out, DataLineTag(item.Kind())).Number(item.Categories());
    return out;
}

void ReadCategoriesOnly(TNRBObject& item, std::string_view text) {
    DataLineReader r;
    if (r.Open(text, DataLineTag(item.Kind()))) {
        item.SetCategories(r.CategoriesAt(0));
    }
}

TFolderObject::TFolderObject(std::string_view title, std::string_view target,
                             std::string_view comment, std::int32_t id, std::string_view dataLine)
    : TNRBObject(kFolderKind, title, target, comment, id) {
    TFolderObject::ReadDataLine(dataLine);
}

void TFolderObject::ReadDataLine(std::string_view text) {
    ReadCategoriesOnly(*this, text);
}

std::string TFolderObject::RecordText(int level) const {
    return CategoriesOnlyRecord(*this, level);
}

TTeamObject::TTeamObject(std::string_view title, std::string_view target, std::string_view comment,
                         std::int32_t id, std::string_view dataLine)
    : TNRBObject(kTeamKind, title, target, comment, id) {
    TTeamObject::ReadDataLine(dataLine);
}

void TTeamObject::ReadDataLine(std::string_view text) {
    ReadCategoriesOnly(*this, text);
}

std::string TTeamObject::RecordText(int level) const {
    return CategoriesOnlyRecord(*this, level);
}

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

std::string TUnknownKindObject::RecordText(int level) const {
    std::string out = HeaderLine(level);
    out.append(kLineEnd);
    out.append(dataLine_);
    return out;
}

} // namespace quill
