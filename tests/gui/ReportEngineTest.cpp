// The banded engine's computed layout for each report: labels where the stock puts them on
// the sheet whatever the printer can reach, pages of labels, envelopes by the table, listing
// and address-book pages without overlaps, and a PDF read back to prove what reaches paper.

#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/reports/label_report.h"
#include "core/reports/report_fields.h"
#include "gui/printing/ReportFonts.h"
#include "gui/printing/ReportPrinting.h"
#include "gui/printing/TAddrBookForm.h"
#include "gui/printing/TEnvelopeForm.h"
#include "gui/printing/TLabelForm.h"
#include "gui/printing/TListingForm.h"

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace quill;
using namespace quill::gui;

namespace {

// Hundredths of an inch: "to a hundredth" means closer than one.
constexpr qreal kTolerance = 0.01;

QString Name(int i) {
    return QStringLiteral("Person%1").arg(i, 3, 10, QLatin1Char('0'));
}

// An outline of n persons under one folder, each with a primary address.
struct People {
    TOutline outline;
    TOutlineNode* folder = nullptr;
    explicit People(int n, int addressLines = 1) {
        TOutlineNode* root = outline.CreateRoot();
        folder = CreateItem(kFolderKind, "Friends", "", "", 1, "", root)->Node();
        for (int i = 0; i < n; ++i) {
            const std::string name = Name(i).toStdString();
            auto* p =
                static_cast<TPersonObject*>(CreateItem(kPersonKind, name, name, "", 2, "", folder));
            p->SetFirstName(name);
            p->SetLastName(i % 2 ? "smith" : "Smith");
            auto* a = static_cast<TAddressObject*>(
                CreateItem(kAddressKind, "Home", "1 Elm St", "", 3, "", p->Node()));
            std::vector<std::string> lines;
            for (int l = 0; l < addressLines; ++l) {
                lines.push_back(std::to_string(l + 1) + " Elm Street");
            }
            a->SetLines(lines);
            a->SetCity("Springfield");
            a->SetState("IL");
            a->SetPostCode("62704");
            a->SetCountry("USA");
            p->SetPrimaryAddress("Home");
        }
    }
    std::vector<TOutlineNode*> Nodes() const { return CoveredNodes(folder); }
};

// A PDF printer on paper of the size, used to measure text as printing does.
struct PdfDevice {
    QPrinter printer{QPrinter::HighResolution};
    explicit PdfDevice(const QPageSize& paper = QPageSize(QPageSize::Letter)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir::temp().filePath(QStringLiteral("quill-measure.pdf")));
        printer.setPageSize(paper);
    }
    ReportLayout Layout(BandedReport& report, const QMarginsF& unprintable = {}) {
        ApplyReportPage(report, printer);
        printer.setPageMargins(unprintable, QPageLayout::Inch);
        return report.Layout(GeometryOf(printer), printer);
    }
};

QRectF Drawn(const PlacedText& t) {
    return {t.rect.left(), t.rect.top(), t.rect.width(),
            static_cast<qreal>(t.Lines().size()) * t.lineHeight};
}

// Fails when two texts of a page overlap or one leaves the area.
bool NoOverlaps(const ReportLayout& layout, const QRectF& area, QString* problem) {
    for (std::size_t p = 0; p < layout.pages.size(); ++p) {
        std::vector<const PlacedText*> texts;
        for (const PlacedText& t : layout.pages[p].texts) {
            if (!t.text.isEmpty()) {
                texts.push_back(&t);
            }
        }
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const QRectF a = Drawn(*texts[i]);
            if (!area.adjusted(-kTolerance, -kTolerance, kTolerance, kTolerance).contains(a)) {
                *problem = QStringLiteral("page %1: %2 leaves the page").arg(p).arg(texts[i]->name);
                return false;
            }
            for (std::size_t j = i + 1; j < texts.size(); ++j) {
                const QRectF b = Drawn(*texts[j]);
                if (a.intersected(b).width() > kTolerance &&
                    a.intersected(b).height() > kTolerance) {
                    *problem =
                        QStringLiteral("page %1: %2 \"%3\" overlaps %4 \"%5\"")
                            .arg(p)
                            .arg(texts[i]->name, texts[i]->text, texts[j]->name, texts[j]->text);
                    return false;
                }
            }
        }
    }
    return true;
}

// The labels for the people on 5160 stock in 10 points, from the given label of the sheet on.
ReportLayout LabelLayout(const People& people, int startLabel = 1) {
    TLabelForm form;
    form.Prepare(*FindLabelStock("Avery 5160-Address"), InitialReportFont(10), startLabel);
    const auto nodes = people.Nodes();
    form.Initialize(nodes, 0, nodes.size(), {});
    PdfDevice device;
    return device.Layout(form.Report());
}

} // namespace

