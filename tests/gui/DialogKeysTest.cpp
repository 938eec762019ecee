// Every dialog worked from the keyboard alone. Each dialog is opened as the program opens it
// and looked at page by page: no two controls in view answer to the same Alt+letter, a
// label's Alt+letter leads to its field, Tab reaches every control in reading order (top to
// bottom, left to right, a column at a time), the first field has the focus, Enter in a
// one-line field goes to the default button while a memo takes it as a new line, and Escape
// cancels.

#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/locale_names.h"
#include "core/model/outline.h"
#include "core/services.h"
#include "core/storage/tool_items.h"
#include "gui/common/ImageLists.h"
#include "gui/common/Prompter.h"
#include "gui/editors/CategoryPopup.h"
#include "gui/editors/HolderEditors.h"
#include "gui/editors/RecurringDateDlg.h"
#include "gui/editors/ReminderEditor.h"
#include "gui/editors/SmallEditors.h"
#include "gui/exchange/TExportWizard.h"
#include "gui/exchange/TImportWizard.h"
#include "gui/exchange/TVCImportDlg.h"
#include "gui/mainwindow/OptionPages.h"
#include "gui/mainwindow/ToolsDlg.h"
#include "gui/printing/TReportForm.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <functional>
#include <memory>

using namespace quill;
using namespace quill::gui;
using namespace std::chrono;

namespace {

// The Alt+letter a caption answers to, upper-cased; none for "&&" or no "&".
QChar Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) {
            continue;
        }
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text[i + 1].isLetterOrNumber() ? text[i + 1].toUpper() : QChar();
    }
    return {};
}

bool InView(const QWidget* widget, const QWidget* window) {
    return widget->window() == window && widget->isVisibleTo(window);
}

QString Describe(const QWidget* widget) {
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        text = label->text();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        text = button->text();
    } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        text = group->title();
    }
    const QString name =
        widget->objectName().isEmpty() ? widget->metaObject()->className() : widget->objectName();
    return text.isEmpty() ? name : QStringLiteral("%1 \"%2\"").arg(name, text);
}

// The window as it shows now: Alt+letters taken twice, and labels whose Alt+letter leads
// nowhere.
QStringList MnemonicFaults(QWidget* window) {
    QMap<QChar, QStringList> owners;
    QStringList faults;
    const auto own = [&](const QString& caption, const QString& who) {
        const QChar key = Mnemonic(caption);
        if (!key.isNull()) {
            owners[key] << who;
        }
    };
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!InView(widget, window)) {
            continue;
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (Mnemonic(label->text()).isNull()) {
                if (label->buddy() && InView(label->buddy(), window) &&
                    (label->buddy()->focusPolicy() & Qt::TabFocus)) {
                    faults << Describe(label) +
                                  QStringLiteral(" names a field but has no Alt+letter");
                }
                continue;
            }
            if (!label->buddy()) {
                faults << Describe(label) + QStringLiteral(" has no field to lead to");
            } else if (!InView(label->buddy(), window)) {
                faults << Describe(label) + QStringLiteral(" leads to a field out of view");
            }
            own(label->text(), Describe(label));
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            own(button->text(), Describe(button));
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            own(group->title(), Describe(group));
        } else if (auto* bar = qobject_cast<QTabBar*>(widget)) {
            for (int i = 0; i < bar->count(); ++i) {
                own(bar->tabText(i), QStringLiteral("tab \"%1\"").arg(bar->tabText(i)));
            }
        }
    }
    for (auto it = owners.cbegin(); it != owners.cend(); ++it) {
        if (it.value().size() > 1) {
            faults << QStringLiteral("Alt+%1 taken by %2").arg(it.key(), it.value().join(", "));
        }
    }
    return faults;
}

