// The editor's side panel: a long note wraps over rows of its own, bounded,
// and the palette and the clickable header rows follow it.
#include "editor/editor_view.h"
#include "editor/typed_text.h"

#include "support/headless.h"

#include <gtest/gtest.h>

namespace {

constexpr int PanelX = PanelLeft + 20;

// The window row of a header row's middle, and of the first palette entry
// when the header has that many rows.
int headerRowY(int row) { return 4 + row * 12 + 6; }
int firstKindY(int headerRows) { return 4 + headerRows * 12 + 4 + 8; }

TEST(EditorViewTest, TheWindowFitsTheDesktopUnderItsTitleBar) {
  EXPECT_EQ(fittingScale(1920, 1080), 2);
  EXPECT_LE(EditorHeight * 2 + TitleBarPixels, 1080);
  EXPECT_EQ(fittingScale(1280, 1024), 1);
  EXPECT_EQ(fittingScale(3840, 2160), 3);
  EXPECT_EQ(fittingScale(0, 0), 1) << "a desktop of unknown size";
  EXPECT_EQ(fittingScale(640, 480), 1) << "nothing fits: the smallest";
}

TEST(EditorViewTest, CutTextsEndWithAMark) {
  EXPECT_EQ(wrapped("short", 10, 1), std::vector<std::string>{"short"});
  EXPECT_EQ(wrapped("one two three four", 9, 2), (std::vector<std::string>{"one two ", "three fo~"}));
}

// Titles and notes take only what the game's font draws: "Café" would be
// kept as a byte the font shows as nothing.
TEST(EditorViewTest, TypedTextIsWhatTheFontDraws) {
  startHeadlessAllegro();
  EXPECT_TRUE(fontDraws('A'));
  EXPECT_TRUE(fontDraws(' '));
  EXPECT_TRUE(fontDraws('~'));
  EXPECT_FALSE(fontDraws(0xE9)) << "e with an acute accent";
  EXPECT_FALSE(fontDraws(0x3B1)) << "beyond one byte";
  EXPECT_FALSE(fontDraws('\t'));
  EXPECT_EQ(refusalOf(0xE9), "Character U+00E9 left out: the game's font cannot draw it.");
}

TEST(EditorViewTest, ALongNoteWrapsOverBoundedRowsAndThePaletteFollowsIt) {
  startHeadlessAllegro();
  EditorView view(1);
  std::string words;
  for (int word = 0; word < 20; ++word) {
    words += "gold ";
  }
  PanelContent panel;
  panel.header = {{"a.txt", 0}, {"Title: Walk", 0}, {"Note: short", 0, 10}};
  view.showPanel(panel);
  EXPECT_EQ(view.headerLineAt(PanelX, headerRowY(2)), 2);
  EXPECT_EQ(view.paletteKindAt(PanelX, firstKindY(3)), 0);

  panel.header[2].text = "Note: " + words;   // 106 characters: four rows
  view.showPanel(panel);
  EXPECT_EQ(view.headerLineAt(PanelX, headerRowY(5)), 2) << "a click on any of its rows edits the note";
  EXPECT_EQ(view.headerLineAt(PanelX, headerRowY(6)), std::nullopt);
  EXPECT_EQ(view.paletteKindAt(PanelX, firstKindY(6)), 0);

  panel.header[2].text = "Note: " + words + words + words;
  view.showPanel(panel);
  EXPECT_EQ(view.headerLineAt(PanelX, headerRowY(11)), 2);
  EXPECT_EQ(view.paletteKindAt(PanelX, firstKindY(12)), 0) << "cut after ten rows";
}

}  // namespace
