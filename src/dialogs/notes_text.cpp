// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/notes_text.h"

#include "common/win1252.h"

namespace komet {

std::size_t StoredNotesLength(std::string_view editor) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < editor.size(); ++i) {
    const auto c = static_cast<unsigned char>(editor[i]);
    if ((c & 0xC0) == 0x80) continue;  // continuation byte of one character
    n += c == '\n' ? 2 : 1;
  }
  return n;
}

std::string EditorToNotes(std::string_view editor) {
  const std::string cp1252 = Utf8ToCp1252(editor);
  std::string out;
  out.reserve(cp1252.size() + 64);
  for (char c : cp1252) {
    if (c == '\r') continue;
    const std::size_t need = c == '\n' ? 2 : 1;
    if (out.size() + need > kMaxNotesChars) break;
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string NotesToEditor(std::string_view notes) {
  std::string unix;
  unix.reserve(notes.size());
  for (std::size_t i = 0; i < notes.size(); ++i) {
    if (notes[i] == '\r') {
      unix += '\n';
      if (i + 1 < notes.size() && notes[i + 1] == '\n') ++i;
    } else {
      unix += notes[i];
    }
  }
  return Cp1252ToUtf8(unix);
}

bool NotesEdited(std::string_view editorUtf8, std::string_view notesCp1252) {
  return EditorToNotes(editorUtf8) != EditorToNotes(NotesToEditor(notesCp1252));
}

}  // namespace komet
