// The import wizard's "Finish" against the core import that quilltool runs, on the same
// generated files: 10^5 vCards and 10^6 CSV lines, offscreen, both with the import report.
// The wizard adds its progress window and the record of what came in (for Cancel).
// Also the time from "Finish" to the progress window's first update.
// And the same imports into a node listed by a shown main window, whose views follow them.

#include "core/exchange/delimited_text.h"
#include "core/exchange/record_types.h"
#include "core/exchange/vcard.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"
#include "core/services.h"
#include "core/wizards/import_recorder.h"
#include "gui/common/ImageLists.h"
#include "gui/common/Prompter.h"
#include "gui/common/TProgressForm.h"
#include "gui/exchange/TFieldChooserFrame.h"
#include "gui/exchange/TFolderBrowser.h"
#include "gui/exchange/TImportWizard.h"
#include "gui/mainwindow/TMainForm.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using namespace quill;
using namespace quill::gui;

double Ms(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class AsPerson final : public IVCardImportChoice {
public:
    bool ImportAsOrganization(std::string_view, std::string_view) override { return false; }
};

void WriteCards(const std::string& path, int count) {
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < count; ++i) {
        out << "begin:vcard\r\nN:Family" << i << ";Given;M;Dr.\r\nFN:Given Family" << i
            << "\r\nTEL;WORK;VOICE:555-" << i << "\r\nEMAIL;INTERNET:g" << i
            << "@example.org\r\nADR;HOME:;;" << i << " High St;Springfield;IL;PC1;USA\r\n"
            << "end:vcard\r\n";
    }
}

void WriteLines(const std::string& path, int count) {
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < count; ++i) {
        out << "Given" << i << ",Family" << i << ",555-" << i << "\r\n";
    }
}

struct Outline {
    TOutline outline;
    TOutlineNode* target;
    Outline() {
        TOutlineNode* root = outline.CreateRoot();
        target = CreateItem(kFolderKind, "Imported", "", "", 1, "", root)->Node();
    }
};

