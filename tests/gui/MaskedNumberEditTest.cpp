// The number box: typing into a mask, switching masks with what was typed, and nothing but
// keys reaching a masked box.

#include "gui/common/MaskedNumberEdit.h"
#include "core/model/edit_mask.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

using namespace quill;
using namespace quill::gui;

namespace {
std::string_view Mask(std::size_t format) {
    return PhoneFormats()[format].mask;
}
} // namespace

class MaskedNumberEditTest : public QObject {
    Q_OBJECT

private slots:
    void typedDigitsFillTheMaskAndLiteralsAreStoredWithThem() {
        MaskedNumberEdit box;
        box.SetEditMask(Mask(kUsaPhoneFormat));
        QVERIFY(!box.IsEntered());
        QTest::keyClicks(&box, QStringLiteral("555x1234567"));
        QCOMPARE(box.text(), QStringLiteral("(555)123-4567"));
        QVERIFY(box.IsEntered());
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.text(), QStringLiteral("(555)123-456_"));
    }

    // The cursor put in the middle of a number: a digit overwrites there, Backspace blanks
    // the digit before it, and a selection is typed over.
    void keysActAtTheCursor() {
        MaskedNumberEdit box;
        box.SetEditMask(Mask(kUsaPhoneFormat));
        QTest::keyClicks(&box, QStringLiteral("5551234567"));
        QTest::keyClick(&box, Qt::Key_Home);
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(&box, Qt::Key_Right);
        }
        QTest::keyClick(&box, Qt::Key_9);
        QCOMPARE(box.text(), QStringLiteral("(555)193-4567"));
        QCOMPARE(box.cursorPosition(), 7);
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.text(), QStringLiteral("(555)1_3-4567"));
        QTest::keyClick(&box, Qt::Key_2);
        QCOMPARE(box.text(), QStringLiteral("(555)123-4567"));
        QCOMPARE(box.Number(), QStringLiteral("(555)123-4567"));
        // The area code selected and typed over.
        box.setSelection(1, 3);
        QTest::keyClicks(&box, QStringLiteral("212"));
        QCOMPARE(box.text(), QStringLiteral("(212)123-4567"));
        // A letter typed over a selection changes nothing.
        box.setSelection(5, 3);
        QTest::keyClick(&box, Qt::Key_A);
        QCOMPARE(box.text(), QStringLiteral("(212)123-4567"));
    }

    void switchingMasksKeepsWhatWasTypedAndNothingElse() {
        MaskedNumberEdit box;
        box.SetEditMask(Mask(kUsaPhoneFormat));
        QTest::keyClicks(&box, QStringLiteral("555"));
        box.SetEditMask(Mask(kFreePhoneFormat));
        QCOMPARE(box.text(), QStringLiteral("555"));
        // Free text typed into a mask again: what the mask refuses falls away.
        box.setText(QStringLiteral("(12)-3"));
        box.SetEditMask(Mask(kUsaPhoneFormat));
        QCOMPARE(box.text(), QStringLiteral("(123)___-____"));
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.text(), QStringLiteral("(12_)___-____"));
        // An untouched mask leaves an empty box behind.
        MaskedNumberEdit fresh;
        fresh.SetEditMask(Mask(kUsaPhoneFormat));
        fresh.SetEditMask(Mask(kFreePhoneFormat));
        QVERIFY(fresh.text().isEmpty());
        QVERIFY(!fresh.IsEntered());
    }

    void onlyKeysReachAMaskedBox() {
        MaskedNumberEdit box;
        box.SetEditMask(Mask(kUsaPhoneFormat));
        QCOMPARE(box.contextMenuPolicy(), Qt::NoContextMenu);
        QVERIFY(!box.acceptDrops());
        QGuiApplication::clipboard()->setText(QStringLiteral("abc5551234567"));
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box.text(), QStringLiteral("(555)123-4567"));
        box.selectAll();
        QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(box.text(), QStringLiteral("(___)___-____"));
        QVERIFY(!box.IsEntered());
        box.SetEditMask({});
        QCOMPARE(box.contextMenuPolicy(), Qt::DefaultContextMenu);
        QVERIFY(box.acceptDrops());
    }
};

QTEST_MAIN(MaskedNumberEditTest)
#include "MaskedNumberEditTest.moc"
