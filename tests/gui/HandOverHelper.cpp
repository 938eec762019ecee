// A second start of the program as far as the single-instance rule goes: it hands its own
// command line to the instance of its data directory ($QUILLMERE_HOME) and ends.
// Exit status: 0 handed over and acknowledged, 4 handed over without a receipt in time,
// 3 no running instance (a real start would go on as the first instance).

#include "platform/Places.h"
#include "platform/SingleInstance.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const auto places = quill::platform::Places::FromEnvironment();
    quill::platform::SingleInstance instance(places.DataDirectory());
    bool acknowledged = false;
    if (!instance.TryHandOver(QCoreApplication::arguments(), 5000, &acknowledged)) {
        return 3;
    }
    return acknowledged ? 0 : 4;
}
