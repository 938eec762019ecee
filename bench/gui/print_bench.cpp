// Printing large outlines, offscreen: the address book of 10^5 persons rendered to a PDF
// file, and the time from "Preview" to the preview window showing its first page with 10^4
// persons. The reference in the same run is loading the same persons from the data file.

#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/reports/report_fields.h"
#include "core/storage/data_file.h"
#include "gui/common/Prompter.h"
#include "gui/printing/ReportFonts.h"
#include "gui/printing/ReportPrinting.h"
#include "gui/printing/TAddrBookForm.h"
#include "gui/printing/TReportForm.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using namespace quill;
using namespace quill::gui;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A folder of persons, each with a primary address and phone, with varied names.
TOutlineNode* MakePersons(TOutline& outline, int count) {
    static const char* last[] = {"Smith", "jones", "Garcia", "Müller", "Lee",
                                 "Brown", "Øster", "Nguyen", "Patel",  "Kowalski"};
    TOutlineNode* root = outline.CreateRoot();
    TOutlineNode* folder = CreateItem(kFolderKind, "Everyone", "", "", 1, "", root)->Node();
    for (int i = 0; i < count; ++i) {
        const std::string first = "Person" + std::to_string(i);
        const std::string family = std::string(last[i % 10]) + std::to_string(i % 997);
        auto* p = static_cast<TPersonObject*>(
            CreateItem(kPersonKind, first + " " + family, first + " " + family, "", 2, "", folder));
        p->SetFirstName(first);
        p->SetLastName(family);
        auto* a = static_cast<TAddressObject*>(
            CreateItem(kAddressKind, "Home", "1 Main St", "", 3, "", p->Node()));
        a->SetLines(
            {std::to_string(i % 500 + 1) + " Main Street", "Apt " + std::to_string(i % 40)});
        a->SetCity("Springfield");
        a->SetState("IL");
        a->SetPostCode("62704");
        a->SetCountry("USA");
        CreateItem(kPhoneKind, "Home", "(555)" + std::to_string(1000000 + i), "", 4, "", p->Node());
        p->SetPrimaryAddress("Home");
        p->SetPrimaryPhone("Home");
    }
    return folder;
}

double LoadMilliseconds(const TOutline& outline) {
    TDataFile("quil.dat").SaveDataFile(outline);
    const auto start = Clock::now();
    TOutline loaded;
    loaded.CreateRoot();
    TDataFile("quil.dat").LoadDataFile(loaded);
    return MillisecondsSince(start);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int bookPersons = argc > 1 ? std::stoi(argv[1]) : 100000;
    const int previewPersons = argc > 2 ? std::stoi(argv[2]) : 10000;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());

    {
        TOutline outline;
        TOutlineNode* folder = MakePersons(outline, bookPersons);
        const double load = LoadMilliseconds(outline);
        const auto start = Clock::now();
        TAddrBookForm form;
        form.Prepare(BookSettings{}, InitialReportFont());
        const auto nodes = CoveredNodes(folder);
        form.Initialize(nodes, 0, nodes.size(), {});
        ReportLayout layout;
        RenderReportToPdf(form.Report(), QStringLiteral("book.pdf"), QPageSize(QPageSize::Letter),
                          nullptr, &layout);
        const double pdf = MillisecondsSince(start);
        std::printf("address book of %d persons to PDF: %.0f ms, %zu pages, %.1f MB "
                    "(loading them from the data file: %.0f ms, %.1fx)\n",
                    bookPersons, pdf, layout.PageCount(),
                    QFileInfo(QStringLiteral("book.pdf")).size() / 1e6, load, pdf / load);
    }

    {
        TOutline outline;
        TOutlineNode* folder = MakePersons(outline, previewPersons);
        const double load = LoadMilliseconds(outline);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        for (const auto type : {TReportForm::BookReport, TReportForm::ListingReport}) {
            TReportForm form(nullptr, QStringLiteral("ret_addr.dat"));
            form.SetPrinter(&printer);
            form.SetSource(folder, nullptr, {});
            form.findChild<QComboBox*>(QStringLiteral("RptTypeCombo"))->setCurrentIndex(type);
            int pages = 0;
            // What the user waits for after "Preview": the window up with its first page.
            Prompter::QueueDialog([&](QDialog& dialog) {
                dialog.show();
                QCoreApplication::processEvents();
                if (auto* widget = dialog.findChild<QPrintPreviewWidget*>()) {
                    pages = widget->pageCount();
                }
                return int(QDialog::Rejected);
            });
            const auto start = Clock::now();
            form.PreviewBtnClick();
            const double shown = MillisecondsSince(start);
            std::printf("%s of %d persons, \"Preview\" to the first page shown: %.0f ms, %d pages "
                        "(loading them: %.0f ms, %.1fx)\n",
                        type == TReportForm::BookReport ? "address book" : "listing",
                        previewPersons, shown, pages, load, shown / load);
        }
    }
    return 0;
}
