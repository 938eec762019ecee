// Start-up to a shown main window with a large data file, offscreen. The reference in the
// same run is loading the same file into an outline without any window.

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
    return 0;
}
