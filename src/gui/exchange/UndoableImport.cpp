#include "gui/exchange/UndoableImport.h"

#include "core/wizards/import_recorder.h"
#include "gui/exchange/TVCImportDlg.h"
#include "gui/exchange/WorkProgress.h"

namespace quill::gui {

UndoableImportOutcome
RunUndoableImport(TImportRecorder* recorder, TProgressForm* form, const QString& action,
                  QWidget* parent,
                  const std::function<FileResult(IVCardImportChoice& choice)>& import) {
    UndoableImportOutcome outcome;
    {
        WorkProgress progress(form, action, parent);
        TVCardImportChoice choice(parent, &progress.Form());
        {
            WorkProgressScope scope(progress);
            outcome.result = import(choice);
        }
        outcome.cancelled = progress.Cancelled();
        outcome.firstUpdate = progress.FirstUpdateMilliseconds();
    }
    if (recorder) {
        recorder->Stop();
        if (outcome.cancelled) {
            // Nothing half-imported stays behind.
            recorder->Undo();
        }
    }
    return outcome;
}

} // namespace quill::gui