class ReportEngineTest : public QObject {
    Q_OBJECT

private slots:
    void everyLabelOfEveryStockLandsWhereTheStockPutsIt() {
        People people(70);
        for (const TLabelDimension& stock : LabelStocks()) {
            TLabelForm form;
            form.Prepare(stock, InitialReportFont(9));
            const auto nodes = people.Nodes();
            form.Initialize(nodes, 0, nodes.size(), {});
            PdfDevice device;
            // A laser printer that cannot reach the outer quarter inch changes nothing.
            for (const QMarginsF& unprintable : {QMarginsF(), QMarginsF(0.25, 0.25, 0.25, 0.25)}) {
                const ReportLayout layout = device.Layout(form.Report(), unprintable);
                QCOMPARE(layout.page.sheet, QSizeF(850, 1100));
                const int rows = (1100 - stock.top) / stock.vPitch;
                const int perSheet = rows * stock.across;
                int n = 0;
                for (std::size_t page = 0; page < layout.PageCount(); ++page) {
                    for (const PlacedText* memo : layout.Find(page, QStringLiteral("LabelMemo"))) {
                        const int onSheet = n % perSheet;
                        QCOMPARE(static_cast<int>(page), n / perSheet);
                        const qreal left =
                            stock.side + (onSheet % stock.across) * stock.hPitch + 10;
                        const qreal top = stock.top + (onSheet / stock.across) * stock.vPitch + 10;
                        QVERIFY2(
                            std::abs(memo->rect.left() - left) < kTolerance &&
                                std::abs(memo->rect.top() - top) < kTolerance,
                            qPrintable(QStringLiteral("%1 label %2 at %3,%4 not %5,%6")
                                           .arg(QLatin1String(stock.name.data(), stock.name.size()))
                                           .arg(n + 1)
                                           .arg(memo->rect.left())
                                           .arg(memo->rect.top())
                                           .arg(left)
                                           .arg(top)));
                        QCOMPARE(memo->rect.width(), qreal(stock.width - 10));
                        QCOMPARE(memo->Lines().value(0), Name(n));
                        // Nothing spills over the label's lower edge.
                        QVERIFY(Drawn(*memo).bottom() <= top + stock.height - 10 + kTolerance);
                        ++n;
                    }
                }
                QCOMPARE(n, 70);
            }
        }
    }

    void thirtyOneAddressesOn5160MakeAPageOfThirtyAndOneOfOne() {
        People people(31);
        TLabelForm form;
        form.Prepare(*FindLabelStock("Avery 5160-Address"), InitialReportFont(10));
        const auto nodes = people.Nodes();
        form.Initialize(nodes, 0, nodes.size(), {});
        PdfDevice device(QPageSize(QPageSize::A4)); // the labels bring their own paper
        const ReportLayout layout = device.Layout(form.Report());
        QCOMPARE(layout.PageCount(), std::size_t(2));
        QCOMPARE(layout.Count(0, QStringLiteral("LabelMemo")), std::size_t(30));
        QCOMPARE(layout.Count(1, QStringLiteral("LabelMemo")), std::size_t(1));
        const PlacedText* last = layout.Find(1, QStringLiteral("LabelMemo")).front();
        QCOMPARE(last->rect.topLeft(), QPointF(29, 60));
        QCOMPARE(last->Lines(),
                 (QStringList{Name(30), QStringLiteral("1 Elm Street"),
                              QStringLiteral("Springfield, IL"), QStringLiteral("62704 USA")}));
        // Laid out twice, the same: the records start over.
        QCOMPARE(device.Layout(form.Report()).Count(0, QStringLiteral("LabelMemo")),
                 std::size_t(30));
    }

    void labelsStartAtTheChosenPositionOfAPartlyUsedSheet() {
        People people(3);
        const ReportLayout layout = LabelLayout(people, 5);
        const auto memos = layout.Find(0, QStringLiteral("LabelMemo"));
        QCOMPARE(memos.size(), std::size_t(3));
        QCOMPARE(memos[0]->rect.topLeft(), QPointF(19 + 275 + 10, 50 + 100 + 10)); // label 5
        QCOMPARE(memos[2]->rect.topLeft(), QPointF(29, 260));                      // label 7
    }

