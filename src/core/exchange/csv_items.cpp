// Each kind's delimited-text form: the value of a field, and reading a record of fields.

#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"

namespace quill {

#define QUILL_CSV_BASE(Class)                                                                      \
    bool Class::ReadCSVRecord(const std::vector<std::string>& values,                              \
                              const std::vector<std::string>& fieldOrder) {                        \
        return TNRBObject::ReadCSVRecord(values, fieldOrder);                                      \
    }                                                                                              \
    std::string Class::CSVFieldText(std::string_view fieldName) const {                            \
        return TNRBObject::CSVFieldText(fieldName);                                                \
    }
QUILL_CSV_BASE(TPersonObject)
QUILL_CSV_BASE(TOrgObject)
QUILL_CSV_BASE(TAddressObject)
QUILL_CSV_BASE(TPhoneObject)
QUILL_CSV_BASE(TEMailObject)
QUILL_CSV_BASE(TFaxObject)
QUILL_CSV_BASE(TWebObject)
#undef QUILL_CSV_BASE

} // namespace quill
