#include "gui/editors/HolderEditDlg.h"

#include "platform/Utf8Text.h"

#include "core/model/contact_holder_objects.h"
#include "core/model/edit_mask.h"
#include "core/model/item_kind.h"
#include "gui/common/Help.h"
#include "gui/common/MaskedNumberEdit.h"
#include "gui/common/Prompter.h"
#include "gui/editors/CategoryPopup.h"

#include "gui/common/MemoEdit.h"
#include "gui/common/TextBoxes.h"
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QVBoxLayout>

namespace quill::gui {
namespace {

constexpr int kMemoMaxLength = 120;
constexpr int kTitleBoxChars = 28;

std::string S(const QString& text) {
    return text.toStdString();
}

QStringList ToQStrings(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts) {
        list << FromUtf8(text);
    }
    return list;
}

std::vector<std::string> SList(const QComboBox* box) {
    std::vector<std::string> texts;
    for (int i = 0; i < box->count(); ++i) {
        texts.push_back(S(box->itemText(i)));
    }
    return texts;
}

// A field a given number of average characters wide that does not grow with the dialog.
template <typename W> W* Sized(W* widget, int chars) {
    const int width = widget->fontMetrics().averageCharWidth() * chars + 16;
    widget->setMinimumWidth(width);
    widget->setMaximumWidth(width);
    widget->setSizePolicy(QSizePolicy::Fixed, widget->sizePolicy().verticalPolicy());
    return widget;
}

QLineEdit* LineEdit(QWidget* parent, const char* name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    SetTypingLimit(edit, maxLength);
    return edit;
}

// An editable drop-down whose typed text never becomes an entry of its own.
QComboBox* EditableBox(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // Titles are matched exactly: no completion that would turn "Home" into "Home Office".
    box->setCompleter(nullptr);
    box->setDuplicatesEnabled(true);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(kTitleBoxChars);
    return box;
}

QComboBox* FormatBox(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    for (const PhoneFormat& format : PhoneFormats()) {
        box->addItem(FromUtf8(format.name));
    }
    return box;
}

QLabel* Label(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QFormLayout* PageLayout(QWidget* page) {
    auto* form = new QFormLayout(page);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return form;
}

QString MemoText(const std::vector<std::string>& lines) {
    QStringList list = ToQStrings(lines);
    return list.join(QLatin1Char('\n'));
}

void ShowTitleBox(QComboBox* box, const std::vector<std::string>& choices,
                  const std::string& title) {
    box->clear();
    box->addItems(ToQStrings(choices));
    box->setCurrentIndex(-1);
    box->setEditText(FromUtf8(title));
}

} // namespace

THolderEditDlg::THolderEditDlg(TContactHolderObject& holder, Fields fields, const QString& caption,
                               const EditorContext& context)
    : QDialog(context.parent), holder_(holder), context_(context) {
    setWindowTitle(caption);
    const bool person = fields == Fields::Person;
    setObjectName(person ? QStringLiteral("TEditPersDlg") : QStringLiteral("TOrgEditDlg"));

    title_ = LineEdit(this, "Title", person ? 40 : 0);
    if (person) {
        salutation_ = new QComboBox(this);
        salutation_->setObjectName(QStringLiteral("Salutation"));
        salutation_->setEditable(true);
        salutation_->setInsertPolicy(QComboBox::NoInsert);
        salutation_->setCompleter(nullptr); // what is typed stays as typed
        salutation_->addItems({QStringLiteral("Mr."), QStringLiteral("Mrs."), QStringLiteral("Ms."),
                               QStringLiteral("Miss"), QStringLiteral("Dr."),
                               QStringLiteral("Mr. & Mrs."), QStringLiteral("Dr. & Mrs.")});
        salutation_->setMaxVisibleItems(4);
        salutation_->setCurrentIndex(-1);
        salutation_->setEditText({});
        Sized(salutation_, 12);
        firstName_ = LineEdit(this, "FName", 20);
        middleName_ = LineEdit(this, "MName", 20);
        lastName_ = LineEdit(this, "LName", 25);
    }
    comment_ = LineEdit(this, "Comment", person ? 255 : 0);
    catSelect_ = new TCatSelect(
        holder_, [context = context_] { return context.CategoryNames(); }, this);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("Tabs"));
    // All five tabs in view: the dialog is made as wide as they need.
    tabs_->setUsesScrollButtons(false);
    tabs_->addTab(BuildAddressPage(), QStringLiteral("Primary Address"));
    tabs_->addTab(BuildPhonePage(), QStringLiteral("Primary Phone"));
    tabs_->addTab(BuildFaxPage(), QStringLiteral("Primary FAX"));
    tabs_->addTab(BuildEMailPage(), QStringLiteral("Primary E-mail"));
    tabs_->addTab(BuildWebPage(), QStringLiteral("Primary Website"));
    tabs_->setCurrentIndex(0);