    void aLongLabelIsCutToTheLabelAndWrappedToItsWidth() {
        People people(1, 9);
        const ReportLayout layout = LabelLayout(people);
        const PlacedText* memo = layout.Find(0, QStringLiteral("LabelMemo")).front();
        QVERIFY(memo->Lines().size() < 12);
        QVERIFY(Drawn(*memo).height() <= 90 + kTolerance);
        QCOMPARE(memo->Lines().front(), Name(0));
    }

    void anAddressTooTallForItsFontIsSetSmallerNotCutShort() {
        // Three street lines at 10 points make six lines: a one-inch label holds five, and
        // the cut one would be the postal code.
        People people(2, 3);
        const ReportLayout layout = LabelLayout(people);
        for (const PlacedText* memo : layout.Find(0, QStringLiteral("LabelMemo"))) {
            QCOMPARE(memo->Lines().size(), 6);
            QCOMPARE(memo->Lines().back(), QStringLiteral("62704 USA"));
            QVERIFY(Drawn(*memo).height() <= 90 + kTolerance);
            QVERIFY(memo->font.pointSizeF() < 10);
            QVERIFY(memo->font.pointSizeF() >= 9);
            QCOMPARE(memo->font.family(), InitialReportFont(10).family());
        }
        QString problem;
        QVERIFY2(NoOverlaps(layout, QRectF(0, 0, 850, 1100), &problem), qPrintable(problem));

        // An eight-line return address in 12 points above the delivery address.
        QStringList sender;
        for (int i = 1; i <= 8; ++i) {
            sender << QStringLiteral("Return line %1").arg(i);
        }
        TEnvelopeForm envelope;
        envelope.Prepare(EnvelopeSize::No10, sender, InitialReportFont(12), {QStringLiteral("You")},
                         InitialReportFont(12), false);
        PdfDevice envelopeDevice(TEnvelopeForm::PaperOf(EnvelopeSize::No10));
        const ReportLayout sheet = envelopeDevice.Layout(envelope.Report());
        const PlacedText* ret = sheet.Find(0, QStringLiteral("QRReturn")).front();
        QCOMPARE(ret->Lines(), sender);
        QVERIFY(Drawn(*ret).height() <= ret->rect.height() + kTolerance);
        QVERIFY(ret->font.pointSizeF() < 12);
    }

    void envelopeMemosSitWhereTheTableSaysForEverySize() {
        // Sheets: #10 950 x 412.5, Monarch 750 x 387.5, B5 984 x 693, C5 901 x 637, DL 866 x 433.
        for (const EnvelopeSizeInfo& info : EnvelopeSizes()) {
            TEnvelopeForm form;
            form.Prepare(info.size, {QStringLiteral("Quill Ltd"), QStringLiteral("1 Main St")},
                         InitialReportFont(9),
                         {QStringLiteral("Ann Lee"), QStringLiteral("2 Elm St")},
                         InitialReportFont(12), false);
            PdfDevice device;
            const ReportLayout layout = device.Layout(form.Report(), QMarginsF(0.2, 0.2, 0.2, 0.2));
            QCOMPARE(layout.PageCount(), std::size_t(1));
            QCOMPARE(layout.page.orientation, QPageLayout::Landscape);
            const QSizeF paper =
                TEnvelopeForm::PaperOf(info.size).size(QPageSize::Point) * (100 / 72.0);
            QVERIFY(std::abs(layout.page.sheet.width() - paper.height()) < kTolerance);
            const int H = static_cast<int>(std::floor(layout.page.sheet.height() + 1e-6));
            const int W = static_cast<int>(std::floor(layout.page.sheet.width() + 1e-6)) - 30;
            const int deliveryTop = (H - info.heightTerm) / 2 + 152;
            const PlacedText* delivery = layout.Find(0, QStringLiteral("QRDelivery")).front();
            const PlacedText* ret = layout.Find(0, QStringLiteral("QRReturn")).front();
            QCOMPARE(delivery->rect.topLeft(), QPointF(30 + W - info.deliveryTerm, deliveryTop));
            QCOMPARE(ret->rect.topLeft(), QPointF(30 + W - info.returnTerm, deliveryTop - 122));
            QCOMPARE(delivery->Lines(),
                     (QStringList{QStringLiteral("Ann Lee"), QStringLiteral("2 Elm St")}));
            QCOMPARE(ret->Lines().value(0), QStringLiteral("Quill Ltd"));
            QCOMPARE(delivery->font.pointSize(), 12);
            QString problem;
            QVERIFY2(NoOverlaps(layout, QRectF(QPointF(0, 0), layout.page.sheet), &problem),
                     qPrintable(problem));
        }
        // #10 on its own numbers: delivery 3.00 inch from the left edge, 1.52 from the top.
        TEnvelopeForm form;
        form.Prepare(EnvelopeSize::No10, {QStringLiteral("Me")}, InitialReportFont(9),
                     {QStringLiteral("You")}, InitialReportFont(12), true);
        PdfDevice device;
        const ReportLayout layout = device.Layout(form.Report());
        QCOMPARE(layout.Find(0, QStringLiteral("QRDelivery")).front()->rect.topLeft(),
                 QPointF(300, 152));
        // The return address is omitted.
        QVERIFY(layout.Find(0, QStringLiteral("QRReturn")).front()->text.isEmpty());
    }

