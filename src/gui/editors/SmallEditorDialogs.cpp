#include "gui/editors/SmallEditorDialogs.h"

#include "platform/Utf8Text.h"

#include "gui/common/TextBoxes.h"

#include "core/model/edit_mask.h"
#include "gui/common/Help.h"
#include "gui/common/ImageLists.h"
#include "gui/common/MaskedNumberEdit.h"
#include "gui/common/MemoEdit.h"
#include "gui/common/Prompter.h"
#include "gui/editors/CategoryPopup.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quill::gui {
namespace {

// The limit given to a box, kept beside it: a longer stored text widens the box's own limit.
constexpr int kFieldWidth = 260;
constexpr int kShortField = 10;

} // namespace

TSmallEditorDlg::TSmallEditorDlg(const QString& caption, TNRBObject& item,
                                 const EditorContext& context)
    : QDialog(context.parent), form_(new QFormLayout), ok_(new QPushButton(QStringLiteral("OK"))),
      cancel_(new QPushButton(QStringLiteral("Cancel"))),
      help_(new QPushButton(QStringLiteral("&Help"))),
      catSelect_(new TCatSelect(item, context.categoryNames)) {
    setWindowTitle(caption);
    setModal(true);

    form_->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form_->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    ok_->setObjectName(QStringLiteral("OKBtn"));
    ok_->setDefault(true);
    cancel_->setObjectName(QStringLiteral("CancelBtn"));
    help_->setObjectName(QStringLiteral("HelpBtn"));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(help_, &QPushButton::clicked, this, [] { OpenHelpTopic(kEditorHelp); });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(help_);
    buttons->addStretch(1);
    buttons->addWidget(catSelect_, 0, Qt::AlignHCenter);

    outer_ = new QHBoxLayout(this);
    outer_->addLayout(form_, 1);
    outer_->addSpacing(8);
    outer_->addLayout(buttons);
    outer_->setSizeConstraint(QLayout::SetMinimumSize);
}

void TSmallEditorDlg::AddLeadingPicture(QWidget* picture) {
    outer_->insertWidget(0, picture, 0, Qt::AlignTop);
    outer_->insertSpacing(1, 8);
}

QLineEdit* TSmallEditorDlg::AddLine(const QString& name, const QString& label, int maxLength) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    SetTypingLimit(edit, maxLength);
    if (maxLength > 0 && maxLength <= kShortField) {
        // A box for a few characters is drawn about as wide as they need.
        const int room =
            edit->fontMetrics().horizontalAdvance(QString(maxLength + 3, QLatin1Char('0')));
        edit->setFixedWidth(room);
    } else {
        edit->setMinimumWidth(kFieldWidth);
    }
    AddRow(label, edit);
    return edit;
}

QLabel* TSmallEditorDlg::AddRow(const QString& label, QWidget* field, QWidget* buddy) {
    auto* caption = new QLabel(label, this);
    caption->setBuddy(buddy ? buddy : field);
    form_->addRow(caption, field);
    AddToTabChain(buddy ? buddy : field);
    return caption;
}

void TSmallEditorDlg::FinishLayout() {
    std::vector<QWidget*> chain = tabChain_;
    chain.insert(chain.end(), {ok_, cancel_, help_, catSelect_});
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        setTabOrder(chain[i], chain[i + 1]);
    }
    if (!tabChain_.empty()) {
        tabChain_.front()->setFocus();
    }
}

TEditAddressDlg::TEditAddressDlg(TNRBObject& item, const EditorContext& context)
    : TSmallEditorDlg(QStringLiteral("Address"), item, context) {
    setObjectName(QStringLiteral("TEditAddressDlg"));
    title_ = AddLine(QStringLiteral("AddrTitle"), QStringLiteral("&Title"), 40);
    addr_ = new MemoEdit(this);
    addr_->setObjectName(QStringLiteral("Addr"));
    addr_->SetMaxLength(120);
    addr_->SetVisibleLines(4);
    addr_->setMinimumWidth(kFieldWidth);
    AddRow(QStringLiteral("A&ddress"), addr_)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    city_ = AddLine(QStringLiteral("City"), QStringLiteral("&City"), 25);
    state_ = AddLine(QStringLiteral("State"), QStringLiteral("&State/Province"), 20);
    postCode_ = AddLine(QStringLiteral("PostCode"), QStringLiteral("&Postal/Zip"), 10);
    country_ = AddLine(QStringLiteral("Country"), QStringLiteral("Countr&y"), 15);
    comment_ = AddLine(QStringLiteral("AddrComment"), QStringLiteral("C&omment"), 255);
    FinishLayout();
}

