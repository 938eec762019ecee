// Small captioned windows are made wide enough for their caption, which a window manager
// would otherwise cut ("Impo...izard").

#include "gui/common/CaptionRoom.h"
#include "gui/editors/CategoryPopup.h"

#include <QMessageBox>
#include <QTest>

using namespace quill::gui;

class CaptionRoomTest : public QObject {
    Q_OBJECT

private slots:
    void aShortMessageGrowsToItsLongCaption() {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Import Wizard"),
                        QStringLiteral("Imported nothing."), QMessageBox::Ok);
        const int room = CaptionRoom(box);
        QVERIFY(box.sizeHint().width() < room); // as Qt lays it out: too narrow
        FitCaption(box);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY2(box.width() >= room,
                 qPrintable(QStringLiteral("%1 < %2").arg(box.width()).arg(room)));
        box.hide();
    }

    void aLongCaptionNeedsMoreRoomThanAShortOne() {
        QWidget shortOne;
        shortOne.setWindowTitle(QStringLiteral("Fax"));
        QWidget longOne;
        longOne.setWindowTitle(QStringLiteral("Select Categories"));
        QVERIFY(CaptionRoom(longOne) > CaptionRoom(shortOne));
        // The decorations are counted even for an empty caption.
        QVERIFY(CaptionRoom(QWidget()) >= 100);
    }

    void theCategoryPopupIsWideEnoughForItsCaption() {
        TCategoryPopup popup({QStringLiteral("Family")}, 0);
        QVERIFY(popup.width() >= CaptionRoom(popup));
    }
};

QTEST_MAIN(CaptionRoomTest)
#include "CaptionRoomTest.moc"