    okBtn_ = new QPushButton(QStringLiteral("OK"), this);
    okBtn_->setObjectName(QStringLiteral("OKBtn"));
    okBtn_->setDefault(true);
    cancelBtn_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelBtn_->setObjectName(QStringLiteral("CancelBtn"));
    cancelBtn_->setAutoDefault(false);
    helpBtn_ = new QPushButton(QStringLiteral("&Help"), this);
    helpBtn_->setObjectName(QStringLiteral("HelpBtn"));
    helpBtn_->setAutoDefault(false);
    connect(okBtn_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelBtn_, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpBtn_, &QPushButton::clicked, this, &THolderEditDlg::HelpBtnClick);

    // Each title box fills its tab when an entry is chosen from it.
    const std::pair<QComboBox*, void (THolderEditDlg::*)()> handlers[] = {
        {addrTitle_, &THolderEditDlg::AddrTitleClick},
        {phoneTitle_, &THolderEditDlg::PhoneTitleClick},
        {faxTitle_, &THolderEditDlg::FaxTitleClick},
        {emailTitle_, &THolderEditDlg::EMailTitleClick},
        {webTitle_, &THolderEditDlg::WebTitleClick}};
    for (const auto& [box, handler] : handlers) {
        connect(box, &QComboBox::activated, this, [this, box, handler](int index) {
            box->setEditText(box->itemText(index));
            (this->*handler)();
        });
    }
    // Connected after the lists were filled, so that filling them set no mask.
    for (QComboBox* box : {phoneFmt_, faxFmt_}) {
        connect(box, &QComboBox::currentIndexChanged, this,
                [this, box](int index) { OnPhoneFmtChg(box, index); });
    }

    BuildLayout(fields);
    SetTabOrder();
}

QWidget* THolderEditDlg::BuildAddressPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("AddressPage"));
    addrTitle_ = EditableBox(page, "AddrTitle");
    addr_ = new MemoEdit(page);
    addr_->setObjectName(QStringLiteral("Addr"));
    addr_->SetMaxLength(kMemoMaxLength);
    addr_->SetVisibleLines(4);
    city_ = Sized(LineEdit(page, "City", 25), 25);
    state_ = Sized(LineEdit(page, "State", 20), 20);
    postCode_ = Sized(LineEdit(page, "PostCode", 10), 10);
    country_ = Sized(LineEdit(page, "Country", 15), 15);
    addrComment_ = LineEdit(page, "AddrComment", 255);

    QFormLayout* form = PageLayout(page);
    form->addRow(Label(QStringLiteral("T&itle"), addrTitle_, page), addrTitle_);
    form->addRow(Label(QStringLiteral("A&ddress"), addr_, page), addr_);
    form->addRow(Label(QStringLiteral("Cit&y"), city_, page), city_);
    form->addRow(Label(QStringLiteral("State/P&rovince"), state_, page), state_);
    form->addRow(Label(QStringLiteral("Postal/&Zip"), postCode_, page), postCode_);
    form->addRow(Label(QStringLiteral("Co&untry"), country_, page), country_);
    form->addRow(Label(QStringLiteral("Comme&nt"), addrComment_, page), addrComment_);
    return page;
}

QWidget* THolderEditDlg::BuildPhonePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("PhonePage"));
    phoneTitle_ = EditableBox(page, "PhoneTitle");
    phoneNum_ = Sized(new MaskedNumberEdit(page), 24);
    phoneNum_->setObjectName(QStringLiteral("PhoneNum"));
    extension_ = Sized(LineEdit(page, "Extension", 6), 8);
    phoneComment_ = LineEdit(page, "PhoneComment", 255);
    phoneFmt_ = Sized(FormatBox(page, "PhoneFmt"), 24);

    phoneForm_ = PageLayout(page);
    phoneForm_->addRow(Label(QStringLiteral("T&itle"), phoneTitle_, page), phoneTitle_);
    phoneForm_->addRow(Label(QStringLiteral("&Phone"), phoneNum_, page), phoneNum_);
    phoneForm_->addRow(Label(QStringLiteral("E&xtension"), extension_, page), extension_);
    phoneForm_->addRow(Label(QStringLiteral("Comme&nt"), phoneComment_, page), phoneComment_);
    QLabel* formatLabel = Label(QStringLiteral("Phone Number F&ormat"), phoneFmt_, page);
    formatLabel->setObjectName(QStringLiteral("PhoneFmtLabel"));
    phoneForm_->addRow(formatLabel, phoneFmt_);
    return page;
}

