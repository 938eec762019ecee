// quillprint from outside: its exit codes, and the PDF files it writes read back with
// pdftotext.

#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/storage/data_file.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace quill;

namespace {

struct Outcome {
    int status = -1;
    QString err;
};

Outcome Run(const QStringList& arguments) {
    QProcess run;
    run.start(QStringLiteral(QUILLPRINT_PATH), arguments);
    Outcome outcome;
    if (run.waitForFinished(60000) && run.exitStatus() == QProcess::NormalExit) {
        outcome.status = run.exitCode();
    }
    outcome.err = QString::fromUtf8(run.readAllStandardError());
    return outcome;
}

// The text of a PDF with the boxes of its words; empty when pdftotext is missing.
QString Boxes(const QString& pdf) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) {
        return {};
    }
    QProcess run;
    run.start(tool, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    run.waitForFinished(30000);
    return QString::fromUtf8(run.readAllStandardOutput());
}

} // namespace

class QuillprintTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString data_;

    QString File(const char* name) const { return dir_.filePath(QLatin1String(name)); }

private slots:
    void initTestCase() {
        // "My Contacts/Club" holds 31 members with addresses; Ann is one of them.
        TOutline outline;
        TOutlineNode* root = outline.CreateRoot();
        TOutlineNode* club = CreateItem(kFolderKind, "Club", "", "", 1, "", root)->Node();
        for (int i = 0; i < 31; ++i) {
            const std::string name = i == 0 ? "Ann Lee" : "Member" + std::to_string(i);
            auto* p =
                static_cast<TPersonObject*>(CreateItem(kPersonKind, name, name, "", 2, "", club));
            p->SetLastName(name);
            auto* a = static_cast<TAddressObject*>(
                CreateItem(kAddressKind, "Home", "1 Elm St", "", 3, "", p->Node()));
            a->SetLines({"1 Elm St"});
            a->SetCity("Salem");
            a->SetState("OR");
            a->SetPostCode("97301");
            a->SetCountry("USA");
            p->SetPrimaryAddress("Home");
        }
        data_ = File("quil.dat");
        QVERIFY(TDataFile(data_.toStdString()).SaveDataFile(outline).ok);
        QFile ret(File("ret_addr.dat"));
        QVERIFY(ret.open(QIODevice::WriteOnly));
        ret.write("Quill Returns\r\n9 Oak Rd\r\n");
    }

    void wrongUsageIsTwoBeforeAnyFileIsTouched() {
        const QString out = File("never.pdf");
        const QList<QStringList> wrong{
            {},
            {QStringLiteral("listing"), data_},
            {QStringLiteral("poster"), data_, out},
            {QStringLiteral("listing"), data_, out, QStringLiteral("--margins"),
             QStringLiteral("0.55,0.5,0")},
            {QStringLiteral("listing"), data_, out, QStringLiteral("--margins"),
             QStringLiteral("0.5,0.5")},
            {QStringLiteral("addressbook"), data_, out, QStringLiteral("--columns"),
             QStringLiteral("5")},
            {QStringLiteral("labels"), data_, out, QStringLiteral("--stock"),
             QStringLiteral("Avery 9999")},
            {QStringLiteral("labels"), data_, out, QStringLiteral("--stock"),
             QStringLiteral("Avery 5160-Address"), QStringLiteral("--start-label"),
             QStringLiteral("31")},
            {QStringLiteral("envelope"), data_, out, QStringLiteral("--envelope"),
             QStringLiteral("#9")},
            {QStringLiteral("listing"), data_, out, QStringLiteral("--paper"),
             QStringLiteral("A3")},
            {QStringLiteral("listing"), data_, out, QStringLiteral("--bogus")},
            {QStringLiteral("listing"), data_, out, QStringLiteral("--font"),
             QStringLiteral("Arial,x")},
        };
        for (const QStringList& args : wrong) {
            const Outcome o = Run(args);
            QVERIFY2(o.status == 2, qPrintable(args.join(u' ') + QStringLiteral(" -> ") +
                                               QString::number(o.status)));
            QVERIFY(o.err.contains(QStringLiteral("usage: quillprint")));
        }
        QVERIFY(!QFile::exists(out));
    }

    void badDataIsOne() {
        const QString out = File("bad.pdf");
        Outcome o = Run({QStringLiteral("listing"), File("missing.dat"), out});
        QCOMPARE(o.status, 1);
        QVERIFY(o.err.contains(QStringLiteral("cannot open")));
        o = Run({QStringLiteral("listing"), data_, out, QStringLiteral("--from"),
                 QStringLiteral("Nowhere")});
        QCOMPARE(o.status, 1);
        QVERIFY(o.err.contains(QStringLiteral("Nowhere")));
        o = Run({QStringLiteral("listing"), data_, File("no/such/dir/out.pdf")});
        QCOMPARE(o.status, 1);
        QVERIFY(!QFile::exists(out));
    }

    void labelsFillASheetOfThirtyAndStartWhereAsked() {
        const QString out = File("labels.pdf");
        QCOMPARE(Run({QStringLiteral("labels"), data_, out, QStringLiteral("--from"),
                      QStringLiteral("My Contacts/Club"), QStringLiteral("--stock"),
                      QStringLiteral("Avery 5160-Address"), QStringLiteral("--start-label"),
                      QStringLiteral("2")})
                     .status,
                 0);
        QFile pdf(out);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        const QString boxes = Boxes(out);
        if (boxes.isEmpty()) {
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
        QCOMPARE(boxes.count(QStringLiteral("<page width=\"612.000000\" height=\"792.000000\"")),
                 2);
        // Label 2 is Ann: 0.19 + 2.75 + 0.10 inch from the left, 0.60 from the top.
        const QRegularExpression ann(
            QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>Ann</word>"));
        const auto m = ann.match(boxes);
        QVERIFY(m.hasMatch());
        QVERIFY(qAbs(m.captured(1).toDouble() - 304 * 0.72) < 1.5);
        QVERIFY(qAbs(m.captured(2).toDouble() - 60 * 0.72) < 3.0);
    }

    void envelopeGoesToTheNodeAndLeavesAnOmittedReturnAddressOff() {
        const QString out = File("envelope.pdf");
        const QStringList base{QStringLiteral("envelope"),
                               data_,
                               out,
                               QStringLiteral("--from"),
                               QStringLiteral("Club/Ann Lee"),
                               QStringLiteral("--return-file"),
                               File("ret_addr.dat"),
                               QStringLiteral("--envelope"),
                               QStringLiteral("DL")};
        QCOMPARE(Run(base).status, 0);
        QString boxes = Boxes(out);
        if (boxes.isEmpty()) {
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
        // DL landscape: 220 x 110 mm.
        QVERIFY(boxes.contains(QStringLiteral("<page width=\"624.000000\" height=\"312")));
        QVERIFY(boxes.contains(QStringLiteral(">Returns</word>")));
        QVERIFY(boxes.contains(QStringLiteral(">Salem,</word>")));
        QCOMPARE(Run(base + QStringList{QStringLiteral("--omit-return")}).status, 0);
        boxes = Boxes(out);
        QVERIFY(!boxes.contains(QStringLiteral(">Returns</word>")));
        QVERIFY(boxes.contains(QStringLiteral(">Ann</word>")));
    }

    void listingAndBookTakeTheirPaperTitleAndOrientation() {
        const QString listing = File("listing.pdf");
        QCOMPARE(Run({QStringLiteral("listing"), data_, listing, QStringLiteral("--title"),
                      QStringLiteral("Golf Club"), QStringLiteral("--landscape"),
                      QStringLiteral("--paper"), QStringLiteral("A4"), QStringLiteral("--margins"),
                      QStringLiteral("1.0,0.5,0.5"), QStringLiteral("--font"),
                      QStringLiteral("Liberation Serif,12")})
                     .status,
                 0);
        const QString book = File("book.pdf");
        QCOMPARE(Run({QStringLiteral("addressbook"), data_, book, QStringLiteral("--columns"),
                      QStringLiteral("3"), QStringLiteral("--paper"), QStringLiteral("Letter")})
                     .status,
                 0);
        const QString boxes = Boxes(listing);
        if (boxes.isEmpty()) {
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
        QVERIFY(boxes.contains(QStringLiteral("<page width=\"842.000000\" height=\"595")));
        QVERIFY(boxes.contains(QStringLiteral(">Golf</word>")));
        QVERIFY(boxes.contains(QStringLiteral(">Member30</word>")));
        QVERIFY(Boxes(book).contains(QStringLiteral("<page width=\"612.000000\"")));
        QVERIFY(Boxes(book).contains(QStringLiteral(">Member9,</word>")));
    }
};

QTEST_MAIN(QuillprintTest)
#include "QuillprintTest.moc"
