#include "exchange_commands.h"

#include "tool_support.h"

#include "core/exchange/delimited_text.h"
#include "core/exchange/exchange_export.h"
#include "core/exchange/html_publish.h"
#include "core/exchange/import_report.h"
#include "core/exchange/import_sources.h"
#include "core/exchange/outline_path.h"
#include "core/exchange/record_types.h"
#include "core/exchange/vcard.h"
#include "core/exchange/vcard_writer.h"
#include "core/model/outline.h"
#include "core/storage/data_file.h"

#include "core/model/item_kind.h"
#include "core/storage/categories.h"
#include "core/util/ascii.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <string>

namespace quilltool {
namespace {

// Reports a failed import or export; a result without message is a success.
int Finish(const quill::FileResult& result) {
    if (!result.ok) {
        std::string message = result.message;
        if (!result.title.empty()) {
            message = result.title + ": " + message;
        }
        return Fail(message);
    }
    return kOk;
}

bool SourceExists(const std::string& source) {
    std::error_code ec;
    return std::filesystem::exists(source, ec);
}

// The record type named by --type (its list name, any case, or a kind name like "person").
const quill::TRecordType* RecordTypeNamed(const std::string& name) {
    for (const quill::TRecordType& type : quill::RecordTypes()) {
        if (quill::EqualsIgnoreAsciiCase(type.name, name) ||
            quill::EqualsIgnoreAsciiCase(quill::KindName(type.kind), name)) {
            return &type;
        }
    }
    return nullptr;
}

// --fields "F1,F2,...": field names hold blanks, so only commas separate them. An empty name
// (",," or a leading or trailing comma) skips that column on import.
std::vector<std::string> FieldList(const std::string& text) {
    std::vector<std::string> fields;
    if (text.empty()) {
        return fields;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma == std::string::npos ? comma : comma - start));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return fields;
}

bool Offers(const quill::TRecordType& type, const std::string& field) {
    return std::find(type.fields.begin(), type.fields.end(), field) != type.fields.end();
}

// The record type and fields of a delimited-text command; false when they are unusable.
// Skipped columns (empty names) are for importing; an export needs every name.
bool DelimitedChoice(const Arguments& args, const quill::TRecordType*& type,
                     std::vector<std::string>& fields, bool forImport) {
    type = RecordTypeNamed(args.Option("type"));
    fields = FieldList(args.Option("fields"));
    const bool byHeader = forImport && args.Has("header");
    if (!type || (fields.empty() && !byHeader)) {
        return false;
    }
    bool anyField = byHeader;
    for (const std::string& field : fields) {
        const bool skipped = field.empty() || field == quill::kIgnoredField;
        if ((skipped && !forImport) || (!skipped && !Offers(*type, field))) {
            return false;
        }
        anyField = anyField || !skipped;
    }
    return anyField;
}

// An importer fills the report when its source gives one (vCard and delimited text).
struct ImportRun {
    explicit ImportRun(const Arguments& arguments) : args(arguments) {}
    const Arguments& args;
    bool usageError = false;
    quill::TImportReport report;
    std::string_view recordUnit; // empty: nothing to report
};
using Importer = std::function<quill::FileResult(const std::string& source,
                                                 quill::TOutlineNode* target, ImportRun& run)>;
using Exporter =
    std::function<quill::FileResult(const quill::TOutlineNode& start, const std::string& out,
                                    const Arguments& args, bool& usageError)>;

quill::FileResult ImportDelimited(const std::string& source, quill::TOutlineNode* target,
                                  ImportRun& run, char separator) {
    const quill::TRecordType* type = nullptr;
    quill::DelimitedImportOptions options;
    if (!DelimitedChoice(run.args, type, options.fields, true)) {
        run.usageError = true;
        return {};
    }
    options.separator = separator;
    options.firstLineHasNames = run.args.Has("header");
    run.recordUnit = "record";
    return quill::ImportDelimitedText(source, target, *type, options, &run.report);
}

// Answers the vCard import's question the same way for every card with an organization.
class FixedCardChoice final : public quill::IVCardImportChoice {
public:
    explicit FixedCardChoice(bool asOrganization) : asOrganization_(asOrganization) {}
    bool ImportAsOrganization(std::string_view, std::string_view) override {
        return asOrganization_;
    }

private:
    bool asOrganization_;
};

Importer DirectoryImporter(quill::FileResult (*import)(const std::string&, quill::TOutlineNode*)) {
    return [import](const std::string& source, quill::TOutlineNode* target, ImportRun&) {
        std::error_code ec;
        if (!std::filesystem::is_directory(source, ec)) {
            return quill::FileResult::Failure(source + " is not a directory");
        }
        return import(source, target);
    };
}

const std::map<std::string, Importer>& Importers() {
    static const std::map<std::string, Importer> importers{
        {"qld",
         [](const std::string& source, quill::TOutlineNode* target, ImportRun&) {
             // The exchange-file reader takes ".qld" files only, as the wizard does.
             if (!quill::HasExtension(source, ".qld")) {
                 return quill::FileResult::Failure(source + " is not a .qld exchange file");
             }
             return quill::ImportFile(target, source);
         }},
        {"csv",
         [](const std::string& source, quill::TOutlineNode* target, ImportRun& run) {
             return ImportDelimited(source, target, run, quill::kCommaSeparator);
         }},
        {"tsv",
         [](const std::string& source, quill::TOutlineNode* target, ImportRun& run) {
             return ImportDelimited(source, target, run, quill::kTabSeparator);
         }},
        {"vcard",
         [](const std::string& source, quill::TOutlineNode* target, ImportRun& run) {
             const std::string answer = run.args.Option("org-cards", "person");
             if (answer != "person" && answer != "organization") {
                 run.usageError = true;
                 return quill::FileResult{};
             }
             FixedCardChoice choice(answer == "organization");
             run.recordUnit = "card";
             return quill::ImportVCardFile(source, target, choice, &run.report);
         }},
        // These take a directory, as the wizard's pages do.
        {"favorites", DirectoryImporter(quill::ImportFavorites)},
        {"bookmarks", DirectoryImporter(quill::ImportBookmarks)},
        {"nsaddress", DirectoryImporter(quill::ImportNetscapeAddressBook)},
        {"eudora", DirectoryImporter(quill::ImportEudora)},
    };
    return importers;
}

// The category names of the settings file beside the data file, when there is one.
std::vector<std::string> CategoryNamesBeside(const std::string& dataFile) {
    const std::filesystem::path ini = std::filesystem::path(dataFile).parent_path() / "nrb.ini";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(ini, ec)) {
        return {};
    }
    return quill::ReadCategoryNames(ini.string());
}