void TEditAddressDlg::Load(const AddressForm& form) {
    ShowText(title_, form.title);
    addr_->SetText(FromUtf8(form.memo));
    ShowText(city_, form.city);
    ShowText(state_, form.state);
    ShowText(postCode_, form.postCode);
    ShowText(country_, form.country);
    ShowText(comment_, form.comment);
}

AddressForm TEditAddressDlg::Read() const {
    return {TextOf(title_),    addr_->toPlainText().toStdString(),
            TextOf(city_),     TextOf(state_),
            TextOf(postCode_), TextOf(country_),
            TextOf(comment_)};
}

TNumberEditDlg::TNumberEditDlg(const QString& caption, const QString& prefix,
                               const QString& numberLabel, TNRBObject& item,
                               const EditorContext& context)
    : TSmallEditorDlg(caption, item, context) {
    title_ = AddLine(prefix + QStringLiteral("Title"), QStringLiteral("&Title"), 40);
    number_ = new MaskedNumberEdit(this);
    number_->setObjectName(prefix + QStringLiteral("Num"));
    number_->setMinimumWidth(kFieldWidth);
    AddRow(numberLabel, number_);

    format_ = new QComboBox(this);
    format_->setObjectName(prefix + QStringLiteral("Fmt"));
    for (const PhoneFormat& f : PhoneFormats()) {
        format_->addItem(FromUtf8(f.name));
    }
    format_->setMaxVisibleItems(static_cast<int>(PhoneFormats().size()));
    formatLabel_ = AddRow(QStringLiteral("Phone Number &Format"), format_);
    formatLabel_->setObjectName(prefix + QStringLiteral("FmtLabel"));
    connect(format_, &QComboBox::currentIndexChanged, this, &TNumberEditDlg::FormatChange);

    // A stored number is edited as free text: no mask, no format list.
    ShowFormats(false, kFreePhoneFormat);
}

void TNumberEditDlg::ShowFormats(bool shown, std::size_t format) {
    Form()->setRowVisible(format_, shown);
    if (shown) {
        format_->setCurrentIndex(static_cast<int>(format));
        FormatChange(static_cast<int>(format));
    } else {
        mask_.clear();
        number_->SetEditMask({});
    }
}

void TNumberEditDlg::FormatChange(int index) {
    if (index < 0 || index >= static_cast<int>(PhoneFormats().size())) {
        return;
    }
    mask_ = std::string(PhoneFormats()[static_cast<std::size_t>(index)].mask);
    number_->SetEditMask(mask_);
}

void TNumberEditDlg::SetNumber(const std::string& number) {
    number_->setText(QString::fromStdString(number));
}

std::string TNumberEditDlg::Number() const {
    return number_->Number().toStdString();
}

std::string TNumberEditDlg::Mask() const {
    return mask_;
}

namespace {

// The position of the mask in the format list; a form comes with a mask only for a new
// number, and then with the mask of the format it starts with.
std::size_t FormatOfMask(std::string_view mask) {
    const auto formats = PhoneFormats();
    for (std::size_t i = 0; i < formats.size(); ++i) {
        if (formats[i].mask == mask) {
            return i;
        }
    }
    return kFreePhoneFormat;
}

} // namespace

TPhoneEditDlg::TPhoneEditDlg(TNRBObject& item, const EditorContext& context)
    : TNumberEditDlg(QStringLiteral("Phone"), QStringLiteral("Phone"), QStringLiteral("&Phone"),
                     item, context) {
    setObjectName(QStringLiteral("TPhoneEditDlg"));
    extension_ = AddLine(QStringLiteral("Extension"), QStringLiteral("&Extension"), 6);
    comment_ = AddLine(QStringLiteral("PhoneComment"), QStringLiteral("C&omment"), 255);
    FinishLayout();
}

