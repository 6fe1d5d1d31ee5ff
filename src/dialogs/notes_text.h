// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace komet {

// The notes editor holds at most this many characters, a line break
// counting twice (it is stored as CR LF).
inline constexpr std::size_t kMaxNotesChars = 8000;

// The stored length of an editor text (UTF-8, lines separated by '\n').
std::size_t StoredNotesLength(std::string_view editorUtf8);

// The editor's text as the rocket stores it: Windows-1252, CR LF between
// lines, cut to kMaxNotesChars characters (never inside a CR LF).
std::string EditorToNotes(std::string_view editorUtf8);

// Whether the editor holds other notes than the stored ones once both are
// stored alike (a line break is a line break however it is written).
bool NotesEdited(std::string_view editorUtf8, std::string_view notesCp1252);

// A stored text for the editor: UTF-8 with '\n' line breaks (CR LF, a lone
// CR and a lone LF all count as one break).
std::string NotesToEditor(std::string_view notesCp1252);

}  // namespace komet
