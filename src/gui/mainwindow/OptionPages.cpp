#include "gui/mainwindow/OptionPages.h"

#include "platform/LinuxBrowserLink.h"
#include "platform/Utf8Text.h"

#include "gui/mainwindow/ToolEntries.h"

#include "core/storage/categories.h"
#include "core/storage/net_preferences.h"
#include "gui/common/EnterInList.h"
#include "gui/common/Help.h"
#include "gui/common/ImageLists.h"
#include "gui/common/Prompter.h"
#include "gui/mainwindow/ToolsMenu.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quill::gui {
namespace {

template <typename W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TOptionPages::TOptionPages(const QString& iniPath, TToolItems& tools, ImageLists& images,
                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      iniPath_(iniPath), tools_(tools), images_(images) {
    setObjectName(QStringLiteral("TOptionPages"));
    setWindowTitle(QStringLiteral("Options"));
    // Icons of tools added here need the image lists even when nobody hooked them in yet.
    if (!tools_.IconLoader()) {
        tools_.SetIconLoader(ImageListsToolIconLoader(images_));
    }

    pages_ = Named(new QTabWidget(this), "PageControl");
    pages_->addTab(BuildBrowserPage(), QStringLiteral("Browser/Mail"));
    pages_->addTab(BuildToolsPage(), QStringLiteral("Tools Menu"));
    pages_->addTab(BuildCategoriesPage(), QStringLiteral("Categories"));

    auto* ok = Named(new QPushButton(QStringLiteral("OK"), this), "OKBtn");
    auto* cancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "CancelBtn");
    auto* help = Named(new QPushButton(QStringLiteral("&Help"), this), "HelpBtn");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &TOptionPages::HelpBtnClick);
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, &TOptionPages::HelpBtnClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addLayout(buttons);
    // The fixed dialog border: the size the largest page needs, not resizable.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FormCreate();
    // The first field of the first page, not the page tabs, has the focus at the start.
    dde_->setFocus();
}