void TPhoneEditDlg::Load(const PhoneForm& form) {
    ShowText(title_, form.title);
    SetNumber(form.number);
    ShowFormats(!form.mask.empty(), FormatOfMask(form.mask));
    ShowText(extension_, form.extension);
    ShowText(comment_, form.comment);
}

PhoneForm TPhoneEditDlg::Read() const {
    return {TextOf(title_), Number(), TextOf(extension_), TextOf(comment_), Mask()};
}

TFaxEditDlg::TFaxEditDlg(TNRBObject& item, const EditorContext& context)
    : TNumberEditDlg(QStringLiteral("Fax"), QStringLiteral("Fax"), QStringLiteral("FAX &Number"),
                     item, context) {
    setObjectName(QStringLiteral("TFaxEditDlg"));
    // Tab passes over the format list; its label's accelerator still reaches it.
    format_->setFocusPolicy(Qt::ClickFocus);
    comment_ = AddLine(QStringLiteral("FaxComment"), QStringLiteral("C&omment"), 255);
    FinishLayout();
}

void TFaxEditDlg::Load(const FaxForm& form) {
    ShowText(title_, form.title);
    SetNumber(form.number);
    ShowFormats(!form.mask.empty(), FormatOfMask(form.mask));
    ShowText(comment_, form.comment);
}

FaxForm TFaxEditDlg::Read() const {
    return {TextOf(title_), Number(), TextOf(comment_), Mask()};
}

TEMailEditDlg::TEMailEditDlg(TNRBObject& item, const EditorContext& context)
    : TSmallEditorDlg(QStringLiteral("E-Mail"), item, context) {
    setObjectName(QStringLiteral("TEMailEditDlg"));
    title_ = AddLine(QStringLiteral("EMailTitle"), QStringLiteral("&Title"), 40);
    address_ = AddLine(QStringLiteral("EMailAddr"), QStringLiteral("&E-Mail Address"), 80);
    comment_ = AddLine(QStringLiteral("EMailComment"), QStringLiteral("C&omment"), 255);
    FinishLayout();
}

void TEMailEditDlg::Load(const EMailForm& form) {
    ShowText(title_, form.title);
    ShowText(address_, form.address);
    ShowText(comment_, form.comment);
}

EMailForm TEMailEditDlg::Read() const {
    return {TextOf(title_), TextOf(address_), TextOf(comment_)};
}

TWebSiteDlg::TWebSiteDlg(TNRBObject& item, const EditorContext& context)
    : TSmallEditorDlg(QStringLiteral("Website"), item, context) {
    setObjectName(QStringLiteral("TWebSiteDlg"));
    title_ = AddLine(QStringLiteral("WebTitle"), QStringLiteral("&Title"), 40);
    web_ = new QComboBox(this);
    web_->setObjectName(QStringLiteral("Web"));
    web_->setEditable(true);
    // Typing an address and pressing Enter accepts the dialog; it does not grow the list.
    web_->setInsertPolicy(QComboBox::NoInsert);
    web_->setCompleter(nullptr); // what is typed stays as typed
    web_->addItems({QStringLiteral("http://"), QStringLiteral("ftp://"), QStringLiteral("news:"),
                    QStringLiteral("mailto:"), QStringLiteral("gopher://"), QStringLiteral("wais:"),
                    QStringLiteral("telnet:")});
    web_->setMinimumWidth(kFieldWidth);
    web_->setEditText(FromUtf8(kNewWebsiteUrl));
    AddRow(QStringLiteral("&Site Address"), web_);
    comment_ = AddLine(QStringLiteral("WebComment"), QStringLiteral("C&omment"), 255);
    FinishLayout();
}

void TWebSiteDlg::Load(const WebsiteForm& form) {
    ShowText(title_, form.title);
    web_->setEditText(FromUtf8(form.url));
    ShowText(comment_, form.comment);
}

WebsiteForm TWebSiteDlg::Read() const {
    return {TextOf(title_), web_->currentText().toStdString(), TextOf(comment_)};
}

TGroupEditDlg::TGroupEditDlg(const QString& caption, const QString& prefix, TNRBObject& item,
                             const EditorContext& context)
    : TSmallEditorDlg(caption, item, context) {
    title_ = AddLine(prefix + QStringLiteral("Title"), QStringLiteral("&Title"), 40);
    comment_ = AddLine(prefix + QStringLiteral("Comment"), QStringLiteral("C&omment"), 255);
    FinishLayout();
}

