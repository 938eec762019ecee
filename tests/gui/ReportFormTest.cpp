// "Print Reports" driven offscreen: its report types and pages, the masked boxes, the label
// stocks, the delivery address, the return address file, the font dialog, preview and print
// through the dialogs, and File > Print of the main window opening it.

#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/reports/envelope_report.h"
#include "core/services.h"
#include "gui/common/ImageLists.h"
#include "gui/common/MaskedNumberEdit.h"
#include "gui/common/MemoEdit.h"
#include "gui/common/Prompter.h"
#include "gui/mainwindow/TMainForm.h"
#include "gui/printing/ReportPrinting.h"
#include "gui/printing/TReportForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace quill;
using namespace quill::gui;

namespace {

template <typename W> W* Child(QWidget& parent, const char* name) {
    W* widget = parent.findChild<W*>(QLatin1String(name));
    if (!widget) {
        qFatal("no control %s", name);
    }
    return widget;
}

QString BoxText(QWidget& form, const char* name) {
    return Child<MaskedNumberEdit>(form, name)->text();
}

// An outline: Friends holds Ann (with a primary address) and Bob (without), and Acme.
struct Contacts {
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    TOutlineNode* friends = CreateItem(kFolderKind, "Friends", "", "", 1, "", root)->Node();
    TPersonObject* ann = static_cast<TPersonObject*>(
        CreateItem(kPersonKind, "Ann", "Ms. Ann Lee", "", 2, "", friends));
    TPersonObject* bob =
        static_cast<TPersonObject*>(CreateItem(kPersonKind, "Bob", "Bob Ray", "", 3, "", friends));
    TAddressObject* home = nullptr;
    Contacts() {
        ann->SetLastName("Lee");
        ann->SetFirstName("Ann");
        bob->SetLastName("Ray");
        bob->SetFirstName("Bob");
        home = static_cast<TAddressObject*>(
            CreateItem(kAddressKind, "Home", "1 Elm St", "", 4, "", ann->Node()));
        home->SetLines({"1 Elm St", "", ""});
        home->SetCity("Salem");
        home->SetState("OR");
        home->SetPostCode("97301");
        home->SetCountry("USA");
        ann->SetPrimaryAddress("Home");
    }
};

} // namespace

class ReportFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;

    QString RetFile() const { return dir_->filePath(QStringLiteral("ret_addr.dat")); }