QWidget* TOptionPages::BuildBrowserPage() {
    auto* page = Named(new QWidget, "BrowserSheet");

    auto* browser = Named(new QGroupBox(QStringLiteral("Preferred Browser"), page), "BrowserGroup");
    dde_ = Named(new QComboBox(browser), "DDE");
    dde_->setEditable(true);
    dde_->addItems(
        {QStringLiteral("NETSCAPE"), QStringLiteral("IExplore"), QStringLiteral("Mosaic")});
    dde_->setInsertPolicy(QComboBox::NoInsert);
    // No completion: it would take the first Enter for itself instead of pressing OK.
    dde_->setCompleter(nullptr);
    path_ = Named(new QLineEdit(browser), "Path");
    path_->setMinimumWidth(260);
    auto* select = Named(new QPushButton(QStringLiteral("..."), browser), "SelectPathBtn");
    select->setToolTip(QStringLiteral("Choose the browser's program file"));
    select->setFixedWidth(select->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    connect(select, &QPushButton::clicked, this, &TOptionPages::SelectPathClick);
    auto* ddeLabel = new QLabel(QStringLiteral("DDE &Name"), browser);
    ddeLabel->setBuddy(dde_);
    auto* pathLabel = new QLabel(QStringLiteral("E&xecutable File Name"), browser);
    pathLabel->setBuddy(path_);
    // What the stored service name stands for on this desktop.
    auto* meaning = Named(new QLabel(browser), "DDEMeaning");
    meaning->setMinimumWidth(meaning->fontMetrics().horizontalAdvance(
        platform::BrowserServiceMeaning(QStringLiteral("IExplore"))));
    const auto showMeaning = [meaning](const QString& service) {
        const QString text = platform::BrowserServiceMeaning(service);
        meaning->setText(text.isEmpty() ? QStringLiteral("no browser here answers to this name")
                                        : text);
    };
    connect(dde_, &QComboBox::currentTextChanged, meaning, showMeaning);
    showMeaning(dde_->currentText());
    for (int i = 0; i < dde_->count(); ++i) {
        dde_->setItemData(i, platform::BrowserServiceMeaning(dde_->itemText(i)), Qt::ToolTipRole);
    }
    auto* grid = new QGridLayout(browser);
    grid->addWidget(ddeLabel, 0, 0);
    grid->addWidget(dde_, 0, 1);
    grid->addWidget(meaning, 0, 2, 1, 2);
    grid->addWidget(pathLabel, 1, 0);
    grid->addWidget(path_, 1, 1, 1, 2);
    grid->addWidget(select, 1, 3);
    grid->setColumnStretch(2, 1);

    auto* mail = Named(new QGroupBox(QStringLiteral("Internet E-Mail"), page), "EMailGroup");
    auto* text = new QLabel(
        QStringLiteral("Select the method to use for sending E-Mail to an Internet address."),
        mail);
    // One line, not wrapped: a label that wraps makes its page answer a height for each width,
    // and the page control then sizes itself by that page alone and cuts the others.
    emailOpt_[0] =
        Named(new QRadioButton(QStringLiteral("Use \"&mailto\" protocol"), mail), "EMailOpt1");
    emailOpt_[1] =
        Named(new QRadioButton(QStringLiteral("Use MS Messa&ging (MAPI)"), mail), "EMailOpt2");
    emailOpt_[2] = Named(new QRadioButton(QStringLiteral("Use &Web Browser "), mail), "EMailOpt3");
    // What each method does on this desktop, under it (broken by hand: see above).
    const char* const what[3] = {"Opens a mailto: link in your mail program.",
                                 "Your mail program's compose window (xdg-email): several\n"
                                 "recipients, names from your contacts, attachments; faxes\n"
                                 "go through HylaFAX's sendfax.",
                                 "Hands the mailto: link to your web browser."};
    auto* mailLayout = new QVBoxLayout(mail);
    mailLayout->addWidget(text);
    for (int i = 0; i < 3; ++i) {
        auto* note = new QLabel(QString::fromLatin1(what[i]), mail);
        note->setObjectName(QStringLiteral("EMailNote%1").arg(i + 1));
        note->setEnabled(false); // drawn as a quieter note
        note->setContentsMargins(emailOpt_[i]->iconSize().width() + 8, 0, 0, 4);
        mailLayout->addWidget(emailOpt_[i]);
        mailLayout->addWidget(note);
    }

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(browser);
    layout->addWidget(mail);
    layout->addStretch(1);
    return page;
}

QWidget* TOptionPages::BuildToolsPage() {
    auto* page = Named(new QWidget, "ToolsSheet");

    toolsList_ = Named(new QListWidget(page), "ToolsList");
    toolsList_->setItemDelegate(new ToolEntryDelegate(images_, toolsList_));
    toolsList_->setUniformItemSizes(true);
    toolsList_->setSelectionMode(QAbstractItemView::SingleSelection);
    toolsList_->setMinimumHeight(4 * kToolEntryHeight + 2 * toolsList_->frameWidth());
    connect(toolsList_, &QListWidget::currentRowChanged, this, &TOptionPages::ToolsListClick);
    connect(toolsList_, &QListWidget::itemClicked, this, &TOptionPages::ToolsListClick);

    auto* newBtn = Named(new QPushButton(QStringLiteral("&New"), page), "NewToolBtn");
    auto* delBtn = Named(new QPushButton(QStringLiteral("&Delete"), page), "DelToolBtn");
    connect(newBtn, &QPushButton::clicked, this, &TOptionPages::NewToolBtnClick);
    connect(delBtn, &QPushButton::clicked, this, &TOptionPages::DelToolBtnClick);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(newBtn);
    buttons->addWidget(delBtn);
    buttons->addStretch(1);

    auto* attributes =
        Named(new QGroupBox(QStringLiteral("Tool Attributes"), page), "AttributesGroup");
    description_ = Named(new QLineEdit(attributes), "Description");
    filenameEdit_ = Named(new QLineEdit(attributes), "FilenameEdit");
    arguments_ = Named(new QLineEdit(attributes), "Arguments");
    addressCheckBox_ =
        Named(new QCheckBox(QStringLiteral("Allow address &item creation"), attributes),
              "AddressCheckBox");
    for (QLineEdit* edit : {description_, filenameEdit_, arguments_}) {
        edit->installEventFilter(this);
    }
    connect(addressCheckBox_, &QCheckBox::clicked, this,
            [this] { AttributesChange(addressCheckBox_); });
    auto* form = new QGridLayout(attributes);
    const std::pair<const char*, QLineEdit*> rows[] = {{"Desc&ription", description_},
                                                       {"E&xecutable File Name", filenameEdit_},
                                                       {"Program &Arguments", arguments_}};
    int row = 0;
    for (const auto& [caption, edit] : rows) {
        auto* label = new QLabel(QLatin1String(caption), attributes);
        label->setBuddy(edit);
        form->addWidget(label, row, 0);
        form->addWidget(edit, row, 1);
        ++row;
    }
    form->addWidget(addressCheckBox_, row, 1);
    form->setColumnStretch(1, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(toolsList_, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top, 1);
    layout->addWidget(attributes);
    return page;
}

QWidget* TOptionPages::BuildCategoriesPage() {
    auto* page = Named(new QWidget, "CategoriesSheet");
    auto* group = Named(new QGroupBox(QStringLiteral("Category Names"), page), "CategoryGroup");
    catList_ = Named(new QListWidget(group), "CatList");
    catList_->setSelectionMode(QAbstractItemView::SingleSelection);
    catName_ = Named(new QLineEdit(group), "CatName");
    catName_->installEventFilter(this);
    auto* label = Named(new QLabel(QStringLiteral("Edit Na&me:"), group), "EditNameLabel");
    label->setBuddy(catName_);
    // CatListClick: a click (or Enter) copies the name into CatName and moves the focus there;
    // moving through the list with the keys copies it without taking the focus away.
    connect(catList_, &QListWidget::itemClicked, this, &TOptionPages::CatListClick);
    connect(catList_, &QListWidget::itemActivated, this, &TOptionPages::CatListClick);
    // Enter hands the name over for editing; it must not press OK as well.
    KeepEnterInList(catList_);
    connect(catList_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* current) {
        if (current) {
            catName_->setText(current->text());
        }
    });

    auto* edit = new QHBoxLayout;
    edit->addWidget(label);
    edit->addWidget(catName_, 1);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(catList_, 1);
    groupLayout->addLayout(edit);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    return page;
}

void TOptionPages::FormCreate() {
    const std::string ini = iniPath_.toStdString();
    const NetPreferences preferences = ReadNetPreferences(ini);
    path_->setText(FromUtf8(preferences.path));
    dde_->setEditText(FromUtf8(preferences.dde));
    const int mail = preferences.inetMail;
    for (int i = 0; i < 3; ++i) {
        emailOpt_[i]->setChecked(mail == i + 1);
    }
    for (int i = 0; i < tools_.Count(); ++i) {
        NewToolEntry(toolsList_, tools_.Items(i));
    }
    ToolsListClick();
}

void TOptionPages::SetCategoryNames(const QStringList& names) {
    catList_->clear();
    catList_->addItems(names);
}

QStringList TOptionPages::CategoryNames() const {
    QStringList names;
    for (int i = 0; i < catList_->count(); ++i) {
        names << catList_->item(i)->text();
    }
    return names;
}

TToolItem* TOptionPages::ToolOf(const QListWidgetItem* entry) {
    return ToolOfEntry(entry);
}

TToolItem* TOptionPages::SelectedTool() const {
    QListWidgetItem* entry = toolsList_->currentItem();
    return entry && entry->isSelected() ? ToolOf(entry) : nullptr;
}

bool TOptionPages::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // Leaving the control, not the window: switching to another program or opening a
        // popup is no exit.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == catName_) {
                CatNameExit();
            } else if (watched == description_ || watched == filenameEdit_ ||
                       watched == arguments_) {
                AttributesChange(watched);
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TOptionPages::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!centred_) {
        centred_ = true;
        QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
        if (screen) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
}

