// quillprint: any report of the print dialog rendered to a PDF file, headless.
//
//   quillprint listing|addressbook|labels|envelope DATAFILE OUT.pdf [--from PATH] [options]
//
// Exit status 0 on success, 1 when the data file cannot be read or the PDF not written, 2 on
// wrong usage.

#include "core/exchange/outline_path.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/outline.h"
#include "core/reports/envelope_report.h"
#include "core/reports/label_report.h"
#include "core/reports/report_fields.h"
#include "core/reports/report_settings.h"
#include "core/storage/data_file.h"
#include "gui/printing/ReportFonts.h"
#include "gui/printing/ReportPrinting.h"
#include "gui/printing/TAddrBookForm.h"
#include "gui/printing/TEnvelopeForm.h"
#include "gui/printing/TLabelForm.h"
#include "gui/printing/TListingForm.h"
#include "platform/Places.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <iostream>
#include <map>
#include <set>
#include <string>

namespace {

using namespace quill;
using namespace quill::gui;

constexpr int kOk = 0;
constexpr int kBadData = 1;
constexpr int kUsage = 2;

constexpr char kUsageText[] =
    "usage: quillprint listing|addressbook|labels|envelope DATAFILE OUT.pdf [--from PATH]\n"
    "         [--title TEXT] [--landscape] [--margins TOP,BOTTOM,LEFT] [--columns N]\n"
    "         [--gutter TENTHS] [--paper A4|Letter] [--stock NAME] [--start-label N]\n"
    "         [--font FAMILY,SIZE] [--envelope #10|Monarch|B5|C5|DL] [--return-file FILE]\n"
    "         [--omit-return]\n";

int Usage(const std::string& problem = {}) {
    if (!problem.empty()) {
        std::cerr << "quillprint: " << problem << "\n";
    }
    std::cerr << kUsageText;
    return kUsage;
}

int Fail(const std::string& message) {
    std::cerr << "quillprint: " << message << "\n";
    return kBadData;
}

struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    std::set<std::string> flags;
    std::string Option(const std::string& name, const std::string& fallback = {}) const {
        const auto it = options.find(name);
        return it == options.end() ? fallback : it->second;
    }
};

bool Parse(const QStringList& args, Arguments& out) {
    static const std::set<std::string> valued{"from",   "title",    "margins",    "columns",
                                              "gutter", "paper",    "stock",      "start-label",
                                              "font",   "envelope", "return-file"};
    static const std::set<std::string> switches{"landscape", "omit-return"};
    for (qsizetype i = 1; i < args.size(); ++i) {
        const std::string arg = args[i].toStdString();
        if (arg.size() > 2 && arg.starts_with("--")) {
            const std::string name = arg.substr(2);
            if (switches.count(name)) {
                out.flags.insert(name);
            } else if (valued.count(name) && i + 1 < args.size()) {
                out.options[name] = args[++i].toStdString();
            } else {
                return false;
            }
        } else {
            out.positional.push_back(arg);
        }
    }
    return true;
}

bool ParseWhole(const std::string& text, int low, int high, int& value) {
    bool ok = false;
    value = QString::fromStdString(text).toInt(&ok);
    return ok && value >= low && value <= high;
}

// "0.5,0.5,0.0": inches with one decimal, as the dialog's boxes show them, into tenths.
bool ParseMargins(const std::string& text, int tenths[3]) {
    static const QRegularExpression inch(QStringLiteral("^\\d(\\.\\d)?$"));
    const QStringList parts = QString::fromStdString(text).split(u',');
    if (parts.size() != 3) {
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        if (!inch.match(parts[i].trimmed()).hasMatch()) {
            return false;
        }
        tenths[i] = BoxDigits(parts[i].toStdString()) * (parts[i].contains(u'.') ? 1 : 10);
    }
    return true;
}

bool ParseFont(const std::string& text, QFont& font) {
    const QStringList parts = QString::fromStdString(text).split(u',');
    if (parts.isEmpty() || parts.size() > 2 || parts[0].trimmed().isEmpty()) {
        return false;
    }
    font.setFamily(parts[0].trimmed());
    if (parts.size() == 2) {
        bool ok = false;
        const double size = parts[1].toDouble(&ok);
        if (!ok || size < 4 || size > 72) {
            return false;
        }
        font.setPointSizeF(size);
    }
    return true;
}

QStringList ToQt(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines) {
        out << QString::fromStdString(line);
    }
    return out;
}