QRect RectIn(const QWidget* widget, const QWidget* window) {
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

// What Tab visits from the focus widget on, once round.
QList<QWidget*> TabWalk() {
    QList<QWidget*> walk;
    QWidget* start = QApplication::focusWidget();
    for (QWidget* at = start; at && walk.size() < 100;) {
        walk << at;
        QTest::keyClick(at, Qt::Key_Tab);
        at = QApplication::focusWidget();
        if (at == start) {
            break;
        }
    }
    return walk;
}

// Tab going back up (other than into a column to the right) or to the left within a row,
// from the focus widget (the first control) round to the last; and controls Tab never
// reaches.
QStringList TabOrderFaults(QWidget* window) {
    QStringList faults;
    const QList<QWidget*> walk = TabWalk();
    for (qsizetype i = 0; i + 1 < walk.size(); ++i) {
        const qsizetype next = i + 1;
        const QRect a = RectIn(walk[i], window);
        const QRect b = RectIn(walk[next], window);
        const bool above = b.bottom() < a.top();
        const bool newColumn = b.left() >= a.right();
        const bool sameRow = b.top() <= a.bottom() && b.bottom() >= a.top();
        const bool leftOf = b.right() < a.left();
        if ((above && !newColumn) || (sameRow && leftOf)) {
            faults << QStringLiteral("Tab goes back from %1 to %2")
                          .arg(Describe(walk[i]), Describe(walk[next]));
        }
    }
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const auto* radio = qobject_cast<const QRadioButton*>(widget);
        const bool reachable = InView(widget, window) && widget->isEnabled() &&
                               (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
                               !widget->focusProxy() &&
                               // Tab enters a group of radio buttons at the one checked.
                               !(radio && radio->autoExclusive() && !radio->isChecked());
        if (reachable && !walk.contains(widget)) {
            faults << Describe(widget) + QStringLiteral(" is never reached by Tab");
        }
    }
    return faults;
}

// Counts the Enter keys that reach the window itself (where QDialog presses the default
// button) and keeps them there, so that the dialog stays as it is.
class EnterWatch final : public QObject {
public:
    explicit EnterWatch(QWidget* window) : window_(window) { window->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                ++count;
                return true;
            }
        }
        return false;
    }

private:
    QWidget* window_;
};

// Enter in every one-line field in view reaches the default button; in a memo it does not.
QStringList EnterFaults(QWidget* window) {
    QStringList faults;
    EnterWatch watch(window);
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!InView(widget, window) || !widget->isEnabled() ||
            widget->focusPolicy() == Qt::NoFocus || widget->focusProxy()) {
            continue;
        }
        const auto* combo = qobject_cast<QComboBox*>(widget);
        const bool multiLine =
            qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QTextEdit*>(widget);
        const bool oneLine = qobject_cast<QLineEdit*>(widget) || (combo && combo->isEditable()) ||
                             qobject_cast<QAbstractSpinBox*>(widget);
        if (!oneLine && !multiLine) {
            continue;
        }
        widget->setFocus(Qt::TabFocusReason);
        const int before = watch.count;
        QTest::keyClick(widget, Qt::Key_Return);
        if (oneLine && watch.count == before) {
            faults << QStringLiteral("Enter in %1 does not reach the default button")
                          .arg(Describe(widget));
        }
        if (multiLine && watch.count != before) {
            faults << QStringLiteral("Enter in %1 closes the dialog").arg(Describe(widget));
        }
    }
    return faults;
}