// The publishing wizard's choices from the command line; false on a bad value.
bool HtmlOptions(const quill::TOutlineNode& start, const std::string& out, const Arguments& args,
                 quill::HtmlPublishOptions& options) {
    const std::string title(start.Text());
    options.directory = out;
    options.mainPageName = args.Option("main", title + ".htm");
    options.title = args.Option("title", title);
    options.useFrames = !args.Has("no-frames");
    options.exchangeFileLink = !args.Has("no-qld-link");
    options.vCardLinks = !args.Has("no-vcard-links");
    unsigned long long levels = 0;
    if (args.Has("levels") && !ParseUnsigned(args.Option("levels"), levels)) {
        return false;
    }
    options.indexLevels = static_cast<int>(levels);
    options.webGraphicsDirectory = quill::FindWebGraphicsDirectory("/proc/self/exe");
    const std::string background = args.Option("background", std::string(quill::kNoBackground));
    if (background != quill::kNoBackground) {
        const auto& names = quill::BackgroundNames();
        if (std::find(names.begin(), names.end(), background) == names.end()) {
            return false;
        }
        options.backgroundPicture =
            quill::BackgroundPicturePath(options.webGraphicsDirectory, background);
    }
    if (args.Has("text-color")) {
        const auto colour = quill::HtmlColourFromName(args.Option("text-color"));
        if (!colour) {
            return false;
        }
        options.textColour = *colour;
    }
    if (args.Has("link-color")) {
        const auto colour = quill::HtmlColourFromName(args.Option("link-color"));
        if (!colour) {
            return false;
        }
        options.linkColour = *colour;
    }
    return true;
}

