#pragma once
// At start, what the last run kept outside the data file is offered back: the autosave copy
// of a run that ended without saving (a crash, a power cut), and the recovery file of a run
// that could not save at its end and had nobody to ask.

#include <QString>
#include <QStringList>

namespace quill::gui {

class TMainForm;

// Asks about the autosave copy beside the data file and the recovery files in the given
// directories that are newer than the data file; restores what the user chooses.
void OfferKeptCopies(TMainForm& form, const QString& dataFile, const QStringList& recoveryDirs);

} // namespace quill::gui
