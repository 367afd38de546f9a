#pragma once
// File → Print, Print Preview and Export to PDF of the selected note, or of
// the note and its subnotes, and the command line's --print.

#include <QString>

class QPrinter;

namespace orv {

class CMainWindow;

enum class EPrintTarget { Printer, Preview, Pdf };

// Asks whether the subnotes go too when the note has some, then shows the
// print dialog, the preview, or asks for the PDF file.
void PrintSelectedNote(CMainWindow& window, EPrintTarget eTarget);

// Prints the selected note on `printer` as it is set up, asking nothing;
// the reason when nothing was printed, else empty.
QString PrintSelectedNoteOn(CMainWindow& window, QPrinter& printer, bool bSubnotes = false);

}  // namespace orv