void Show(QWidget& window) {
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

// The faults of the window as shown, labelled with where they were found.
QStringList PageFaults(QWidget* window, const QString& where) {
    // One after the other: Enter moves the focus that Tab starts from.
    QStringList faults = MnemonicFaults(window);
    faults += TabOrderFaults(window);
    faults += EnterFaults(window);
    for (QString& fault : faults) {
        fault.prepend(where + QStringLiteral(": "));
    }
    return faults;
}

// Every page of every tab control, each in turn, Tab going from the focus widget on.
QStringList TabPagesFaults(QWidget* window, const QString& where) {
    QStringList faults;
    QWidget* start = QApplication::focusWidget();
    const QList<QTabWidget*> tabs = window->findChildren<QTabWidget*>();
    for (QTabWidget* tab : tabs) {
        if (!InView(tab, window)) {
            continue;
        }
        for (int i = 0; i < tab->count(); ++i) {
            tab->setCurrentIndex(i);
            // Tab goes round from the first control: the page tabs when they come first.
            (tab->isAncestorOf(start) ? tab->tabBar() : start)->setFocus();
            faults += PageFaults(window, where + QLatin1Char('/') + tab->tabText(i));
        }
        tab->setCurrentIndex(0);
    }
    if (tabs.isEmpty()) {
        faults += PageFaults(window, where);
    }
    return faults;
}

// The first control of a page in the window's Tab order.
QWidget* FirstControlOf(QWidget* window, QWidget* page) {
    for (QWidget* at = window->nextInFocusChain(); at != window; at = at->nextInFocusChain()) {
        if (page->isAncestorOf(at) && InView(at, window) && at->isEnabled() &&
            (at->focusPolicy() & Qt::TabFocus) && !at->focusProxy()) {
            return at;
        }
    }
    return nullptr;
}

QString FocusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(nothing)");
}

// Escape closes the dialog as Cancel does.
void CheckEscapeCancels(QDialog& dialog) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    dialog.setResult(-1);
    QTest::keyClick(focus, Qt::Key_Escape);
    QVERIFY2(dialog.isHidden(), qPrintable(dialog.objectName()));
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

// An answer to Exec: the dialog shown, looked at, then closed with Escape.
Prompter::DialogAnswer Look(QStringList& faults, const QString& firstField) {
    return [&faults, firstField](QDialog& dialog) {
        Show(dialog);
        const QString where = dialog.objectName();
        if (FocusName() != firstField) {
            faults << QStringLiteral("%1 opens with the focus on %2, not %3")
                          .arg(where, FocusName(), firstField);
        }
        // What is typed first replaces a proposed title ("New Phone").
        if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            edit && edit->selectedText() != edit->text()) {
            faults << QStringLiteral("%1 opens with \"%2\" not selected").arg(where, edit->text());
        }
        faults += TabPagesFaults(&dialog, where);
        // The focus back on the first field, as after opening.
        if (QWidget* first = dialog.findChild<QWidget*>(firstField)) {
            first->setFocus();
        }
        CheckEscapeCancels(dialog);
        return dialog.result();
    };
}

// Each fault on a line of its own; none is expected.
void Report(const QStringList& faults) {
    for (const QString& fault : faults) {
        qWarning().noquote() << fault;
    }
    QVERIFY2(faults.isEmpty(), "the dialogs' faults are listed above");
}

class FixedClock final : public IClock {
public:
    Date Today() const override { return 1997y / March / 14d; }
};

} // namespace

class DialogKeysTest : public QObject {
    Q_OBJECT

    ImageLists images_;
    FixedClock clock_;
    DatePicker picker_;
    std::unique_ptr<ScopedServices> services_;
    EditorContext context_{nullptr, [] { return QStringList{"Family", "Work", "Club"}; }, &images_};

private slots:
    void init() {
        services_ = std::make_unique<ScopedServices>(Services{.clock = &clock_,
                                                              .locale = &EnglishLocaleNames(),
                                                              .icons = &images_,
                                                              .datePicker = &picker_});
        Prompter::Reset();
        Prompter::SetStrict(true);
    }

    void cleanup() {
        QCOMPARE(Prompter::Unanswered(), QStringList{});
        services_.reset();
    }

