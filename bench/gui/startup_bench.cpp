// Start-up to a shown main window with a large data file, offscreen. The reference in the
// same run is loading the same file into an outline without any window.

#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/services.h"
#include "core/storage/data_file.h"
#include "gui/common/ImageLists.h"
#include "gui/mainwindow/TMainForm.h"
#include "outline_generator.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::size_t items = argc > 1 ? std::stoul(argv[1]) : 100000;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    {
        quill::TOutline outline;
        outline.CreateRoot();
        quill::GenerateOutline(outline, items, 42);
        quill::TDataFile("quil.dat").SaveDataFile(outline);
    }
    std::vector<double> load, show;
    for (int run = 0; run < 5; ++run) {
        {
            const auto start = Clock::now();
            quill::TOutline outline;
            outline.CreateRoot();
            quill::TDataFile("quil.dat").LoadDataFile(outline);
            load.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        {
            const auto start = Clock::now();
            quill::gui::ImageLists images;
            quill::gui::TMainForm form(images, "quil.dat", "nrb.ini");
            form.show();
            QCoreApplication::processEvents();
            show.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            form.Shutdown();
        }
    }
    const double l = Median(load), s = Median(show);
    std::printf("%zu items: load alone %.0f ms, start-up to a shown window %.0f ms (%.2fx)\n",
                items, l, s, s / l);

    // One folder holding 10^4 persons: selecting it fills and sorts the list. The reference
    // is sorting the same items by the ordering rule alone.
    {
        quill::gui::ImageLists images;
        quill::gui::TMainForm form(images, "big.dat", "nrb.ini");
        form.show();
        QCoreApplication::processEvents();
        quill::TOutlineNode* folder = quill::CreateItem(quill::kFolderKind, "Many", "", "", 0, "",
                                                        form.Root(), &form.Outline())
                                          ->Node();
        for (int i = 0; i < 10000; ++i) {
            quill::CreateItem(quill::kPersonKind, "Person " + std::to_string((i * 7919) % 10000),
                              "", "", 0, "", folder, &form.Outline());
        }
        std::vector<double> fill, sort;
        for (int run = 0; run < 5; ++run) {
            form.SelectNode(form.Root());
            QCoreApplication::processEvents();
            auto start = Clock::now();
            form.SelectNode(folder);
            QCoreApplication::processEvents();
            fill.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            std::vector<quill::TNRBObject*> entries;
            for (std::size_t i = 0; i < folder->ChildCount(); ++i) {
                entries.push_back(folder->ChildAt(i)->Item());
            }
            start = Clock::now();
            std::stable_sort(entries.begin(), entries.end(),
                             [](const quill::TNRBObject* a, const quill::TNRBObject* b) {
                                 return quill::ItemSortsBefore(*a, *b);
                             });
            sort.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        const double f = Median(fill), r = Median(sort);
        std::printf(
            "10000 entries in one list: sort alone %.1f ms, fill and show %.1f ms (%.1fx)\n", r, f,
            f / r);
        form.Shutdown();
    }
    return 0;
}