// Drives the wizard to "Finish" for the source, with the file chosen; returns the run's
// milliseconds and the first update's.
std::pair<double, qint64> WizardImport(ImportSource source, const QString& directory,
                                       const QString& file, TOutlineNode* target) {
    TProgressForm progress;
    TImportWizard wizard(&progress);
    wizard.SetBrowserProfiles({});
    wizard.SetParent(target);
    wizard.show();
    wizard.SelectSource(source);
    QString page = QStringLiteral("VCardFilePage");
    if (source == ImportSource::DelimitedText) {
        wizard.NextBtnClick();
        TFieldChooserFrame* chooser = wizard.Chooser();
        for (const char* field : {"Phone Number", "Last Name", "First Name"}) {
            chooser->AvailableList()->clearSelection();
            chooser->AvailableList()
                ->findItems(QLatin1String(field), Qt::MatchExactly)
                .front()
                ->setSelected(true);
            chooser->CopyRtBtnClick();
        }
        page = QStringLiteral("TextFilePage");
    }
    wizard.NextBtnClick();
    wizard.Browser(page)->SetDirectory(directory);
    wizard.Browser(page)->SelectFile(file);
    Prompter::QueueAnswer(QMessageBox::Ok);
    const auto start = Clock::now();
    wizard.NextBtn()->click();
    const double ms = Ms(start);
    return {ms, wizard.FirstProgressMilliseconds()};
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ImageLists images;
    InstallServices({nullptr, nullptr, &images});
    Prompter::SetStrict(true);
    const int cards = argc > 1 ? std::stoi(argv[1]) : 100000;
    const int lines = argc > 2 ? std::stoi(argv[2]) : 1000000;
    QTemporaryDir dir;
    const std::string vcf = dir.filePath(QStringLiteral("cards.vcf")).toStdString();
    const std::string csv = dir.filePath(QStringLiteral("lines.csv")).toStdString();
    WriteCards(vcf, cards);
    WriteLines(csv, lines);

    {
        Outline core;
        AsPerson choice;
        TImportReport report; // quilltool prints one, the wizard shows one
        auto start = Clock::now();
        ImportVCardFile(vcf, core.target, choice, &report);
        const double alone = Ms(start);
        Outline gui;
        const auto [wizard, first] =
            WizardImport(ImportSource::VCard, dir.path(), QStringLiteral("cards.vcf"), gui.target);
        std::printf("%d vCards: core import (as quilltool) %.0f ms, wizard Finish %.0f ms "
                    "(%.2fx), first progress update after %lld ms\n",
                    cards, alone, wizard, wizard / alone, static_cast<long long>(first));
    }
    {
        Outline core;
        const std::vector<std::string> fields{"First Name", "Last Name", "Phone Number"};
        DelimitedImportOptions options;
        options.fields = fields;
        TImportReport report;
        auto start = Clock::now();
        ImportDelimitedText(csv, core.target, *RecordTypeAt(0), options, &report);
        const double alone = Ms(start);
        Outline gui;
        const auto [wizard, first] = WizardImport(ImportSource::DelimitedText, dir.path(),
                                                  QStringLiteral("lines.csv"), gui.target);
        std::printf("%d CSV lines: core import (as quilltool) %.0f ms, wizard Finish %.0f ms "
                    "(%.2fx), first progress update after %lld ms\n",
                    lines, alone, wizard, wizard / alone, static_cast<long long>(first));
    }
    {
        // Into the outline of a shown main window, whose tree and list follow what comes in.
        QTemporaryDir home;
        QDir::setCurrent(home.path());
        ImageLists windowImages;
        auto form = std::make_unique<TMainForm>(windowImages, "quil.dat", "nrb.ini");
        InstallServices({nullptr, nullptr, &windowImages, nullptr, form.get()});
        form->show();
        QCoreApplication::processEvents();
        struct Source {
            ImportSource source;
            QString file;
            int count;
            const char* what;
        };
        for (const Source& source :
             {Source{ImportSource::VCard, QStringLiteral("cards.vcf"), cards, "vCards"},
              Source{ImportSource::DelimitedText, QStringLiteral("lines.csv"), lines,
                     "CSV lines"}}) {
            TOutlineNode* target =
                CreateItem(kFolderKind, "Imported", "", "", 1, "", form->Root())->Node();
            form->SelectNode(target);
            QCoreApplication::processEvents();
            const auto [wizard, first] =
                WizardImport(source.source, dir.path(), source.file, target);
            auto start = Clock::now();
            QCoreApplication::processEvents();
            const double shown = Ms(start);
            std::printf("%d %s into the shown main window: wizard Finish %.0f ms, then %.0f ms "
                        "until the window answers (the list is laid out in batches)\n",
                        source.count, source.what, wizard, shown);
            // All of them selected and dragged onto another folder.
            TOutlineNode* moved =
                CreateItem(kFolderKind, "Moved", "", "", 1, "", form->Root())->Node();
            form->SelectAll1Click();
            start = Clock::now();
            form->DropOnFolders(moved, false);
            QCoreApplication::processEvents();
            std::printf("  all selected and dragged onto another folder: %.0f ms\n", Ms(start));
            // And all of them selected and deleted again, as a user undoes an import.
            form->SelectNode(moved);
            QCoreApplication::processEvents();
            form->SelectAll1Click();
            Prompter::QueueAnswer(QMessageBox::Yes);
            start = Clock::now();
            form->DeleteBtnClick();
            QCoreApplication::processEvents();
            std::printf("  all selected and deleted: %.0f ms\n", Ms(start));
        }
        {
            // An import cancelled at its end: what Cancel takes out while the window follows.
            // Into the top node, which the tree shows opened, as a command line imports.
            TOutlineNode* target = form->Root();
            form->SelectNode(target);
            QCoreApplication::processEvents();
            TImportRecorder recorder(form->Outline());
            AsPerson choice;
            ImportVCardFile(vcf, target, choice, nullptr);
            QCoreApplication::processEvents();
            const auto start = Clock::now();
            recorder.Undo();
            QCoreApplication::processEvents();
            std::printf(
                "%d vCards imported under the listed top node and cancelled: the undo %.0f ms\n",
                cards, Ms(start));
        }
        form->Shutdown();
    }
    InstallServices({});
    return 0;
}