    void everyItemEditorIsWorkedByTheKeys() {
        TOutline outline;
        TOutlineNode* root = outline.CreateRoot();
        struct Case {
            int kind;
            bool isNew;
            const char* firstField;
        };
        const Case cases[] = {
            {kPersonKind, true, "Title"},        {kPersonKind, false, "Title"},
            {kOrganizationKind, true, "Title"},  {kOrganizationKind, false, "Title"},
            {kAddressKind, true, "AddrTitle"},   {kPhoneKind, true, "PhoneTitle"},
            {kPhoneKind, false, "PhoneTitle"},   {kFaxKind, true, "FaxTitle"},
            {kEMailKind, true, "EMailTitle"},    {kWebsiteKind, true, "WebTitle"},
            {kFolderKind, false, "FolderTitle"}, {kTeamKind, false, "TeamTitle"},
            {kDocumentKind, true, "TitleEdit"},  {kToolKind, true, "TitleEdit"},
            {kReminderKind, true, "TitleEdit"},
        };
        QStringList faults;
        for (const Case& c : cases) {
            TNRBObject* item = CreateItem(c.kind, "x", "", "", 0, "", root);
            QVERIFY(item);
            Prompter::QueueDialog(Look(faults, QLatin1String(c.firstField)));
            if (c.kind == kPersonKind || c.kind == kOrganizationKind) {
                RunHolderEditor(*static_cast<TContactHolderObject*>(item), c.isNew, context_);
            } else if (c.kind == kReminderKind) {
                RunReminderEditor(*static_cast<TReminderObject*>(item), c.isNew, context_);
            } else {
                RunSmallEditor(*item, c.isNew, context_);
            }
        }
        Report(faults);
    }

    void theDatePickerIsWorkedByTheKeys() {
        QStringList faults;
        TRecurringDate date(false);
        Prompter::QueueDialog(Look(faults, QStringLiteral("MonthSelector")));
        QVERIFY(!date.Execute());
        Report(faults);
    }

    void theListsAndQuestionsAreWorkedByTheKeys() {
        QStringList faults;
        TToolItems tools;
        tools.AddNew("Viewer", "/bin/cat", "", true);
        TToolsDlg picker(tools, images_);
        Show(picker);
        faults += PageFaults(&picker, picker.objectName());

        TCategoryPopup popup({QStringLiteral("Family"), QStringLiteral("Work")}, 1);
        Show(popup);
        faults += PageFaults(&popup, popup.objectName());
        CheckEscapeCancels(popup);

        TVCImportDlg question(QStringLiteral("Ann Smith"), QStringLiteral("Acme"));
        Show(question);
        faults += PageFaults(&question, question.objectName());
        Report(faults);
    }

