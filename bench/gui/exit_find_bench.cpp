// What the user waits for in the desktop program with a large outline, offscreen: Exit (the
// save and the teardown of the window, its models and the outline) and Find (from the find
// timer firing to the selection). The reference in the same run is a line count of the same
// data file, as `wc -l` makes it.
//
//     quill_exit_find_bench [ITEMS]      (default 100000 items)

#include "core/model/item_kind.h"
#include "core/model/locate.h"
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
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Reads the whole file and counts its line feeds.
double CountLinesMilliseconds(const std::string& path) {
    const auto start = Clock::now();
    std::ifstream in(path, std::ios::binary);
    std::vector<char> buffer(1 << 16);
    long long lines = 0;
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount()) {
        lines += std::count(buffer.begin(), buffer.begin() + in.gcount(), '\n');
    }
    const double ms = MillisecondsSince(start);
    if (lines < 0) {
        std::printf("?");
    }
    return ms;
}

// The caption of the node found last in tree order, so that Find walks the whole outline.
std::string LastCaption(const quill::TOutline& outline) {
    std::string caption;
    outline.ForEachNode([&](quill::TOutlineNode* node) { caption = std::string(node->Text()); });
    return caption;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::size_t items = argc > 1 ? std::stoul(argv[1]) : 100000;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    std::size_t nodes = 0;
    std::string last;
    {
        quill::TOutline outline;
        outline.CreateRoot();
        quill::GenerateOutline(outline, items, 42);
        quill::TDataFile("quil.dat").SaveDataFile(outline);
        nodes = outline.NodeCount();
        last = LastCaption(outline);
    }
    const std::string dataFile = (QDir(dir.path()).filePath("quil.dat")).toStdString();

    std::vector<double> exits, finds, misses, walks, counts;
    for (int run = 0; run < 5; ++run) {
        counts.push_back(CountLinesMilliseconds(dataFile));
        quill::gui::ImageLists images;
        auto form = std::make_unique<quill::gui::TMainForm>(images, "quil.dat", "nrb.ini");
        quill::InstallServices(
            {nullptr, nullptr, &images, nullptr, form.get(), nullptr, nullptr, nullptr});
        form->show();
        QCoreApplication::processEvents();

        // Find: the last node in tree order, from the root, then a text that is nowhere.
        form->SelectNode(form->Root());
        QCoreApplication::processEvents();
        auto start = Clock::now();
        form->Locate(QString::fromStdString(last));
        QCoreApplication::processEvents();
        finds.push_back(MillisecondsSince(start));
        start = Clock::now();
        form->Locate(QStringLiteral("zzqxj nowhere"));
        QCoreApplication::processEvents();
        misses.push_back(MillisecondsSince(start));
        // The walk alone, without the window: what the core's share of a miss is.
        start = Clock::now();
        const quill::LocateResult none =
            quill::LocateInOutline(form->Outline(), form->Root(), "zzqxj nowhere");
        walks.push_back(MillisecondsSince(start));
        if (none) {
            std::printf("unexpected match\n");
        }

        // Exit: the save and the teardown of everything the window holds.
        start = Clock::now();
        form->Shutdown();
        form.reset();
        exits.push_back(MillisecondsSince(start));
        quill::InstallServices({});
    }
    const double count = Median(counts);
    std::printf("%zu items, %zu nodes; line count of the data file %.1f ms\n", items, nodes, count);
    std::printf("exit (save and teardown)   %7.1f ms  %6.1fx the line count\n", Median(exits),
                Median(exits) / count);
    std::printf("find, match at the end     %7.1f ms  %6.1fx\n", Median(finds),
                Median(finds) / count);
    std::printf("find, no match             %7.1f ms  %6.1fx\n", Median(misses),
                Median(misses) / count);
    std::printf("  the walk of it alone     %7.1f ms  %6.1fx\n", Median(walks),
                Median(walks) / count);
    return 0;
}
