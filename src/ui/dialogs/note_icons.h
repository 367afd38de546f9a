#pragma once
// The icons of notes and folder tabs, and the program's own icon, all drawn
// here so the program ships no image files. Notes and folders keep an icon
// index; the set holds every glyph in every colour of its palette, so any
// index a document may carry (old numbers converted on reading go up to
// about 280) has an icon.

#include <QIcon>

namespace orv {

inline constexpr int kNoteIconCount = 320;
inline constexpr int kDefaultNoteIcon = 0;     // a plain sheet
inline constexpr int kDefaultFolderIcon = 47;  // an amber folder

// The icon of an index, with 16 and 32 pixel images; an index outside the set
// gives the default note icon. Needs a QGuiApplication.
QIcon NoteIcon(int nIndex);

// A notebook with a small tree on its cover, for windows and the tray.
QIcon AppIcon();

}  // namespace orv