void TOptionPages::SelectPathClick() {
    const QString current = path_->text();
    const QString directory = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
    const QString file =
        Prompter::OpenFileName(this, QStringLiteral("Executable File Name"), directory);
    if (!file.isEmpty()) {
        path_->setText(file);
    }
}

void TOptionPages::ToolsListClick() {
    const TToolItem* tool = SelectedTool();
    description_->setText(tool ? FromUtf8(tool->Description()) : QString());
    filenameEdit_->setText(tool ? FromUtf8(tool->FileName()) : QString());
    arguments_->setText(tool ? FromUtf8(tool->Arguments()) : QString());
    addressCheckBox_->setChecked(tool && tool->TakesAddress());
}

void TOptionPages::AttributesChange(QObject* control) {
    TToolItem* tool = SelectedTool();
    if (!tool) {
        return;
    }
    tool->SetDescription(description_->text().toStdString());
    tool->SetArguments(arguments_->text().toStdString());
    tool->SetTakesAddress(addressCheckBox_->isChecked());
    if (control == filenameEdit_) {
        tool->SetFileName(filenameEdit_->text().toStdString()); // reloads the icon
    }
    if (control == filenameEdit_ || control == description_) {
        toolsList_->currentItem()->setText(FromUtf8(tool->Description()));
        toolsList_->viewport()->update();
    }
}