private slots:
    void initTestCase() { Prompter::SetStrict(true); }
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        Prompter::Reset();
    }
    void cleanup() {
        QVERIFY2(Prompter::Unanswered().isEmpty(), qPrintable(Prompter::Unanswered().join("; ")));
        dir_.reset();
    }

    void reportTypesInOrderEachShowingItsPage() {
        TReportForm form(nullptr, RetFile());
        QCOMPARE(form.windowTitle(), QStringLiteral("Print Reports"));
        auto* combo = Child<QComboBox>(form, "RptTypeCombo");
        QCOMPARE(combo->count(), 4);
        QCOMPARE(combo->itemText(0), QStringLiteral("People & Organization List"));
        QCOMPARE(combo->itemText(1), QStringLiteral("Envelope"));
        QCOMPARE(combo->itemText(2), QStringLiteral("Address & Phone Book"));
        QCOMPARE(combo->itemText(3), QStringLiteral("Address Labels"));
        QCOMPARE(combo->currentIndex(), 0);
        auto* pages = form.findChild<QStackedWidget*>();
        QVERIFY(pages);
        const char* expected[] = {"ListPage", "EnvelopePage", "BookPage", "LabelPage"};
        for (int i = 3; i >= 0; --i) {
            combo->setCurrentIndex(i);
            QCOMPARE(pages->currentWidget()->objectName(), QLatin1String(expected[i]));
        }
        QCOMPARE(Child<QLineEdit>(form, "Title1")->text(), QStringLiteral("Contact List"));
        QVERIFY(Child<QRadioButton>(form, "Portrait1")->isChecked());
        QCOMPARE(Child<QSpinBox>(form, "SpinEdit1")->value(), 1);
        QCOMPARE(Child<QSpinBox>(form, "SpinEdit1")->maximum(), 4);
        QCOMPARE(Child<QComboBox>(form, "EnvSize")->currentText(),
                 QStringLiteral("#10 Env (4.125 x 9.5 in)"));
        QCOMPARE(Child<QComboBox>(form, "EnvSize")->count(), 5);
        QCOMPARE(Child<QListWidget>(form, "LabelList")->count(), 18);
        QCOMPARE(Child<QListWidget>(form, "LabelList")->currentRow(), 0);
    }

    void eachPageFitsTheDialogWithoutEmptyRoomBelowIt() {
        TReportForm form(nullptr, RetFile());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* combo = Child<QComboBox>(form, "RptTypeCombo");
        auto* pages = form.findChild<QStackedWidget*>();
        const int width = form.width();
        // The labels page is the tallest; the others come after it, so none inherits its room.
        for (const int type : {TReportForm::LabelReport, TReportForm::ListingReport,
                               TReportForm::EnvelopeReport, TReportForm::BookReport}) {
            combo->setCurrentIndex(type);
            QApplication::processEvents();
            QWidget* page = pages->currentWidget();
            int bottom = 0;
            for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (child->isVisible()) {
                    bottom = std::max(bottom, child->geometry().bottom());
                }
            }
            const int margin = page->layout()->contentsMargins().bottom();
            QVERIFY2(pages->height() - bottom <= margin + 2,
                     qPrintable(QStringLiteral("%1: %2 px empty below the last control")
                                    .arg(page->objectName())
                                    .arg(pages->height() - bottom)));
            QCOMPARE(form.width(), width);
        }
    }

    void aLongerPathThanTheDialogWasMadeForIsShownWhole() {
        Contacts c;
        TOutlineNode* deep =
            CreateItem(kFolderKind, "Customers of the Northern Region", "", "", 9, "", c.friends)
                ->Node();
        TReportForm form(nullptr, RetFile());
        form.SetSource(c.friends, nullptr, {});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // Reused for a node deeper down.
        form.SetSource(deep, nullptr, {});
        QApplication::processEvents();
        auto* path = Child<QLabel>(form, "NodeId");
        QCOMPARE(path->text(),
                 QStringLiteral("My Contacts/Friends/Customers of the Northern Region"));
        QVERIFY2(path->contentsRect().width() >=
                     path->fontMetrics().horizontalAdvance(path->text()),
                 qPrintable(QStringLiteral("%1 px for a path of %2 px")
                                .arg(path->contentsRect().width())
                                .arg(path->fontMetrics().horizontalAdvance(path->text()))));
    }

    void maskedBoxesShowTenthsAndReadTheirDigits() {
        TReportForm form(nullptr, RetFile());
        QCOMPARE(BoxText(form, "TopMargin1"), QStringLiteral("0.5 "));
        QCOMPARE(BoxText(form, "BottomMargin1"), QStringLiteral("0.5 "));
        QCOMPARE(BoxText(form, "LeftMargin1"), QStringLiteral("0.0 "));
        QCOMPARE(BoxText(form, "Gutter"), QStringLiteral("1.0 "));
        QCOMPARE(form.BookPageSettings().gutterTenths, 10);
        auto* top = Child<MaskedNumberEdit>(form, "TopMargin1");
        top->selectAll();
        QTest::keyClick(top, Qt::Key_Backspace);
        QCOMPARE(form.ListSettings().topTenths, 0); // no digits: 0
        QTest::keyClicks(top, QStringLiteral("1x2"));
        QCOMPARE(top->text(), QStringLiteral("1.2 "));
        QCOMPARE(form.ListSettings().topTenths, 12);
        Child<QRadioButton>(form, "Landscape1")->setChecked(true);
        QVERIFY(form.ListSettings().landscape);
        Child<QLineEdit>(form, "Title1")->setText(QStringLiteral("Golf Club"));
        QCOMPARE(form.ListSettings().title, std::string("Golf Club"));
    }

    void clickingAStockFillsTheLabelSettings() {
        TReportForm form(nullptr, RetFile());
        // The first stock is selected and shown from the start.
        QCOMPARE(BoxText(form, "TopEdit"), QStringLiteral("0.58 "));
        QCOMPARE(Child<QSpinBox>(form, "NumAcross")->value(), 2);
        auto* list = Child<QListWidget>(form, "LabelList");
        Child<QComboBox>(form, "RptTypeCombo")->setCurrentIndex(TReportForm::LabelReport);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QListWidgetItem* s5160 =
            list->findItems(QStringLiteral("Avery 5160-Address"), Qt::MatchExactly).value(0);
        QVERIFY(s5160);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(s5160).center());
        const QStringList shown{BoxText(form, "TopEdit"),    BoxText(form, "SideEdit"),
                                BoxText(form, "HeightEdit"), BoxText(form, "WidthEdit"),
                                BoxText(form, "HPitchEdit"), BoxText(form, "VPitchEdit")};
        QCOMPARE(shown, (QStringList{QStringLiteral("0.50 "), QStringLiteral("0.19 "),
                                     QStringLiteral("1.00 "), QStringLiteral("2.63 "),
                                     QStringLiteral("2.75 "), QStringLiteral("1.00 ")}));
        QCOMPARE(Child<QSpinBox>(form, "NumAcross")->value(), 3);
        QCOMPARE(Child<QSpinBox>(form, "StartLabel")->maximum(), 30);
        const TLabelDimension s = form.LabelSettings();
        QCOMPARE(s.side, 19);
        QCOMPARE(s.hPitch, 275);
        QCOMPARE(s.across, 3);
        // The settings may be edited after choosing a stock; they are read when printing.
        auto* side = Child<MaskedNumberEdit>(form, "SideEdit");
        side->Retype(QStringLiteral("025"));
        QCOMPARE(form.LabelSettings().side, 25);
        // The labels on a sheet, and so the last place to start at, follow the edits.
        Child<QSpinBox>(form, "NumAcross")->setValue(2);
        QCOMPARE(Child<QSpinBox>(form, "StartLabel")->maximum(), 20);
        Child<MaskedNumberEdit>(form, "VPitchEdit")->Retype(QStringLiteral("200"));
        QCOMPARE(Child<QSpinBox>(form, "StartLabel")->maximum(), 10);
        // Moving through the list with the keys fills them too.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentItem()->text(), QStringLiteral("Avery 5161-Address"));
        QCOMPARE(BoxText(form, "WidthEdit"), QStringLiteral("4.00 "));
        QCOMPARE(BoxText(form, "SideEdit"), QStringLiteral("0.16 "));
    }

    void setSourceShowsThePathAndFillsTheDeliveryAddress() {
        Contacts c;
        TReportForm form(nullptr, RetFile());
        const EnvelopeSource ann = EnvelopeSourceOf(c.ann);
        form.SetSource(c.ann->Node(), ann.address, QString::fromStdString(ann.name));
        QCOMPARE(Child<QLabel>(form, "NodeId")->text(), QStringLiteral("My Contacts/Friends/Ann"));
        QCOMPARE(Child<MemoEdit>(form, "Delivery")->toPlainText(),
                 QStringLiteral("Ms. Ann Lee\n1 Elm St\nSalem, OR\n97301 USA"));
        // A person without a primary address: the delivery address is cleared.
        const EnvelopeSource bob = EnvelopeSourceOf(c.bob);
        form.SetSource(c.bob->Node(), bob.address, QString::fromStdString(bob.name));
        QCOMPARE(Child<MemoEdit>(form, "Delivery")->toPlainText(), QString());
    }

    void returnAddressIsLoadedAtCreationAndSavedOnCloseWhenTicked() {
        QFile file(RetFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Quill Ltd\r\n1 Main St\r\n");
        file.close();
        {
            TReportForm form(nullptr, RetFile());
            auto* memo = Child<MemoEdit>(form, "Return");
            QCOMPARE(memo->toPlainText(), QStringLiteral("Quill Ltd\n1 Main St"));
            QVERIFY(Child<QCheckBox>(form, "SaveRetAddr")->isChecked());
            memo->setPlainText(QStringLiteral("Quill GmbH\nHauptstraße 1"));
            // Omitted from the envelope, yet still saved.
            Child<QCheckBox>(form, "OmitRetAddr")->setChecked(true);
            Child<QComboBox>(form, "RptTypeCombo")->setCurrentIndex(TReportForm::EnvelopeReport);
            QPrinter pdf(QPrinter::HighResolution);
            pdf.setOutputFormat(QPrinter::PdfFormat);
            ApplyReportPage(form.PrepareReport(), pdf);
            const ReportLayout layout = form.PrepareReport().Layout(GeometryOf(pdf), pdf);
            QVERIFY(layout.Find(0, QStringLiteral("QRReturn")).front()->text.isEmpty());
            form.show();
            Child<QPushButton>(form, "CloseBtn")->click();
            QVERIFY(!form.isVisible());
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Quill GmbH\r\nHauptstra\xc3\x9f"
                                            "e 1\r\n"));
        file.close();
        {
            TReportForm form(nullptr, RetFile());
            Child<MemoEdit>(form, "Return")->setPlainText(QStringLiteral("Not kept"));
            Child<QCheckBox>(form, "SaveRetAddr")->setChecked(false);
            form.show();
            form.close(); // the close box: unticked, the file stays as it was
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("Quill GmbH"));
    }

    void aMissingReturnFileLeavesTheReturnAddressEmptyAndAFailedSaveIsReported() {
        TReportForm form(nullptr, dir_->filePath(QStringLiteral("no/such/ret_addr.dat")));
        QCOMPARE(Child<MemoEdit>(form, "Return")->toPlainText(), QString());
        Prompter::QueueAnswer(QMessageBox::Ok);
        form.show();
        form.reject();
        QCOMPARE(Prompter::Asked().size(), 1);
        QVERIFY(Prompter::Asked().front().startsWith(QStringLiteral("Print Reports|")));
    }

    void oneFontDialogStartsFromArialAndSetsTheSample() {
        TReportForm form(nullptr, RetFile());
        QString offered;
        Prompter::QueueDialog([&](QDialog& dialog) {
            auto* fonts = qobject_cast<QFontDialog*>(&dialog);
            if (!fonts) {
                return int(QDialog::Rejected);
            }
            offered = fonts->currentFont().family();
            QFont chosen(QStringLiteral("Liberation Serif"));
            chosen.setPointSize(13);
            fonts->setCurrentFont(chosen);
            return int(QDialog::Accepted);
        });
        Child<QPushButton>(form, "LabelFontBtn")->click();
        // Arial, or the metric-compatible face that stands in for it.
        QCOMPARE(offered, QFontInfo(QFont(QStringLiteral("Arial"))).family());
        QVERIFY(offered == QLatin1String("Arial") || offered == QLatin1String("Liberation Sans"));
        QCOMPARE(Child<QLabel>(form, "LabelText")->font().pointSize(), 13);
        // The label memo takes the sample's font.
        Child<QComboBox>(form, "RptTypeCombo")->setCurrentIndex(TReportForm::LabelReport);
        ReportElement* memo = form.PrepareReport()
                                  .Band(QStringLiteral("LabelBand"))
                                  ->Element(QStringLiteral("LabelMemo"));
        QVERIFY(memo);
        QCOMPARE(memo->font.pointSize(), 13);
        // A cancelled dialog changes nothing.
        Prompter::QueueDialog([](QDialog&) { return int(QDialog::Rejected); });
        Child<QPushButton>(form, "ListFontBtn")->click();
        QCOMPARE(Child<QLabel>(form, "ListText")->font().family(), offered);
    }

    void theEnvelopeFontButtonsSayTheyChooseAFont() {
        TReportForm form(nullptr, RetFile());
        // Beside the addresses, a button that reads "Select..." promises an address.
        for (const char* name : {"ReturnFontBtn", "DeliveryFontBtn"}) {
            auto* button = Child<QPushButton>(form, name);
            QCOMPARE(button->text().remove(QLatin1Char('&')), QStringLiteral("Font..."));
            bool fontDialog = false;
            Prompter::QueueDialog([&](QDialog& dialog) {
                fontDialog = qobject_cast<QFontDialog*>(&dialog) != nullptr;
                return int(QDialog::Rejected);
            });
            button->click();
            QVERIFY(fontDialog);
        }
    }

    void previewShowsTheChosenReportAndPrintGoesThroughThePrintDialog() {
        Contacts c;
        TReportForm form(nullptr, RetFile());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        const QString pdf = dir_->filePath(QStringLiteral("out.pdf"));
        printer.setOutputFileName(pdf);
        form.SetPrinter(&printer);
        form.SetSource(c.friends, nullptr, {});
        Child<QComboBox>(form, "RptTypeCombo")->setCurrentIndex(TReportForm::LabelReport);
        int pages = 0;
        QString title;
        Prompter::QueueDialog([&](QDialog& dialog) {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(&dialog);
            if (!preview) {
                return int(QDialog::Rejected);
            }
            title = preview->windowTitle();
            auto* widget = preview->findChild<QPrintPreviewWidget*>();
            if (widget) {
                widget->updatePreview();
                pages = widget->pageCount();
            }
            return int(QDialog::Rejected);
        });
        Child<QPushButton>(form, "PreviewBtn")->click();
        QVERIFY(title.contains(QStringLiteral("Quillmere Printing")));
        QCOMPARE(pages, 1);
        // The printer's own paper comes back after the labels' Letter sheet.
        QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A4);

        bool asked = false;
        Prompter::QueueDialog([&](QDialog& dialog) {
            asked = qobject_cast<QPrintDialog*>(&dialog) != nullptr;
            return int(QDialog::Accepted);
        });
        Child<QPushButton>(form, "PrintBtn")->click();
        QVERIFY(asked);
        QVERIFY(QFile::exists(pdf));
        QCOMPARE(printer.docName(), QStringLiteral("Quillmere Printing"));

        // The envelope prints at once, without the print dialog.
        QFile::remove(pdf);
        Child<QComboBox>(form, "RptTypeCombo")->setCurrentIndex(TReportForm::EnvelopeReport);
        Child<QPushButton>(form, "PrintBtn")->click();
        QVERIFY(QFile::exists(pdf));
    }

    void aPrinterThatCannotStartIsReportedNotPassedOverInSilence() {
        Contacts c;
        TReportForm form(nullptr, RetFile());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = dir_->filePath(QStringLiteral("gone/out.pdf"));
        printer.setOutputFileName(pdf);
        form.SetPrinter(&printer);
        form.SetSource(c.ann->Node(), c.home, QStringLiteral("Ms. Ann Lee"));
        // The envelope prints without the print dialog, the listing after it.
        Child<QComboBox>(form, "RptTypeCombo")->setCurrentIndex(TReportForm::EnvelopeReport);
        Prompter::QueueAnswer(QMessageBox::Ok);
        Child<QPushButton>(form, "PrintBtn")->click();
        Child<QComboBox>(form, "RptTypeCombo")->setCurrentIndex(TReportForm::ListingReport);
        Prompter::QueueDialog([](QDialog&) { return int(QDialog::Accepted); });
        Prompter::QueueAnswer(QMessageBox::Ok);
        Child<QPushButton>(form, "PrintBtn")->click();
        const QString said = QStringLiteral("Print Reports|Cannot write \"%1\"").arg(pdf);
        QCOMPARE(Prompter::Asked(), (QStringList{said, said}));
        QCOMPARE(Prompter::Boxes().front().icon, QMessageBox::Warning);
        // Cancelling the print dialog is no failure.
        Prompter::QueueDialog([](QDialog&) { return int(QDialog::Rejected); });
        Child<QPushButton>(form, "PrintBtn")->click();
        QCOMPARE(Prompter::Asked().size(), 2);
        // Printing from the preview: the preview itself draws, the print says it failed.
        int pages = 0;
        Prompter::QueueDialog([&](QDialog& dialog) {
            if (auto* widget = dialog.findChild<QPrintPreviewWidget*>()) {
                widget->updatePreview();
                pages = widget->pageCount();
                Prompter::QueueAnswer(QMessageBox::Ok);
                widget->print();
            }
            return int(QDialog::Rejected);
        });
        Child<QPushButton>(form, "PreviewBtn")->click();
        QCOMPARE(pages, 1);
        QCOMPARE(Prompter::Asked(), (QStringList{said, said, said}));
    }

    void filePrintOpensTheDialogForTheSelectedNode() {
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir_->path());
        {
            ImageLists images;
            TMainForm form(images, "quil.dat", "nrb.ini");
            QAction* print = form.Action(QStringLiteral("PrintItem"));
            QVERIFY(print);
            QVERIFY(print->isEnabled());
            QVERIFY(form.Action(QStringLiteral("PrintBtn"))->isEnabled());
            TNRBObject* org =
                CreateItem(kOrganizationKind, "Acme", "", "", 5, "", form.Root(), &form.Outline());
            auto* office = static_cast<TAddressObject*>(
                CreateItem(kAddressKind, "Office", "9 Pine Ave", "", 6, "", org->Node()));
            office->SetLines({"9 Pine Ave"});
            office->SetCity("Austin");
            static_cast<TOrgObject*>(org)->SetPrimaryAddress("Office");
            form.SelectNode(org->Node());
            QString path;
            QString delivery;
            Prompter::QueueDialog([&](QDialog& dialog) {
                if (auto* report = qobject_cast<TReportForm*>(&dialog)) {
                    path = Child<QLabel>(*report, "NodeId")->text();
                    delivery = Child<MemoEdit>(*report, "Delivery")->toPlainText();
                }
                return int(QDialog::Rejected);
            });
            print->trigger();
            QCOMPARE(path, QStringLiteral("My Contacts/Acme"));
            // The organization's title, its street, and the two place lines always.
            QCOMPARE(delivery, QStringLiteral("Acme\n9 Pine Ave\nAustin, \n "));
        }
        QDir::setCurrent(previous);
    }
};

QTEST_MAIN(ReportFormTest)
#include "ReportFormTest.moc"