QWidget* THolderEditDlg::BuildFaxPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("FaxPage"));
    faxTitle_ = EditableBox(page, "FaxTitle");
    faxNum_ = Sized(new MaskedNumberEdit(page), 24);
    faxNum_->setObjectName(QStringLiteral("FaxNum"));
    faxComment_ = LineEdit(page, "FaxComment", 255);
    faxFmt_ = Sized(FormatBox(page, "FaxFmt"), 24);

    faxForm_ = PageLayout(page);
    faxForm_->addRow(Label(QStringLiteral("T&itle"), faxTitle_, page), faxTitle_);
    faxForm_->addRow(Label(QStringLiteral("FA&X Number"), faxNum_, page), faxNum_);
    faxForm_->addRow(Label(QStringLiteral("Comme&nt"), faxComment_, page), faxComment_);
    QLabel* formatLabel = Label(QStringLiteral("Phone Number F&ormat"), faxFmt_, page);
    formatLabel->setObjectName(QStringLiteral("FaxFmtLabel"));
    faxForm_->addRow(formatLabel, faxFmt_);
    return page;
}

QWidget* THolderEditDlg::BuildEMailPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("EMailPage"));
    emailTitle_ = EditableBox(page, "EMailTitle");
    emailAddr_ = LineEdit(page, "EMailAddr", 80);
    emailComment_ = LineEdit(page, "EMailComment", 255);

    QFormLayout* form = PageLayout(page);
    form->addRow(Label(QStringLiteral("T&itle"), emailTitle_, page), emailTitle_);
    form->addRow(Label(QStringLiteral("&E-Mail Address"), emailAddr_, page), emailAddr_);
    form->addRow(Label(QStringLiteral("Comme&nt"), emailComment_, page), emailComment_);
    return page;
}

QWidget* THolderEditDlg::BuildWebPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("WebPage"));
    webTitle_ = EditableBox(page, "WebTitle");
    web_ = EditableBox(page, "Web");
    web_->addItems({QStringLiteral("http://"), QStringLiteral("ftp://"), QStringLiteral("news:"),
                    QStringLiteral("mailto:"), QStringLiteral("gopher://"), QStringLiteral("wais:"),
                    QStringLiteral("telnet:")});
    web_->setEditText(FromUtf8(kWebAddressPreset));
    webComment_ = LineEdit(page, "WebComment", 255);

    QFormLayout* form = PageLayout(page);
    form->addRow(Label(QStringLiteral("T&itle"), webTitle_, page), webTitle_);
    form->addRow(Label(QStringLiteral("Site A&ddress"), web_, page), web_);
    form->addRow(Label(QStringLiteral("Comme&nt"), webComment_, page), webComment_);
    return page;
}