void TOptionPages::NewToolBtnClick() {
    const QString file = Prompter::OpenFileName(this, QStringLiteral("Open"), QString());
    if (file.isEmpty()) {
        return;
    }
    // A tool is a program: a regular file the user may execute.
    const QFileInfo info(file);
    if (!info.isFile() || !info.isExecutable()) {
        Prompter::Ask(this, QStringLiteral("Only executable programs may be used as Tools"),
                      QStringLiteral("Invalid File Type"), QMessageBox::Ok, QMessageBox::Critical);
        return;
    }
    const std::string path = file.toStdString();
    TToolItem* tool = tools_.AddNew(ToolDescriptionFromFileName(path), path, "", false);
    QListWidgetItem* entry = NewToolEntry(toolsList_, tool);
    toolsList_->setCurrentItem(entry);
    ToolsListClick();
}

void TOptionPages::DelToolBtnClick() {
    const TToolItem* selected = SelectedTool();
    if (!selected) {
        return;
    }
    // The first tool of that description goes, whichever of them was selected; its own entry
    // goes with it, so that no entry is left standing for a destroyed tool.
    const std::string description = selected->Description();
    const TToolItem* victim = nullptr;
    for (int i = 0; i < tools_.Count() && !victim; ++i) {
        if (tools_.Items(i)->Description() == description) {
            victim = tools_.Items(i);
        }
    }
    for (int row = 0; row < toolsList_->count(); ++row) {
        if (ToolOf(toolsList_->item(row)) == victim) {
            delete toolsList_->takeItem(row);
            break;
        }
    }
    tools_.Delete(description);
    ToolsListClick();
}

void TOptionPages::CatListClick() {
    if (QListWidgetItem* current = catList_->currentItem()) {
        catName_->setText(current->text());
        catName_->setFocus(Qt::OtherFocusReason);
        // Selected, so that the new name typed replaces the old one.
        catName_->selectAll();
    }
}

void TOptionPages::CatNameExit() {
    QListWidgetItem* current = catList_->currentItem();
    if (current && !catName_->text().isEmpty()) {
        current->setText(catName_->text());
    }
}

void TOptionPages::HelpBtnClick() {
    OpenHelpTopic(kOptionsHelp);
}

void TOptionPages::done(int result) {
    QWidget* focused = focusWidget();
    if (focused == catName_) {
        CatNameExit();
    }
    // "OK" pressed with Enter, or Escape, leaves the focus in the edit: its text counts as
    // left, as when a button is clicked; tool changes stay whatever closes the dialog.
    if (focused == description_ || focused == filenameEdit_ || focused == arguments_) {
        AttributesChange(focused);
    }
    if (result == QDialog::Accepted) {
        WriteSettings();
    }
    QDialog::done(result);
}

void TOptionPages::WriteSettings() {
    const std::string ini = iniPath_.toStdString();
    NetPreferences preferences;
    preferences.path = path_->text().toStdString();
    preferences.dde = dde_->currentText().toStdString();
    preferences.inetMail = emailOpt_[0]->isChecked()   ? kMailtoLink
                           : emailOpt_[1]->isChecked() ? kMessagingService
                                                       : kWebBrowser;
    std::vector<std::string> names;
    for (const QString& name : CategoryNames()) {
        names.push_back(name.toStdString());
    }
    std::string error;
    bool saved = WriteNetPreferences(ini, preferences, &error);
    saved = saved && WriteCategoryNames(ini, names, &error);
    if (!saved) {
        Prompter::Ask(this, QStringLiteral("The options could not be saved.\n") + FromUtf8(error),
                      QStringLiteral("Options"), QMessageBox::Ok, QMessageBox::Warning);
    }
}

bool RunOptions(QWidget* parent, const QString& iniPath, TToolItems& tools,
                QStringList& categoryNames, ImageLists& images) {
    TOptionPages dialog(iniPath, tools, images, parent);
    dialog.SetCategoryNames(categoryNames);
    const bool ok = Prompter::Exec(dialog) == QDialog::Accepted;
    if (ok) {
        categoryNames = dialog.CategoryNames();
    }
    return ok;
}

} // namespace quill::gui
