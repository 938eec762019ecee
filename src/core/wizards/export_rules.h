#pragma once
// What the publishing wizard decides, apart from its windows: the file types and the pages
// each shows, the names it proposes, the checks made on "Finish" and the export itself, and
// the files an export writes (so that a cancelled one can take back those it created).

#include "core/exchange/html_publish.h"
#include "core/exchange/vcard_writer.h"
#include "core/storage/data_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TOutlineNode;
struct TRecordType;

enum class ExportType {
    ExchangeFile = 0,
    Html = 1,
    Csv = 2,
    VCard = 3,
};
inline constexpr int kExportTypeCount = 4;

inline constexpr std::string_view kTypePage = "TypePage";
inline constexpr std::string_view kExportFilePage = "ExportFilePage";
inline constexpr std::string_view kIndexPage = "IndexPage";
inline constexpr std::string_view kGraphicsPage = "GraphicsPage";
inline constexpr std::string_view kLinksPage = "LinksPage";
inline constexpr std::string_view kHtmlFilePage = "HtmlFilePage";
inline constexpr std::string_view kCsvFieldsPage = "CsvFieldsPage";
inline constexpr std::string_view kCsvFilePage = "CsvFilePage";
inline constexpr std::string_view kVCardExportPage = "VCardExportPage";
std::vector<std::string> ExportWizardPages();

// The entry of the type list ("Quillmere File (.QLD)" ...).
std::string_view ExportTypeName(ExportType type);
// The pages the type shows, the type page first.
std::vector<std::string> ExportTypePages(ExportType type);
// Whether a vCard file can be written from start: always for the whole subtree (every person
// and organization at or below it), for the start item alone only when it is a person or an
// organization. The wizard otherwise warns and goes back to the exchange file.
bool VCardTypeAllowed(const TOutlineNode* start, bool subtree = false);
// What the vCard page proposes, as quilltool decides it: a person or organization writes its
// own card, any other node every card below it.
bool ProposedVCardSubtree(const TOutlineNode* start);

// The file names proposed for the start node: its title and the extension (".qld", ".csv",
// ".vcf", ".htm").
std::string ProposedFileName(const TOutlineNode* start, std::string_view extension);

// Everything the wizard gathered for "Finish". Paths are the directory, "/" and the name.
struct ExportRequest {
    ExportType type = ExportType::ExchangeFile;
    std::string directory;
    std::string fileName;
    // CSV
    const TRecordType* recordType = nullptr;
    std::vector<std::string> fields;
    bool includeNames = true;
    // HTML: directory and mainPageName are taken from above.
    HtmlPublishOptions html;
    // vCard: the version, one item or the whole subtree, the category names; the hidden
    // items are those RunExport is given.
    VCardExportOptions vCard;
};

std::string ExportPath(const ExportRequest& request);

// The check "Finish" makes before anything is written: the exchange file needs ".qld", the
// vCard file ".vcf" (any case); the refusal carries the "Check Filename" title and message.
FileResult CheckExport(const ExportRequest& request);

// Writes what the request names for start and everything below it; hidden names the items
// the category filter hides.
FileResult RunExport(const ExportRequest& request, const TOutlineNode& start,
                     const HiddenItemTest& hidden = {});

// Every file the export may write, by full path: the one file, or the pages, the exchange
// file, the vCard files and the pictures of a site.
std::vector<std::string> ExportOutputFiles(const ExportRequest& request, const TOutlineNode& start);

// Which of the files exist now; taken before an export so that a cancelled one removes
// only what it created.
std::vector<std::string> ExistingFiles(const std::vector<std::string>& files);
// Removes the files of the list that are not in existedBefore. Returns how many it removed.
std::size_t RemoveCreatedFiles(const std::vector<std::string>& files,
                               const std::vector<std::string>& existedBefore);

} // namespace quill