const std::map<std::string, Exporter>& Exporters() {
    static const std::map<std::string, Exporter> exporters{
        {"qld", [](const quill::TOutlineNode& start, const std::string& out, const Arguments&,
                   bool&) { return quill::ExportExchangeFile(start, out); }},
        {"html",
         [](const quill::TOutlineNode& start, const std::string& out, const Arguments& args,
            bool& usageError) {
             quill::HtmlPublishOptions options;
             if (!HtmlOptions(start, out, args, options)) {
                 usageError = true;
                 return quill::FileResult{};
             }
             std::error_code ec;
             std::filesystem::create_directories(out, ec);
             return quill::PublishHTML(start, options);
         }},
        {"vcard",
         [](const quill::TOutlineNode& start, const std::string& out, const Arguments& args,
            bool& usageError) {
             const auto version = quill::VCardVersionNamed(args.Option("version", "2.1"));
             if (!version) {
                 usageError = true;
                 return quill::FileResult{};
             }
             // A person or organization alone; any other node with everything below it.
             quill::VCardExportOptions options;
             options.version = *version;
             options.subtree = !start.Item() || !quill::CanExportVCard(*start.Item());
             options.categoryNames = CategoryNamesBeside(args.positional[1]);
             return quill::ExportVCardFile(start, out, options);
         }},
        {"csv",
         [](const quill::TOutlineNode& start, const std::string& out, const Arguments& args,
            bool& usageError) {
             const quill::TRecordType* type = nullptr;
             std::vector<std::string> fields;
             if (!DelimitedChoice(args, type, fields, false)) {
                 usageError = true;
                 return quill::FileResult{};
             }
             return quill::WriteCSVSubtree(start, out, *type, fields, !args.Has("no-header"));
         }},
    };
    return exporters;
}

} // namespace

int Import(const std::vector<std::string_view>& args) {
    Arguments parsed;
    if (!ParseArguments(args, {"target", "type", "fields", "org-cards"}, {"header"}, parsed) ||
        parsed.positional.size() != 3) {
        return Usage();
    }
    const auto importer = Importers().find(parsed.positional[0]);
    if (importer == Importers().end()) {
        return Usage();
    }
    const std::string& source = parsed.positional[1];
    const std::string& dataFile = parsed.positional[2];
    if (!SourceExists(source)) {
        return Fail("cannot open " + source);
    }
    quill::TOutline outline;
    if (!Load(dataFile, outline, true)) {
        return kBadData;
    }
    quill::TOutlineNode* target = quill::FindNodeByPath(outline, parsed.Option("target"));
    if (!target) {
        return Fail("no node " + parsed.Option("target") + " in " + dataFile);
    }
    ImportRun run(parsed);
    const quill::FileResult result = importer->second(source, target, run);
    if (run.usageError) {
        return Usage();
    }
    if (!run.recordUnit.empty() && (result.ok || run.report.records > 0)) {
        std::cout << run.report.Text(run.recordUnit);
    }
    if (!result.ok) {
        EndWithoutTeardown(Finish(result));
    }
    EndWithoutTeardown(Save(dataFile, outline) ? kOk : kBadData);
}

int Export(const std::vector<std::string_view>& args) {
    Arguments parsed;
    if (!ParseArguments(args,
                        {"from", "type", "fields", "main", "title", "levels", "background",
                         "text-color", "link-color", "version"},
                        {"no-header", "no-frames", "no-qld-link", "no-vcard-links"}, parsed) ||
        parsed.positional.size() != 3) {
        return Usage();
    }
    const auto exporter = Exporters().find(parsed.positional[0]);
    if (exporter == Exporters().end()) {
        return Usage();
    }
    quill::TOutline outline;
    if (!Load(parsed.positional[1], outline)) {
        return kBadData;
    }
    const quill::TOutlineNode* start = quill::FindNodeByPath(outline, parsed.Option("from"));
    if (!start) {
        return Fail("no node " + parsed.Option("from") + " in " + parsed.positional[1]);
    }
    bool usageError = false;
    const quill::FileResult result =
        exporter->second(*start, parsed.positional[2], parsed, usageError);
    EndWithoutTeardown(usageError ? Usage() : Finish(result));
}

} // namespace quilltool
