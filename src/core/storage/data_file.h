#pragma once
// The outline data file "quil.dat", the clipboard file "clipdata.dat" and exchange files
// (".qld"): streams of item records whose levels rebuild the nesting.

#include "core/util/file_result.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quill {

class TNRBObject;
class TOutline;
class TOutlineNode;

inline constexpr std::string_view kDataFileName = "quil.dat";
inline constexpr std::string_view kClipboardFileName = "clipdata.dat";
inline constexpr std::string_view kDataFileFirstLine = "{Params}";

// True for items the category filter hides; they are left out of what is written.
using HiddenItemTest = std::function<bool(const TNRBObject&)>;

// Rebuilds items from record lines fed one at a time, under target: the levels of the
// headers place each item, a data line follows every header but the root's.
class RecordReader {
public:
    RecordReader(TOutlineNode* target, std::string_view fileName, int firstLineNumber = 1);
    ~RecordReader();
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;
    // False once an input error stopped the reading (a header whose level or kind is not a
    // number); the items read up to then stay.
    bool Line(std::string_view line);
    FileResult Finish();
    // How many record headers were read, wherever they placed their items.
    int HeadersRead() const { return headersRead_; }

private:
    void Create(std::string_view dataLine);
    // The due marks of what was read are counted once at the end (see DeferDueMarks).
    void EndDueMarkDeferral();

    TOutlineNode* target_;
    TOutline* outline_;
    long long base_;    // depth of the target
    long long current_; // the current level
    TOutlineNode* parent_;
    TOutlineNode* last_; // the last tree node created
    std::string fileName_;
    int lineNumber_;
    FileResult result_;
    bool awaitingData_ = false;
    bool deferringDueMarks_ = false;
    int kind_ = 0;
    std::string title_;
    std::string targetText_;
    std::string comment_;
    std::int32_t id_ = 0;
    int headersRead_ = 0;
};

// Reads records under target, as many as the text holds. Stops at a header whose level or
// kind is not a number; the items read up to then stay. fileName names the source in the
// message.
FileResult ReadRecords(std::string_view text, TOutlineNode* target, std::string_view fileName,
                       int firstLineNumber = 1);

// Appends the item's record at level as one line and then its Children one level deeper.
void WriteItemTree(const TNRBObject& item, std::string& out, int level);

// Appends the records of node and its descendants, node at level 1. With zeroTreeCategories
// the tree items' categories are written as 0 (exchange and clipboard files written from
// the tree); hidden items are left out, their descendants still written.
void AppendSubtreeRecords(const TOutlineNode& node, std::string& out,
                          const HiddenItemTest& hidden = {}, bool zeroTreeCategories = true);

// Writes node's subtree as records to the file (exchange and clipboard files).
FileResult WriteSubtree(const TOutlineNode& node, const std::string& fileName,
                        const HiddenItemTest& hidden = {});

// Reads an exchange file (extension ".qld" in any case) or the clipboard file under node. Any
// other file name, and a file that cannot be opened, adds nothing and is no error.
FileResult ImportFile(TOutlineNode* node, const std::string& fileName);

// The whole outline as the data file holds it.
std::string DataFileText(const TOutline& outline);

// What a file looked like on disk: enough to tell that another program wrote it since.
struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written{};
    bool operator==(const FileStamp&) const = default;
};
FileStamp ReadFileStamp(const std::string& path);

// How a copy of the outline is written.
struct CopyOptions {
    bool userOnly = false;  // readable by the user alone (recovery and autosave copies)
    bool exclusive = false; // fails rather than replace an existing file
};

// Writes the whole outline, as the data file holds it, to another file (atomically).
FileResult WriteDataFileCopy(const TOutline& outline, const std::string& path,
                             CopyOptions options = {});

// The data file of one outline. A file that could not be read to its end is copied to
// "<name>.bak" before it is next overwritten, so a bad line never costs the rest of it.
class TDataFile {
public:
    explicit TDataFile(std::string path = std::string(kDataFileName));

    // Reads the file under the outline's root. A missing file is no error.
    FileResult LoadDataFile(TOutline& outline);
    // Writes the whole outline atomically: the old file stays whole if anything fails.
    FileResult SaveDataFile(const TOutline& outline);
    // Replaces the whole outline by what a data file holds: every top-level node goes, a new
    // root is made and the file is read under it, so nothing of the old outline stays.
    // source names another file in the data file's format (an autosave or recovery copy);
    // empty reads the data file itself.
    FileResult ReloadDataFile(TOutline& outline, const std::string& source = {});
    // Whether another program wrote (or removed) the file since it was last read or saved.
    bool ChangedOnDisk() const { return ReadFileStamp(path_) != stamp_; }

    const std::string& Path() const { return path_; }
    std::string BackupPath() const { return path_ + ".bak"; }
    // A failed load left the original waiting to be copied aside at the next save.
    bool BackupPending() const { return backupPending_; }
    // What the user is told beside a load's input error about the kept copy.
    std::string BackupNote() const;

private:
    FileResult Load(TOutline& outline, const std::string& source);

    std::string path_;
    bool backupPending_ = false;
    std::string backupNote_;
    FileStamp stamp_;
};

} // namespace quill
