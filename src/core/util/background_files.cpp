#include "core/util/background_files.h"

#include "core/util/atomic_file.h"

namespace quill {

namespace {
thread_local BackgroundFileWriter* current = nullptr;
} // namespace

BackgroundFileScope::BackgroundFileScope(BackgroundFileWriter& writer) : previous_(current) {
    current = &writer;
}

BackgroundFileScope::~BackgroundFileScope() {
    current = previous_;
}

BackgroundFileWriter* CurrentBackgroundFileWriter() {
    return current;
}

BackgroundFileWriter::BackgroundFileWriter()
    : files_(kMaxQueued, [](std::pair<std::string, std::string>& file) {
          std::string error;
          if (!SaveCopyFile(file.first, file.second, &error) && error.empty()) {
              error = "Cannot write " + file.first;
          }
          return error;
      }) {}

BackgroundFileWriter::~BackgroundFileWriter() {
    Abandon();
}

bool BackgroundFileWriter::Write(std::string path, std::string bytes) {
    std::pair<std::string, std::string> file(std::move(path), std::move(bytes));
    return files_.Give(file);
}

bool BackgroundFileWriter::Finish() {
    return files_.Finish();
}

void BackgroundFileWriter::Abandon() {
    files_.Abandon();
}

} // namespace quill