int Run(const QStringList& args) {
    Arguments a;
    if (!Parse(args, a) || a.positional.size() != 3) {
        return Usage();
    }
    const std::string report = a.positional[0];
    if (report != "listing" && report != "addressbook" && report != "labels" &&
        report != "envelope") {
        return Usage("unknown report " + report);
    }
    const std::string dataFile = a.positional[1];
    const QString out = QString::fromStdString(a.positional[2]);

    // Options first: a wrong one is a usage error before any file is touched.
    QFont face = InitialReportFont();
    if (a.options.count("font") && !ParseFont(a.Option("font"), face)) {
        return Usage("--font takes FAMILY or FAMILY,SIZE");
    }
    int margins[3] = {5, 5, 0};
    if (a.options.count("margins") && !ParseMargins(a.Option("margins"), margins)) {
        return Usage("--margins takes TOP,BOTTOM,LEFT in inches with one decimal");
    }
    int columns = 1;
    if (a.options.count("columns") && !ParseWhole(a.Option("columns"), 1, 4, columns)) {
        return Usage("--columns takes 1 to 4");
    }
    int gutter = 10;
    if (a.options.count("gutter") && !ParseWhole(a.Option("gutter"), 0, 99, gutter)) {
        return Usage("--gutter takes tenths of an inch, 0 to 99");
    }
    QPageSize paper(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                        ? QPageSize::Letter
                        : QPageSize::A4);
    if (a.options.count("paper")) {
        const std::string name = a.Option("paper");
        if (name == "A4") {
            paper = QPageSize(QPageSize::A4);
        } else if (name == "Letter") {
            paper = QPageSize(QPageSize::Letter);
        } else {
            return Usage("--paper takes A4 or Letter");
        }
    }
    const TLabelDimension* stock = &LabelStocks().front();
    if (a.options.count("stock") && !(stock = FindLabelStock(a.Option("stock")))) {
        return Usage("no label stock named " + a.Option("stock"));
    }
    int startLabel = 1;
    if (a.options.count("start-label") &&
        !ParseWhole(a.Option("start-label"), 1, LabelSheet{*stock}.PerSheet(), startLabel)) {
        return Usage("--start-label takes a position on the sheet, 1 to " +
                     std::to_string(LabelSheet{*stock}.PerSheet()));
    }
    const EnvelopeSizeInfo* envelope = &EnvelopeSizes().front();
    if (a.options.count("envelope") && !(envelope = FindEnvelopeSize(a.Option("envelope")))) {
        return Usage("--envelope takes #10, Monarch, B5, C5 or DL");
    }

    TOutline outline;
    if (!QFileInfo(QString::fromStdString(dataFile)).isFile()) {
        return Fail("cannot open " + dataFile);
    }
    TDataFile file(dataFile);
    const FileResult loaded = file.LoadDataFile(outline);
    if (!loaded.ok) {
        return Fail(loaded.message);
    }
    TOutlineNode* node = FindNodeByPath(outline, a.Option("from"));
    if (!node) {
        return Fail("no node " + a.Option("from"));
    }
    const std::vector<TOutlineNode*> nodes = CoveredNodes(node);

    QString error;
    bool written = false;
    if (report == "listing") {
        ListingSettings settings;
        settings.title = a.Option("title", settings.title);
        settings.landscape = a.flags.count("landscape") > 0;
        settings.topTenths = margins[0];
        settings.bottomTenths = margins[1];
        settings.leftTenths = margins[2];
        TListingForm form;
        form.Prepare(settings, face, QString::fromStdString(NodePath(node, "/")), node, {});
        written = RenderReportToPdf(form.Report(), out, paper, &error);
    } else if (report == "addressbook") {
        BookSettings settings;
        settings.columns = columns;
        settings.landscape = a.flags.count("landscape") > 0;
        settings.gutterTenths = gutter;
        settings.topTenths = margins[0];
        settings.bottomTenths = margins[1];
        settings.leftTenths = margins[2];
        TAddrBookForm form;
        form.Prepare(settings, face);
        form.Initialize(nodes, 0, nodes.size(), {});
        written = RenderReportToPdf(form.Report(), out, paper, &error);
    } else if (report == "labels") {
        TLabelForm form;
        form.Prepare(*stock, face, startLabel);
        form.Initialize(nodes, 0, nodes.size(), {});
        written = RenderReportToPdf(form.Report(), out, paper, &error);
    } else {
        const std::string returnFile = a.Option(
            "return-file", (platform::Places::FromEnvironment().DataDirectory() + u'/' +
                            QString::fromLatin1(kReturnAddressFile.data(),
                                                static_cast<qsizetype>(kReturnAddressFile.size())))
                               .toStdString());
        const EnvelopeSource source = EnvelopeSourceOf(node->Item());
        TEnvelopeForm form;
        form.Prepare(envelope->size, ToQt(ReadReturnAddress(returnFile)), face,
                     ToQt(DeliveryLines(source.address, source.name)), face,
                     a.flags.count("omit-return") > 0);
        written = RenderReportToPdf(form.Report(), out, paper, &error);
    }
    return written ? kOk : Fail(error.toStdString());
}

} // namespace

int main(int argc, char* argv[]) {
    // Never needs a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return Run(QApplication::arguments());
}
