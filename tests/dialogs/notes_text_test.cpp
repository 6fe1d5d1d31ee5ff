// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/notes_text.h"

#include <gtest/gtest.h>

#include <string>

namespace komet {
namespace {

TEST(NotesText, LineBreaksBecomeCrLfAndComeBackAsOne) {
  EXPECT_EQ(EditorToNotes("Start\nZweite Zeile\n\nEnde"), "Start\r\nZweite Zeile\r\n\r\nEnde");
  EXPECT_EQ(NotesToEditor("Start\r\nZweite Zeile\r\n\r\nEnde"), "Start\nZweite Zeile\n\nEnde");
  // Foreign breaks: a lone CR and a lone LF are one break each, CR LF one too.
  EXPECT_EQ(NotesToEditor("a\rb\nc\r\nd\n\re"), "a\nb\nc\nd\n\ne");
  EXPECT_EQ(EditorToNotes(NotesToEditor("a\rb")), "a\r\nb");
}

TEST(NotesText, UmlautsTravelThroughWindows1252) {
  const std::string editor = "Höhe über 300 m, Größe ß\tµ °C € – ok";
  const std::string stored = EditorToNotes(editor);
  EXPECT_EQ(stored,
            "H\xF6he \xFC"
            "ber 300 m, Gr\xF6\xDF"
            "e \xDF\t\xB5 \xB0"
            "C \x80 \x96 ok");
  EXPECT_EQ(NotesToEditor(stored), editor);
  EXPECT_EQ(EditorToNotes("Rakete \xE2\x86\x91"), "Rakete ?");  // an arrow is not in the code page
}

TEST(NotesText, StoredLengthCountsCharactersAndBreaksTwice) {
  EXPECT_EQ(StoredNotesLength(""), 0u);
  EXPECT_EQ(StoredNotesLength("äöü"), 3u);
  EXPECT_EQ(StoredNotesLength("a\nb"), 4u);
  EXPECT_EQ(StoredNotesLength("\n\n"), 4u);
  EXPECT_EQ(StoredNotesLength(std::string(8000, 'x')), 8000u);
}

TEST(NotesText, TheLimitIsEightThousandStoredCharacters) {
  const std::string full(kMaxNotesChars, 'x');
  EXPECT_EQ(EditorToNotes(full), full);
  EXPECT_EQ(EditorToNotes(full + "y").size(), kMaxNotesChars);

  // Umlauts are two bytes in the editor but one stored character.
  std::string ae;
  for (std::size_t i = 0; i < kMaxNotesChars + 5; ++i) ae += "ä";
  EXPECT_EQ(EditorToNotes(ae), std::string(kMaxNotesChars, '\xE4'));
}

TEST(NotesText, TheCutNeverSplitsALineBreak) {
  // 7999 characters and a break: the CR LF would end at 8001, so both go.
  const std::string almost(kMaxNotesChars - 1, 'x');
  EXPECT_EQ(EditorToNotes(almost + "\nmehr"), almost);
  // 7998 and a break fit exactly.
  const std::string room(kMaxNotesChars - 2, 'x');
  EXPECT_EQ(EditorToNotes(room + "\nmehr"), room + "\r\n");
  // Only breaks: 4000 of them fill the text.
  const std::string breaks(kMaxNotesChars, '\n');
  const std::string stored = EditorToNotes(breaks);
  EXPECT_EQ(stored.size(), kMaxNotesChars);
  EXPECT_EQ(stored.substr(stored.size() - 2), "\r\n");
}

}  // namespace
}  // namespace komet