void TGroupEditDlg::Load(const GroupForm& form) {
    ShowText(title_, form.title);
    ShowText(comment_, form.comment);
}

GroupForm TGroupEditDlg::Read() const {
    return {TextOf(title_), TextOf(comment_)};
}

TFolderEditDlg::TFolderEditDlg(TNRBObject& item, const EditorContext& context)
    : TGroupEditDlg(QStringLiteral("Folder"), QStringLiteral("Folder"), item, context) {
    setObjectName(QStringLiteral("TFolderEditDlg"));
}

TTeamEditDlg::TTeamEditDlg(TNRBObject& item, const EditorContext& context)
    : TGroupEditDlg(QStringLiteral("Team"), QStringLiteral("Team"), item, context) {
    setObjectName(QStringLiteral("TTeamEditDlg"));
}

TDocEditDlg::TDocEditDlg(TNRBObject& item, const EditorContext& context)
    : TSmallEditorDlg(QStringLiteral("Document"), item, context) {
    setObjectName(QStringLiteral("TDocEditDlg"));
    title_ = AddLine(QStringLiteral("TitleEdit"), QStringLiteral("&Title"), 0);

    auto* file = new QWidget(this);
    auto* row = new QHBoxLayout(file);
    row->setContentsMargins(0, 0, 0, 0);
    fileName_ = new QLineEdit(file);
    fileName_->setObjectName(QStringLiteral("FilenameEdit"));
    fileName_->setMinimumWidth(kFieldWidth);
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), file);
    browse->setObjectName(QStringLiteral("BrowseBtn"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &TDocEditDlg::BrowseBtnClick);
    row->addWidget(fileName_, 1);
    row->addWidget(browse);
    AddRow(QStringLiteral("&Filename"), file, fileName_);
    AddToTabChain(browse);

    comment_ = AddLine(QStringLiteral("CommentEdit"), QStringLiteral("C&omment"), 0);
    FinishLayout();
}

void TDocEditDlg::Load(const DocumentForm& form) {
    ShowText(title_, form.title);
    ShowText(fileName_, form.fileName);
    ShowText(comment_, form.comment);
}

DocumentForm TDocEditDlg::Read() const {
    return {TextOf(title_), TextOf(fileName_), TextOf(comment_)};
}

void TDocEditDlg::BrowseBtnClick() {
    const std::string start = BrowseStartDirectory(TextOf(fileName_));
    const QString chosen =
        Prompter::OpenFileName(this, QStringLiteral("Open"), QString::fromStdString(start));
    if (chosen.isEmpty()) {
        return;
    }
    DocumentForm form = Read();
    TakeBrowsedFile(chosen.toStdString(), form);
    Load(form);
}

TToolEdit::TToolEdit(TNRBObject& item, const EditorContext& context)
    : TSmallEditorDlg(QStringLiteral("Custom Tool"), item, context), images_(context.images) {
    setObjectName(QStringLiteral("TToolEdit"));
    image_ = new QLabel(this);
    image_->setObjectName(QStringLiteral("Image1"));
    image_->setFixedSize(ImageLists::kLarge, ImageLists::kLarge);
    image_->setAlignment(Qt::AlignCenter);
    AddLeadingPicture(image_);
    title_ = AddLine(QStringLiteral("TitleEdit"), QStringLiteral("&Title"), 0);
    address_ = AddLine(QStringLiteral("Address"), QStringLiteral("Target &Address"), 0);
    comment_ = AddLine(QStringLiteral("CommentEdit"), QStringLiteral("C&omment"), 0);
    FinishLayout();
}

void TToolEdit::Load(const ToolForm& form) {
    shown_ = form;
    ShowText(title_, form.title);
    ShowText(address_, form.address);
    ShowText(comment_, form.comment);
    image_->setPixmap(images_ ? images_->Pixmap(form.imageIndex, ImageLists::kLarge) : QPixmap{});
}

ToolForm TToolEdit::Read() const {
    ToolForm form = shown_;
    form.title = TextOf(title_);
    form.address = TextOf(address_);
    form.comment = TextOf(comment_);
    return form;
}

} // namespace quill::gui