    void listingPagesRepeatTheColumnHeaderAndKeepMarginsClear() {
        People people(120, 3);
        TListingForm form;
        ListingSettings settings;
        settings.title = "My Friends";
        form.Prepare(settings, InitialReportFont(), QStringLiteral("My Contacts/Friends"),
                     people.outline.Root(), {});
        PdfDevice device;
        const QMarginsF unprintable(0.25, 0.25, 0.25, 0.25);
        const ReportLayout layout = device.Layout(form.Report(), unprintable);
        QVERIFY(layout.PageCount() > 2);
        const QRectF printable = layout.page.printable;
        QCOMPARE(printable, QRectF(25, 25, 800, 1050));
        QCOMPARE(layout.Find(0, QStringLiteral("Title")).front()->text,
                 QStringLiteral("My Friends"));
        // The top margin is a page header band.
        QCOMPARE(layout.Find(0, QStringLiteral("Title")).front()->rect.top(), 25 + 50.0);
        QCOMPARE(layout.Find(0, QStringLiteral("Title")).front()->font.pointSize(), 14);
        QCOMPARE(layout.Find(0, QStringLiteral("Source")).front()->text,
                 QStringLiteral("My Contacts/Friends"));
        // Title: first page only.
        QCOMPARE(layout.Count(1, QStringLiteral("Title")), std::size_t(0));
        std::size_t names = 0;
        for (std::size_t p = 0; p < layout.PageCount(); ++p) {
            QCOMPARE(layout.Count(p, QStringLiteral("Phone Number")), std::size_t(1));
            for (const PlacedText* name : layout.Find(p, QStringLiteral("Name"))) {
                QCOMPARE(name->text, Name(static_cast<int>(names++)));
                QVERIFY(Drawn(*name).bottom() <= printable.bottom() - 50 + kTolerance);
            }
        }
        QCOMPARE(names, std::size_t(120));
        // The second page starts right under its column header.
        const PlacedText* header = layout.Find(1, QStringLiteral("Contact")).front();
        QVERIFY(layout.Find(1, QStringLiteral("Name")).front()->rect.top() > header->rect.bottom());
        QString problem;
        QVERIFY2(NoOverlaps(layout, printable, &problem), qPrintable(problem));

        // Landscape, with a left margin: the columns move and widen with the page.
        settings.landscape = true;
        settings.leftTenths = 10;
        form.Prepare(settings, InitialReportFont(), QString(), people.outline.Root(), {});
        const ReportLayout wide = device.Layout(form.Report(), unprintable);
        QCOMPARE(wide.page.orientation, QPageLayout::Landscape);
        QCOMPARE(wide.Find(0, QStringLiteral("Name")).front()->rect.left(), 25 + 100 + 2.0);
        QVERIFY(wide.PageCount() > layout.PageCount());
        QVERIFY2(NoOverlaps(wide, wide.page.printable, &problem), qPrintable(problem));
    }

