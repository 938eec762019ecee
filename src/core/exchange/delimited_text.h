#pragma once
// Delimited text: reading comma- or tab-separated files into items of one record type, and
// writing a subtree's items of a record type as comma-separated values.
//
// Quoting, both ways: a value may be enclosed in double quotes, and then holds separators,
// line breaks (RFC 4180: the record goes on on the next line) and, written twice, the double
// quote itself. Export encloses every value so.

#include "core/exchange/import_report.h"
#include "core/storage/data_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TNRBObject;
class TOutlineNode;
struct TRecordType;

inline constexpr char kCommaSeparator = ',';
inline constexpr char kTabSeparator = '\t';

// The field name of a column that is not imported ("" does the same).
inline constexpr std::string_view kIgnoredField = "(Ignore)";

// True when the text, split as SplitDelimitedLine splits a line, ends inside a quoted value
// that is still open: a record that a line break inside quotes continues on the next line.
bool EndsInOpenQuote(std::string_view text, char separator);

// Splits one line (without its line end) into its values at each separator outside double
// quotes. A value that starts with a double quote runs to the matching one ("" inside stands
// for one quote; text behind the closing quote is kept; an unclosed quote runs to the end);
// any other value is taken as it stands, blanks and stray quotes included. A separator at
// the end adds an empty value; an empty line has no values. values is reused. Values after
// the first maxValues are not kept: the count of those that hold text is returned.
std::size_t SplitDelimitedLine(std::string_view line, char separator,
                               std::vector<std::string>& values,
                               std::size_t maxValues = static_cast<std::size_t>(-1));
std::vector<std::string> SplitDelimitedLine(std::string_view line, char separator);

// A value as CSVFieldText gives it: enclosed in double quotes, inner ones doubled, and the
// comma that ends the column.
std::string CSVColumn(std::string_view value);
void AppendCSVColumn(std::string& out, std::string_view value);

// The first line of an exported file: the field names joined by commas; a name holding a
// blank, a comma or a double quote is quoted (inner quotes doubled). No line end.
std::string CSVHeaderLine(const std::vector<std::string>& fields);

// The item's line for the record type (no line end): the CSVFieldText of each field, without
// the final comma. Empty when the item gives nothing.
std::string CSVLine(const TNRBObject& item, const std::vector<std::string>& fields);

// How a delimited-text file is read.
struct DelimitedImportOptions {
    char separator = kCommaSeparator; // kCommaSeparator or kTabSeparator
    // The field each column holds, in column order; "" or kIgnoredField skips a column.
    std::vector<std::string> fields;
    // The first line names the columns: it is never imported, and when fields is empty the
    // columns are mapped to the record type's fields by these names (see column_map.h).
    bool firstLineHasNames = false;
};

// Reads the file (UTF-8; a line that is not valid UTF-8 is read as Windows-1252) and makes
// one item of the record type's kind under target from each record (a line, or more when a
// quoted value holds line breaks): the values are matched to the fields, and a record the
// kind's ReadCSVRecord refuses leaves nothing. Without firstLineHasNames, a first line that
// lists exactly the chosen fields (the names line of an export) is skipped too. Under the
// target, the tree items are sorted afterwards. A missing file imports nothing and is no
// error; a file that cannot be read is, and so is a names line that maps no column to a
// field. The report, when given, counts the records, the items made and, by column name
// (as the names line gives it, else "column N"), the values that went nowhere. Only the first 4096
// columns of a record are read; with the fields by position, a record with text in later ones
// counts once as "columns after 4096".
FileResult ImportDelimitedText(const std::string& path, TOutlineNode* target,
                               const TRecordType& type, const DelimitedImportOptions& options,
                               TImportReport* report = nullptr);
// The same with the fields by position and no names line.
FileResult ImportDelimitedText(const std::string& path, TOutlineNode* target,
                               const TRecordType& type,
                               const std::vector<std::string>& chosenFields, char separator);

// Writes, for node and every node below it in tree order, the lines of the items of the
// record type's kind: a tree item of that kind gives its own line, any other item the lines
// of the items of that kind in its Children. Items that hidden tests true are skipped, with
// their Children; the nodes below them are still visited. includeNames puts the names line
// first. Lines end with CR LF; the file is replaced atomically.
// The same lines appended to out.
void AppendCSVSubtree(const TOutlineNode& node, std::string& out, const TRecordType& type,
                      const std::vector<std::string>& fields, bool includeNames,
                      const HiddenItemTest& hidden = {});
FileResult WriteCSVSubtree(const TOutlineNode& node, const std::string& fileName,
                           const TRecordType& type, const std::vector<std::string>& fields,
                           bool includeNames, const HiddenItemTest& hidden = {});

} // namespace quill
