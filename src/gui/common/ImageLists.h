#pragma once
// The main window's two image lists (16 and 32 pixels) kept in step as one list of icons:
// an index means the same picture at both sizes. Indexes 0 to 13 are the standard pictures
// (kind n, 10 the open folder, 11 a due reminder, 12 the top item, 13 a file); icons of
// documents and tools are appended at run time. It is also the core's icon service.

#include "core/services.h"

#include <QHash>
#include <QIcon>
#include <QList>

#include <functional>
#include <string_view>

namespace quill::gui {

class ImageLists final : public IIconProvider {
public:
    static constexpr int kSmall = 16;
    static constexpr int kLarge = 32;
    static constexpr int kStandardCount = 14;

    ImageLists();

    int Count() const { return static_cast<int>(icons_.size()); }
    // An empty icon for an index out of range.
    QIcon Icon(int index) const;
    QPixmap Pixmap(int index, int size) const;
    int Add(const QIcon& icon);
    void Replace(int index, const QIcon& icon);
    // The standard picture of an index 0 to 13: the icon theme's, else a bundled one.
    static QIcon StandardIcon(int index);

    // Changes whenever a picture is added or replaced (caches of composed icons follow it).
    int Generation() const { return generation_; }
    // The icon of an outline entry: the picture, its selected-state picture, and the due
    // bullet left of it when state is 0 or more.
    QIcon EntryIcon(int image, int selected, int state) const;

    // Who answers which tool's icon a program has (the tools list).
    void SetToolIconLookup(std::function<int(std::string_view)> lookup);

    int AddFileIcon(std::string_view fileName) override;
    void ReplaceFileIcon(int index, std::string_view fileName) override;
    int ToolIconIndex(std::string_view program) const override;

    static QIcon FileIcon(std::string_view fileName);

private:
    QList<QIcon> icons_;
    int generation_ = 0;
    mutable int cacheGeneration_ = -1;
    mutable QHash<qint64, QIcon> entryIcons_;
    std::function<int(std::string_view)> toolLookup_;
};

} // namespace quill::gui
