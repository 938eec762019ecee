#include "gui/exchange/TFolderBrowser.h"

#include "gui/common/EnterInList.h"
#include "gui/common/PlainToolTip.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QStorageInfo>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace quill::gui {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;

// Entries are indented by their depth in the drawing, not with blanks in their text, so that
// typing a directory's name finds it.
class IndentDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented(option);
        indented.rect.adjust(Indent(option, index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(Indent(option, index), 0);
    }

private:
    static int Indent(const QStyleOptionViewItem& option, const QModelIndex& index) {
        return index.data(kDepthRole).toInt() *
               option.fontMetrics.horizontalAdvance(QStringLiteral("  "));
    }
};

bool IsUserVolume(const QString& root) {
    for (const char* prefix : {"/media/", "/mnt/", "/run/media/"}) {
        if (root.startsWith(QLatin1String(prefix))) {
            return true;
        }
    }
    return false;
}

} // namespace

TFolderBrowser::TFolderBrowser(std::vector<FileFilter> filters, QWidget* parent)
    : QWidget(parent), filters_(std::move(filters)), path_(new QLabel(this)),
      places_(new QComboBox(this)), directories_(new QListWidget(this)) {
    setObjectName(QStringLiteral("FolderBrowser"));
    path_->setObjectName(QStringLiteral("DirectoryPath"));
    // Folder names may hold "<" and "&"; the path shows as it is written.
    path_->setTextFormat(Qt::PlainText);
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    path_->setMinimumWidth(1); // long paths are cut at the right, the whole path in the tip
    places_->setObjectName(QStringLiteral("DriveList"));
    directories_->setObjectName(QStringLiteral("DirectoryListBox"));
    directories_->setItemDelegate(new IndentDelegate(directories_));
    // Long place names must not widen the wizard; the list shows them whole when open.
    places_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    places_->setMinimumContentsLength(12);
    directories_->setMinimumHeight(directories_->fontMetrics().height() * 4);
    for (const auto& [caption, path] : Places()) {
        places_->addItem(caption, path);
    }

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(path_, 0, 0, 1, 2);
    grid->addWidget(directories_, 1, 0);
    grid->addWidget(places_, 2, 0);
    if (!filters_.empty()) {
        files_ = new QListWidget(this);
        files_->setObjectName(QStringLiteral("FileListBox"));
        filter_ = new QComboBox(this);
        filter_->setObjectName(QStringLiteral("FilterComboBox"));
        filter_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        filter_->setMinimumContentsLength(12);
        for (const FileFilter& f : filters_) {
            filter_->addItem(f.caption);
        }
        grid->addWidget(files_, 1, 1);
        grid->addWidget(filter_, 2, 1);
        grid->setColumnStretch(1, 1);
        connect(filter_, &QComboBox::currentIndexChanged, this, [this] { FillFiles(); });
        connect(files_, &QListWidget::currentRowChanged, this,
                [this] { emit fileChanged(SelectedFile()); });
    }
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);
    setTabOrder(directories_, places_);
    if (files_) {
        setTabOrder(places_, files_);
        setTabOrder(files_, filter_);
    }

    connect(directories_, &QListWidget::itemActivated, this, &TFolderBrowser::DirectoryActivated);
    // Enter opens the directory and goes no further: the wizard's default button would
    // otherwise finish with the directory left behind.
    KeepEnterInList(directories_);
    connect(places_, &QComboBox::activated, this, &TFolderBrowser::PlaceChosen);
    SetDirectory(QDir::homePath());
}

QList<QPair<QString, QString>> TFolderBrowser::Places() {
    QList<QPair<QString, QString>> places;
    places.append({QStringLiteral("Home (%1)").arg(QDir::homePath()), QDir::homePath()});
    places.append({QStringLiteral("File System (/)"), QStringLiteral("/")});
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (volume.isValid() && volume.isReady() && IsUserVolume(root)) {
            const QString name = volume.displayName().isEmpty() ? root : volume.displayName();
            places.append({QStringLiteral("%1 (%2)").arg(name, root), root});
        }
    }
    return places;
}

bool TFolderBrowser::SetDirectory(const QString& directory) {
    const QFileInfo info(directory);
    if (directory.isEmpty() || !info.isDir() || !QDir(directory).isReadable()) {
        return false;
    }
    directory_ = QDir::cleanPath(info.absoluteFilePath());
    path_->setText(directory_);
    path_->setToolTip(PlainToolTip(directory_));
    FillDirectories();
    FillFiles();
    emit directoryChanged(directory_);
    return true;
}

void TFolderBrowser::FillDirectories() {
    directories_->clear();
    // The path down to the directory, one step deeper each, then its subdirectories.
    QStringList steps = directory_.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path = QStringLiteral("/");
    int depth = 0;
    auto add = [this](const QString& text, const QString& target, int indent) {
        auto* entry = new QListWidgetItem(text);
        entry->setData(kPathRole, target);
        entry->setData(kDepthRole, indent);
        directories_->addItem(entry);
        return entry;
    };
    QListWidgetItem* current = add(QStringLiteral("/"), path, depth);
    for (const QString& step : steps) {
        path = path.endsWith(QLatin1Char('/')) ? path + step : path + QLatin1Char('/') + step;
        current = add(step, path, ++depth);
    }
    const QDir dir(directory_);
    const QStringList subdirectories =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : subdirectories) {
        add(name, dir.filePath(name), depth + 1);
    }
    QFont bold = current->font();
    bold.setBold(true);
    current->setFont(bold);
    directories_->setCurrentItem(current);
}

void TFolderBrowser::FillFiles() {
    if (!files_) {
        return;
    }
    files_->clear();
    const int index = filter_->currentIndex();
    if (index < 0 || index >= static_cast<int>(filters_.size())) {
        return;
    }
    QDir dir(directory_);
    dir.setNameFilters(filters_[static_cast<std::size_t>(index)].patterns);
    dir.setFilter(QDir::Files | QDir::Readable);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    files_->addItems(dir.entryList());
    emit fileChanged(SelectedFile());
}

QString TFolderBrowser::SelectedFile() const {
    if (!files_ || !files_->currentItem()) {
        return {};
    }
    return QDir(directory_).filePath(files_->currentItem()->text());
}

bool TFolderBrowser::SelectFile(const QString& name) {
    if (!files_) {
        return false;
    }
    const QList<QListWidgetItem*> found = files_->findItems(name, Qt::MatchExactly);
    if (found.isEmpty()) {
        return false;
    }
    files_->setCurrentItem(found.front());
    return true;
}

void TFolderBrowser::SetFilterIndex(int index) {
    if (filter_) {
        filter_->setCurrentIndex(index);
    }
}

int TFolderBrowser::FilterIndex() const {
    return filter_ ? filter_->currentIndex() : -1;
}

void TFolderBrowser::DirectoryActivated(QListWidgetItem* item) {
    if (item) {
        SetDirectory(item->data(kPathRole).toString());
    }
}

void TFolderBrowser::PlaceChosen(int index) {
    SetDirectory(places_->itemData(index).toString());
}

} // namespace quill::gui