void THolderEditDlg::BuildLayout(Fields fields) {
    auto* top = new QGridLayout;
    top->addWidget(Label(QStringLiteral("&Title"), title_, this), 0, 0);
    if (fields == Fields::Person) {
        top->addWidget(title_, 0, 1, 1, 3);
        top->addWidget(Label(QStringLiteral("&Salut."), salutation_, this), 0, 4);
        top->addWidget(salutation_, 0, 5);
        top->addWidget(Label(QStringLiteral("&First"), firstName_, this), 1, 0);
        top->addWidget(firstName_, 1, 1);
        top->addWidget(Label(QStringLiteral("&Middle"), middleName_, this), 1, 2);
        top->addWidget(middleName_, 1, 3);
        top->addWidget(Label(QStringLiteral("&Last"), lastName_, this), 1, 4);
        top->addWidget(lastName_, 1, 5);
        top->addWidget(Label(QStringLiteral("&Comment"), comment_, this), 2, 0);
        top->addWidget(comment_, 2, 1, 1, 5);
        top->setColumnStretch(1, 1);
        top->setColumnStretch(3, 1);
        top->setColumnStretch(5, 1);
        top->addWidget(catSelect_, 0, 6, Qt::AlignRight | Qt::AlignTop);
    } else {
        top->addWidget(title_, 0, 1);
        top->addWidget(Label(QStringLiteral("&Comment"), comment_, this), 1, 0);
        top->addWidget(comment_, 1, 1);
        top->setColumnStretch(1, 1);
        top->addWidget(catSelect_, 0, 2, Qt::AlignRight | Qt::AlignTop);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okBtn_);
    buttons->addWidget(cancelBtn_);
    buttons->addWidget(helpBtn_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);
    tabs_->setMinimumWidth(tabs_->tabBar()->sizeHint().width() +
                           2 * tabs_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
    title_->setMinimumWidth(fontMetrics().averageCharWidth() * 30);
}

void THolderEditDlg::SetTabOrder() {
    std::vector<QWidget*> chain{title_};
    if (salutation_) {
        chain.insert(chain.end(), {salutation_, firstName_, middleName_, lastName_});
    }
    chain.insert(chain.end(),
                 {comment_,    catSelect_,    tabs_,      addrTitle_,    addr_,       city_,
                  state_,      postCode_,     country_,   addrComment_,  phoneTitle_, phoneNum_,
                  extension_,  phoneComment_, phoneFmt_,  faxTitle_,     faxNum_,     faxComment_,
                  faxFmt_,     emailTitle_,   emailAddr_, emailComment_, webTitle_,   web_,
                  webComment_, okBtn_,        cancelBtn_, helpBtn_});
    for (std::size_t i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

THolderForm THolderEditDlg::Form() const {
    THolderForm f;
    f.title = S(title_->text());
    if (salutation_) {
        f.salutation = S(salutation_->currentText());
        f.firstName = S(firstName_->text());
        f.middleName = S(middleName_->text());
        f.lastName = S(lastName_->text());
    }
    f.comment = S(comment_->text());

    f.address.title = S(addrTitle_->currentText());
    f.address.lines = MemoLines(S(addr_->toPlainText()));
    f.address.city = S(city_->text());
    f.address.state = S(state_->text());
    f.address.postCode = S(postCode_->text());
    f.address.country = S(country_->text());
    f.address.comment = S(addrComment_->text());

    f.phone.title = S(phoneTitle_->currentText());
    f.phone.number = S(phoneNum_->Number());
    f.phone.entered = phoneNum_->IsEntered();
    f.phone.extension = S(extension_->text());
    f.phone.comment = S(phoneComment_->text());

    f.fax.title = S(faxTitle_->currentText());
    f.fax.number = S(faxNum_->Number());
    f.fax.entered = faxNum_->IsEntered();
    f.fax.comment = S(faxComment_->text());

    f.email.title = S(emailTitle_->currentText());
    f.email.address = S(emailAddr_->text());
    f.email.comment = S(emailComment_->text());

    f.web.title = S(webTitle_->currentText());
    f.web.url = S(web_->currentText());
    f.web.comment = S(webComment_->text());

    f.addressTitles = SList(addrTitle_);
    f.phoneTitles = SList(phoneTitle_);
    f.faxTitles = SList(faxTitle_);
    f.emailTitles = SList(emailTitle_);
    f.webTitles = SList(webTitle_);
    return f;
}

void THolderEditDlg::ShowForm(const THolderForm& f) {
    ShowText(title_, f.title);
    if (salutation_) {
        salutation_->setEditText(FromUtf8(f.salutation));
        ShowText(firstName_, f.firstName);
        ShowText(middleName_, f.middleName);
        ShowText(lastName_, f.lastName);
    }
    ShowText(comment_, f.comment);
    ShowTitleBox(addrTitle_, f.addressTitles, f.address.title);
    ShowTitleBox(phoneTitle_, f.phoneTitles, f.phone.title);
    ShowTitleBox(faxTitle_, f.faxTitles, f.fax.title);
    ShowTitleBox(emailTitle_, f.emailTitles, f.email.title);
    ShowTitleBox(webTitle_, f.webTitles, f.web.title);
    ShowAddressTab(f.address);
    ShowPhoneTab(f.phone);
    ShowFaxTab(f.fax);
    ShowEMailTab(f.email);
    ShowWebTab(f.web);
}

void THolderEditDlg::LoadHolder() {
    ShowForm(LoadHolderForm(holder_));
}

void THolderEditDlg::ShowAddressTab(const THolderAddressTab& tab) {
    addr_->SetText(MemoText(tab.lines));
    ShowText(city_, tab.city);
    ShowText(state_, tab.state);
    ShowText(postCode_, tab.postCode);
    ShowText(country_, tab.country);
    ShowText(addrComment_, tab.comment);
}

void THolderEditDlg::ShowPhoneTab(const THolderPhoneTab& tab) {
    SetNumber(phoneNum_, phoneMask_, tab.number);
    ShowText(extension_, tab.extension);
    ShowText(phoneComment_, tab.comment);
}

void THolderEditDlg::ShowFaxTab(const THolderFaxTab& tab) {
    SetNumber(faxNum_, faxMask_, tab.number);
    ShowText(faxComment_, tab.comment);
}

void THolderEditDlg::ShowEMailTab(const THolderEMailTab& tab) {
    ShowText(emailAddr_, tab.address);
    ShowText(emailComment_, tab.comment);
}

void THolderEditDlg::ShowWebTab(const THolderWebTab& tab) {
    web_->setEditText(FromUtf8(tab.url));
    ShowText(webComment_, tab.comment);
}

void THolderEditDlg::SetNumber(MaskedNumberEdit* box, const std::string& mask,
                               const std::string& number) {
    if (mask.empty()) {
        box->setText(FromUtf8(number));
        return;
    }
    // Through free text, so that the number is typed into the mask as the user would.
    box->SetEditMask({});
    box->setText(FromUtf8(number));
    box->SetEditMask(mask);
}

void THolderEditDlg::FillTab(int kind) {
    THolderForm f = Form();
    if (!FillHolderTab(f, holder_, kind)) {
        return;
    }
    switch (kind) {
    case kAddressKind:
        ShowAddressTab(f.address);
        break;
    case kPhoneKind:
        ShowPhoneTab(f.phone);
        break;
    case kFaxKind:
        ShowFaxTab(f.fax);
        break;
    case kEMailKind:
        ShowEMailTab(f.email);
        break;
    case kWebsiteKind:
        ShowWebTab(f.web);
        break;
    default:
        break;
    }
}

void THolderEditDlg::AddrTitleClick() {
    FillTab(kAddressKind);
}
void THolderEditDlg::PhoneTitleClick() {
    FillTab(kPhoneKind);
}
void THolderEditDlg::FaxTitleClick() {
    FillTab(kFaxKind);
}
void THolderEditDlg::EMailTitleClick() {
    FillTab(kEMailKind);
}
void THolderEditDlg::WebTitleClick() {
    FillTab(kWebsiteKind);
}

void THolderEditDlg::OnPhoneFmtChg(QObject* sender, int index) {
    const auto formats = PhoneFormats();
    if (!sender || index < 0 || static_cast<std::size_t>(index) >= formats.size()) {
        return;
    }
    const std::string mask(formats[static_cast<std::size_t>(index)].mask);
    if (sender->objectName() == QLatin1String("PhoneFmt")) {
        phoneMask_ = mask;
        phoneNum_->SetEditMask(mask);
    } else {
        faxMask_ = mask;
        faxNum_->SetEditMask(mask);
    }
}

void THolderEditDlg::FormShow() {
    if (phoneFmt_->isHidden()) {
        return;
    }
    for (QComboBox* box : {phoneFmt_, faxFmt_}) {
        box->setCurrentIndex(static_cast<int>(kUsaPhoneFormat));
        OnPhoneFmtChg(box, static_cast<int>(kUsaPhoneFormat));
    }
}

void THolderEditDlg::HelpBtnClick() {
    OpenHelpTopic(kEditorHelp);
}

void THolderEditDlg::HideFormats() {
    phoneForm_->setRowVisible(phoneFmt_, false);
    faxForm_->setRowVisible(faxFmt_, false);
}

void THolderEditDlg::CentreOnScreen() {
    adjustSize();
    QScreen* screen = context_.parent ? context_.parent->screen() : nullptr;
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void THolderEditDlg::FocusTitle() {
    // Selected, as in the other editors: what the user types replaces "New Person" instead of
    // being added to it.
    title_->setFocus();
    title_->selectAll();
}

bool THolderEditDlg::EditNew() {
    LoadItem();
    THolderForm f = Form();
    PresetNewHolderTitles(f);
    addrTitle_->setEditText(FromUtf8(f.address.title));
    phoneTitle_->setEditText(FromUtf8(f.phone.title));
    faxTitle_->setEditText(FromUtf8(f.fax.title));
    emailTitle_->setEditText(FromUtf8(f.email.title));
    webTitle_->setEditText(FromUtf8(f.web.title));
    FormShow();
    CentreOnScreen();
    FocusTitle();
    if (Prompter::Exec(*this) != QDialog::Accepted) {
        return false;
    }
    return AcceptHolderNew(Form(), holder_);
}

bool THolderEditDlg::Edit() {
    LoadItem();
    // Stored numbers are edited as free text.
    HideFormats();
    FormShow();
    CentreOnScreen();
    FocusTitle();
    if (Prompter::Exec(*this) != QDialog::Accepted) {
        return false;
    }
    AcceptHolderEdit(Form(), holder_);
    return true;
}

} // namespace quill::gui