    void questionsWithButtonsOfTheirOwnAreWorkedByTheKeys() {
        Prompter::SetStrict(false);
        QStringList faults;
        // The key pressed in the box that opens next.
        const auto press = [&faults](Qt::Key key) {
            QTimer::singleShot(0, [&faults, key] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box) {
                    faults << QStringLiteral("no box opened");
                    return;
                }
                faults += MnemonicFaults(box);
                QTest::keyClick(box, key);
                if (box->isVisible()) {
                    faults << QStringLiteral("\"%1\" stays open on that key").arg(box->text());
                    box->buttons().constLast()->click();
                }
            });
        };
        const QStringList restore{QStringLiteral("&Restore"), QStringLiteral("&Discard")};
        const QStringList overwrite{QStringLiteral("&Overwrite"),
                                    QStringLiteral("Save &Elsewhere..."), QStringLiteral("Cancel")};
        // Without a button of its own for Escape, Escape closes the box unanswered.
        press(Qt::Key_Escape);
        QCOMPARE(Prompter::AskChoice(nullptr, QStringLiteral("Restore the copy?"),
                                     QStringLiteral("Quillmere"), restore, QMessageBox::Question, 0,
                                     -1),
                 -1);
        press(Qt::Key_Return);
        QCOMPARE(Prompter::AskChoice(nullptr, QStringLiteral("Restore the copy?"),
                                     QStringLiteral("Quillmere"), restore, QMessageBox::Question, 0,
                                     -1),
                 0);
        press(Qt::Key_Escape);
        QCOMPARE(Prompter::AskChoice(nullptr, QStringLiteral("Overwrite the file?"),
                                     QStringLiteral("Quillmere"), overwrite, QMessageBox::Warning,
                                     0, 2),
                 2);
        Prompter::SetStrict(true);
        Report(faults);
    }

    void theOptionsDialogIsWorkedByTheKeys() {
        QTemporaryDir dir;
        TToolItems tools;
        tools.AddNew("Viewer", "/bin/cat", "", true);
        TOptionPages dialog(dir.filePath(QStringLiteral("nrb.ini")), tools, images_);
        QStringList names;
        for (int i = 1; i <= 32; ++i) {
            names << QStringLiteral("User Defined %1").arg(i);
        }
        dialog.SetCategoryNames(names);
        Show(dialog);
        QStringList faults;
        if (FocusName() != QLatin1String("DDE")) {
            faults << QStringLiteral("the options open with the focus on ") + FocusName();
        }
        faults += TabPagesFaults(&dialog, dialog.objectName());
        // Escape keeps a tool's description typed, as clicking "Cancel" does.
        dialog.findChild<QTabWidget*>()->setCurrentIndex(1);
        dialog.findChild<QListWidget*>(QStringLiteral("ToolsList"))->setCurrentRow(0);
        auto* description = dialog.findChild<QLineEdit*>(QStringLiteral("Description"));
        description->setFocus();
        description->selectAll();
        QTest::keyClicks(description, QStringLiteral("Pager"));
        CheckEscapeCancels(dialog);
        QCOMPARE(tools.Items(0)->Description(), std::string("Pager"));
        Report(faults);
    }

    void everyWizardPageIsWorkedByTheKeys() {
        TOutline outline;
        TOutlineNode* root = outline.CreateRoot();
        TOutlineNode* ann = CreateItem(kPersonKind, "Ann", "", "", 0, "", root)->Node();
        QStringList faults;
        const auto walk = [&](TWizardForm& wizard, QComboBox* types, const QString& firstField) {
            Show(wizard);
            if (FocusName() != firstField) {
                faults << QStringLiteral("%1 opens with the focus on %2")
                              .arg(wizard.objectName(), FocusName());
            }
            for (int type = 0; type < types->count(); ++type) {
                types->setCurrentIndex(type);
                emit types->activated(type); // as when chosen with the arrow keys
                for (int page = 0; page < wizard.VisibleSheets().size(); ++page) {
                    wizard.SetCurrentPage(page);
                    QWidget* first = FirstControlOf(&wizard, wizard.Page(wizard.CurrentPageName()));
                    (first ? first : wizard.NextBtn())->setFocus();
                    faults +=
                        PageFaults(&wizard, QStringLiteral("%1/%2").arg(wizard.objectName(),
                                                                        wizard.CurrentPageName()));
                }
            }
            // Escape on a later page cancels as "Cancel" does.
            types->setCurrentIndex(0);
            wizard.NextBtnClick();
            CheckEscapeCancels(wizard);
        };
        TImportWizard import;
        import.SetBrowserProfiles({});
        import.SetParent(ann);
        walk(import, import.ImportType(), QStringLiteral("ImportType"));
        TExportWizard exporter;
        exporter.SetParent(ann);
        walk(exporter, exporter.TypeList(), QStringLiteral("ExportType"));
        Report(faults);
    }

    void everyReportPageIsWorkedByTheKeys() {
        QTemporaryDir dir;
        TReportForm form(nullptr, dir.filePath(QStringLiteral("ret_addr.dat")));
        TOutline outline;
        TOutlineNode* root = outline.CreateRoot();
        form.SetSource(root, nullptr, {});
        Show(form);
        QStringList faults;
        if (FocusName() != QLatin1String("RptTypeCombo")) {
            faults << QStringLiteral("the report dialog opens with the focus on ") + FocusName();
        }
        auto* types = form.findChild<QComboBox*>(QStringLiteral("RptTypeCombo"));
        QVERIFY(types);
        for (int type = 0; type < types->count(); ++type) {
            types->setCurrentIndex(type);
            types->setFocus();
            faults += PageFaults(&form, QStringLiteral("TReportForm/") + types->itemText(type));
        }
        CheckEscapeCancels(form);
        Report(faults);
    }
};

QTEST_MAIN(DialogKeysTest)
#include "DialogKeysTest.moc"
