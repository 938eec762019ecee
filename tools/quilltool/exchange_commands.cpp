#include "exchange_commands.h"

#include "tool_support.h"

#include "core/exchange/exchange_export.h"
#include "core/model/outline.h"
#include "core/storage/data_file.h"

#include <filesystem>
#include <functional>
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

using Importer =
    std::function<quill::FileResult(const std::string& source, quill::TOutlineNode* target,
                                    const Arguments& args, bool& usageError)>;
using Exporter =
    std::function<quill::FileResult(const quill::TOutlineNode& start, const std::string& out,
                                    const Arguments& args, bool& usageError)>;

const std::map<std::string, Importer>& Importers() {
    static const std::map<std::string, Importer> importers{
        {"qld",
         [](const std::string& source, quill::TOutlineNode* target, const Arguments&, bool&) {
             // The exchange-file reader takes ".qld" files only, as the wizard does.
             if (!quill::HasExtension(source, ".qld")) {
                 return quill::FileResult::Failure(source + " is not a .qld exchange file");
             }
             return quill::ImportFile(target, source);
         }},
    };
    return importers;
}

const std::map<std::string, Exporter>& Exporters() {
    static const std::map<std::string, Exporter> exporters{
        {"qld", [](const quill::TOutlineNode& start, const std::string& out, const Arguments&,
                   bool&) { return quill::ExportExchangeFile(start, out); }},
    };
    return exporters;
}

} // namespace

int Import(const std::vector<std::string_view>& args) {
    Arguments parsed;
    if (!ParseArguments(args, {"target", "type", "fields", "org-cards"}, {}, parsed) ||
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
    quill::TOutlineNode* target = FindNodeByPath(outline, parsed.Option("target"));
    if (!target) {
        return Fail("no node " + parsed.Option("target") + " in " + dataFile);
    }
    bool usageError = false;
    const quill::FileResult result = importer->second(source, target, parsed, usageError);
    if (usageError) {
        return Usage();
    }
    if (!result.ok) {
        return Finish(result);
    }
    return Save(dataFile, outline) ? kOk : kBadData;
}

int Export(const std::vector<std::string_view>& args) {
    Arguments parsed;
    if (!ParseArguments(args,
                        {"from", "type", "fields", "main", "title", "levels", "background",
                         "text-color", "link-color"},
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
    const quill::TOutlineNode* start = FindNodeByPath(outline, parsed.Option("from"));
    if (!start) {
        return Fail("no node " + parsed.Option("from") + " in " + parsed.positional[1]);
    }
    bool usageError = false;
    const quill::FileResult result =
        exporter->second(*start, parsed.positional[2], parsed, usageError);
    return usageError ? Usage() : Finish(result);
}

} // namespace quilltool
