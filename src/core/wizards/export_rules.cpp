#include "core/wizards/export_rules.h"

#include "core/exchange/delimited_text.h"
#include "core/exchange/exchange_export.h"
#include "core/exchange/vcard.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <unordered_set>

namespace quill {
namespace fs = std::filesystem;
namespace {

constexpr std::array<std::string_view, kExportTypeCount> kTypeNames{
    "Quillmere File (.QLD)",
    "HTML File (.HTM)",
    "Comma-separated Values (.CSV)",
    "vCard File (.VCF)",
};

std::string Join(const std::string& directory, std::string_view name) {
    if (directory.empty()) {
        return std::string(name);
    }
    return directory.ends_with('/') ? directory + std::string(name)
                                    : directory + "/" + std::string(name);
}

} // namespace

std::vector<std::string> ExportWizardPages() {
    return {
        std::string(kTypePage),      std::string(kExportFilePage), std::string(kIndexPage),
        std::string(kGraphicsPage),  std::string(kLinksPage),      std::string(kHtmlFilePage),
        std::string(kCsvFieldsPage), std::string(kCsvFilePage),    std::string(kVCardExportPage)};
}

std::string_view ExportTypeName(ExportType type) {
    return kTypeNames[static_cast<std::size_t>(type)];
}

std::vector<std::string> ExportTypePages(ExportType type) {
    std::vector<std::string> pages{std::string(kTypePage)};
    switch (type) {
    case ExportType::ExchangeFile:
        pages.emplace_back(kExportFilePage);
        break;
    case ExportType::Html:
        for (std::string_view page : {kIndexPage, kGraphicsPage, kLinksPage, kHtmlFilePage}) {
            pages.emplace_back(page);
        }
        break;
    case ExportType::Csv:
        pages.emplace_back(kCsvFieldsPage);
        pages.emplace_back(kCsvFilePage);
        break;
    case ExportType::VCard:
        pages.emplace_back(kVCardExportPage);
        break;
    }
    return pages;
}

bool VCardTypeAllowed(const TOutlineNode* start, bool subtree) {
    return start && (subtree || (start->Item() && CanExportVCard(*start->Item())));
}

bool ProposedVCardSubtree(const TOutlineNode* start) {
    return !VCardTypeAllowed(start);
}

std::string ProposedFileName(const TOutlineNode* start, std::string_view extension) {
    const std::string title = start && start->Item() ? std::string(start->Item()->Title()) : "";
    // A title is a name, not a path: a "/" in it would point elsewhere.
    std::string name = title;
    std::replace(name.begin(), name.end(), '/', '-');
    return name + std::string(extension);
}

std::string ExportPath(const ExportRequest& request) {
    return Join(request.directory, request.fileName);
}

FileResult CheckExport(const ExportRequest& request) {
    switch (request.type) {
    case ExportType::ExchangeFile:
        return HasExtension(request.fileName, ".qld") ? FileResult{} : WrongExtension(".qld");
    case ExportType::VCard:
        return HasExtension(request.fileName, ".vcf") ? FileResult{} : WrongExtension(".vcf");
    case ExportType::Html:
    case ExportType::Csv:
        break;
    }
    return {};
}

FileResult RunExport(const ExportRequest& request, const TOutlineNode& start,
                     const HiddenItemTest& hidden) {
    if (FileResult checked = CheckExport(request); !checked) {
        return checked;
    }
    const std::string path = ExportPath(request);
    switch (request.type) {
    case ExportType::ExchangeFile:
        return ExportExchangeFile(start, path, hidden);
    case ExportType::Html: {
        HtmlPublishOptions options = request.html;
        options.directory = request.directory;
        options.mainPageName = request.fileName;
        return PublishHTML(start, options, hidden);
    }
    case ExportType::Csv:
        if (!request.recordType || request.fields.empty()) {
            return {};
        }
        return WriteCSVSubtree(start, path, *request.recordType, request.fields,
                               request.includeNames, hidden);
    case ExportType::VCard: {
        VCardExportOptions options = request.vCard;
        options.hidden = hidden;
        return ExportVCardFile(start, path, options);
    }
    }
    return {};
}

std::vector<std::string> ExportOutputFiles(const ExportRequest& request,
                                           const TOutlineNode& start) {
    if (request.type != ExportType::Html) {
        return {ExportPath(request)};
    }
    const HtmlPublishOptions& html = request.html;
    const std::string directory = fs::path(ExportPath(request)).parent_path().string();
    std::vector<std::string> files{ExportPath(request)};
    if (html.useFrames) {
        files.push_back(Join(directory, kIndexPageFile));
        files.push_back(Join(directory, kMainPageFile));
    }
    if (html.exchangeFileLink) {
        files.push_back(Join(directory, kSiteExchangeFile));
    }
    if (html.vCardLinks) {
        // Named as the site names them: items sharing an Id get "vc<Id>-2.vcf" and so on.
        const HtmlSiteNames names(start);
        ForEachInSubtree(&start, [&](const TOutlineNode* node) {
            if (node->Item() && CanExportVCard(*node->Item())) {
                files.push_back(Join(directory, HtmlVCardFileName(*node->Item())));
            }
        });
    }
    if (!html.backgroundPicture.empty()) {
        files.push_back(Join(directory, fs::path(html.backgroundPicture).filename().string()));
    }
    if (!html.webGraphicsDirectory.empty()) {
        for (std::string_view icon : HtmlIconFiles()) {
            files.push_back(Join(directory, icon));
        }
    }
    return files;
}

std::vector<std::string> ExistingFiles(const std::vector<std::string>& files) {
    std::vector<std::string> existing;
    for (const std::string& file : files) {
        std::error_code ec;
        if (fs::exists(fs::symlink_status(file, ec))) {
            existing.push_back(file);
        }
    }
    return existing;
}

std::size_t RemoveCreatedFiles(const std::vector<std::string>& files,
                               const std::vector<std::string>& existedBefore) {
    const std::unordered_set<std::string> kept(existedBefore.begin(), existedBefore.end());
    std::size_t removed = 0;
    for (const std::string& file : files) {
        std::error_code ec;
        if (!kept.contains(file) && fs::remove(file, ec)) {
            ++removed;
        }
    }
    return removed;
}

} // namespace quill
