#pragma once
// The help pages: one HTML page per help context the program opens, under "help" in the
// program's read-only data, shown in the user's browser.

#include <QString>

namespace quill::gui {

inline constexpr int kMainWindowHelp = 1003;
inline constexpr int kEditorHelp = 1039;
inline constexpr int kOptionsHelp = 1040;
inline constexpr int kReportHelp = 1030;

// The directory of the read-only data: "share/quillmere" beside the program's "bin", or the
// source tree's "assets" when running from the build tree.
QString ProgramDataDirectory();
// The page of a help context, or the contents page; empty when the pages are not installed.
QString HelpPage(int context);
QString HelpContentsPage();
// Opens them; nothing happens when the page is missing.
void OpenHelpTopic(int context);
void OpenHelpContents();

} // namespace quill::gui