    void bookFlowsDownColumnsWithGroupBandsAndAddressBands() {
        People people(60, 2);
        // A loose phone without an address: no address band under it.
        CreateItem(kPhoneKind, "Alarm Line", "555-0199", "", 4, "", people.folder);
        TAddrBookForm form;
        BookSettings settings;
        settings.columns = 2;
        form.Prepare(settings, InitialReportFont());
        const auto nodes = people.Nodes();
        form.Initialize(nodes, 0, nodes.size(), {});
        PdfDevice device;
        const ReportLayout layout = device.Layout(form.Report(), QMarginsF(0.25, 0.25, 0.25, 0.25));
        QVERIFY(layout.PageCount() >= 2);
        // Sorted without regard to case: the phone first, then the Smiths; "smith" and
        // "Smith" alternate, so every entry after the phone starts a group of its own.
        QCOMPARE(layout.Find(0, QStringLiteral("Name")).front()->text,
                 QStringLiteral("Alarm Line"));
        QCOMPARE(layout.Find(0, QStringLiteral("Phone")).front()->text, QStringLiteral("555-0199"));
        const auto letters = layout.Find(0, QStringLiteral("GroupLetter"));
        QVERIFY(letters.size() >= 2);
        QCOMPARE(letters[0]->text, QStringLiteral("A"));
        QCOMPARE(letters[0]->color, QColor(Qt::white));
        QCOMPARE(letters[0]->font.pointSize(), 14);
        // The first address band belongs to the first Smith, not to the phone.
        const auto addresses = layout.Find(0, QStringLiteral("Address"));
        const auto names = layout.Find(0, QStringLiteral("Name"));
        QVERIFY(addresses.front()->rect.top() > names[1]->rect.top());
        QCOMPARE(addresses.front()->Lines(),
                 (QStringList{QStringLiteral("1 Elm Street"), QStringLiteral("2 Elm Street"),
                              QStringLiteral("Springfield, IL"), QStringLiteral("62704 USA")}));
        // Two columns: the second starts at the left margin plus a column and the gutter.
        const qreal columnWidth = (800 - 100) / 2.0;
        bool secondColumn = false;
        for (const PlacedText* name : names) {
            if (std::abs(name->rect.left() - (25 + columnWidth + 100)) < kTolerance) {
                secondColumn = true;
            } else {
                QCOMPARE(name->rect.left(), 25.0);
            }
        }
        QVERIFY(secondColumn);
        QString problem;
        QVERIFY2(NoOverlaps(layout, layout.page.printable, &problem), qPrintable(problem));
    }

    void aBookEntrysLongPhoneNumberWrapsInsteadOfBeingCut() {
        People people(2);
        const std::string number = "+44 (0)1248 710000 ext. 1234";
        auto* first = static_cast<TPersonObject*>(people.folder->ChildAt(0)->Item());
        CreateItem(kPhoneKind, "Desk", number, "", 5, "", first->Node());
        first->SetPrimaryPhone("Desk");
        TAddrBookForm form;
        form.Prepare(BookSettings{}, InitialReportFont());
        const auto nodes = people.Nodes();
        form.Initialize(nodes, 0, nodes.size(), {});
        PdfDevice device;
        const ReportLayout layout = device.Layout(form.Report());
        const PlacedText* phone = layout.Find(0, QStringLiteral("Phone")).front();
        QVERIFY(phone->Lines().size() > 1);
        QCOMPARE(phone->Lines().join(u' '), QString::fromStdString(number));
        QString problem;
        QVERIFY2(NoOverlaps(layout, layout.page.printable, &problem), qPrintable(problem));
    }

    void aPdfOfLabelsCarriesEachNameWhereTheStockPutsIt() {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty()) {
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
        People people(31);
        TLabelForm form;
        const TLabelDimension& stock = *FindLabelStock("Avery 5160-Address");
        form.Prepare(stock, InitialReportFont(10));
        const auto nodes = people.Nodes();
        form.Initialize(nodes, 0, nodes.size(), {});
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
        QString error;
        QVERIFY2(RenderReportToPdf(form.Report(), pdf, QPageSize(QPageSize::A4), &error),
                 qPrintable(error));
        QProcess run;
        run.start(pdftotext, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        QVERIFY(run.waitForFinished(30000));
        const QString html = QString::fromUtf8(run.readAllStandardOutput());
        // A Letter sheet.
        QVERIFY(html.contains(QStringLiteral("width=\"612.000000\" height=\"792.000000\"")));
        QCOMPARE(html.count(QStringLiteral("<page ")), 2);
        // Each name's box starts at its memo's corner (in points) less the glyph's bearing.
        const QRegularExpression word(
            QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" "
                           "yMax=\"[0-9.]+\">(Person\\d+)</word>"));
        int found = 0;
        for (auto it = word.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            const int n = m.captured(3).mid(6).toInt();
            const int onSheet = n % 30;
            const qreal left = (stock.side + (onSheet % 3) * stock.hPitch + 10) * 0.72;
            const qreal top = (stock.top + (onSheet / 3) * stock.vPitch + 10) * 0.72;
            QVERIFY2(std::abs(m.captured(1).toDouble() - left) < 1.5,
                     qPrintable(m.captured(3) + QStringLiteral(" x ") + m.captured(1)));
            QVERIFY2(std::abs(m.captured(2).toDouble() - top) < 3.0,
                     qPrintable(m.captured(3) + QStringLiteral(" y ") + m.captured(2)));
            ++found;
        }
        QCOMPARE(found, 31);
    }
};

QTEST_MAIN(ReportEngineTest)
#include "ReportEngineTest.moc"
