#pragma once
// An import run under the progress window, as the import wizard and the command line run
// theirs: what it adds is recorded, and taken out again when the user cancels it.

#include "core/util/file_result.h"

#include <QString>

#include <functional>

class QWidget;

namespace quill {
class IVCardImportChoice;
class TImportRecorder;
} // namespace quill

namespace quill::gui {

class TProgressForm;

struct UndoableImportOutcome {
    FileResult result;
    bool cancelled = false;  // and what came in was taken out again
    qint64 firstUpdate = -1; // milliseconds to the progress window's first update
};

// Runs import under the progress window (form, or one of its own), handing it the choice that
// asks how to take a vCard with an organization. The recorder, when given, is stopped after
// the import; on Cancel it undoes it.
UndoableImportOutcome
RunUndoableImport(TImportRecorder* recorder, TProgressForm* form, const QString& action,
                  QWidget* parent,
                  const std::function<FileResult(IVCardImportChoice& choice)>& import);

} // namespace quill::gui
