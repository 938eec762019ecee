#pragma once
// The wizards' drive, directory and file lists as one widget over the Linux file system: a
// list of places (the home folder, the whole file system, mounted volumes), the directory
// list (the path down to the current directory, then its subdirectories; double-click or
// Enter opens one), and, where a file is chosen, the file list with its filter choices.

#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;

namespace quill::gui {

struct FileFilter {
    QString caption;      // "vCard Files (*.vcf)"
    QStringList patterns; // matched without regard to case
};

class TFolderBrowser final : public QWidget {
    Q_OBJECT

public:
    // Without filters the browser picks directories only.
    explicit TFolderBrowser(std::vector<FileFilter> filters = {}, QWidget* parent = nullptr);

    // Shows directory (made absolute and clean); false, changing nothing, when it is no
    // directory that can be listed.
    bool SetDirectory(const QString& directory);
    const QString& Directory() const { return directory_; }
    // The file chosen in the file list (full path); empty when none.
    QString SelectedFile() const;
    // Chooses the file of that name in the current directory; false when it is not listed.
    bool SelectFile(const QString& name);
    void SetFilterIndex(int index);
    int FilterIndex() const;

    // The places offered: the home folder, "/", and the mounted volumes under /media, /mnt
    // and /run/media.
    static QList<QPair<QString, QString>> Places(); // caption, path

    QComboBox* PlacesBox() const { return places_; }
    QListWidget* DirectoryList() const { return directories_; }
    QListWidget* FileList() const { return files_; }
    QComboBox* FilterBox() const { return filter_; }

signals:
    void directoryChanged(const QString& directory);
    void fileChanged(const QString& file);

private:
    void FillDirectories();
    void FillFiles();
    void DirectoryActivated(QListWidgetItem* item);
    void PlaceChosen(int index);

    std::vector<FileFilter> filters_;
    QString directory_;
    QLabel* path_;
    QComboBox* places_;
    QListWidget* directories_;
    QListWidget* files_ = nullptr;
    QComboBox* filter_ = nullptr;
};

} // namespace quill::gui
