// The editor's side panel: a long note wraps over rows of its own, bounded,
// and the palette and the clickable header rows follow it.
#include "editor/editor_view.h"

#include "support/headless.h"

#include <gtest/gtest.h>

namespace {

constexpr int PanelX = PanelLeft + 20;

// The window row of a header row's middle, and of the first palette entry
// when the header has that many rows.
int headerRowY(int row) { return 4 + row * 12 + 6; }
int firstKindY(int headerRows) { return 4 + headerRows * 12 + 4 + 8; }

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

  panel.header[2].text = "Note: " + words;   // 106 characters: six rows
  view.showPanel(panel);
  EXPECT_EQ(view.headerLineAt(PanelX, headerRowY(7)), 2) << "a click on any of its rows edits the note";
  EXPECT_EQ(view.headerLineAt(PanelX, headerRowY(8)), std::nullopt);
  EXPECT_EQ(view.paletteKindAt(PanelX, firstKindY(8)), 0);

  panel.header[2].text = "Note: " + words + words + words;
  view.showPanel(panel);
  EXPECT_EQ(view.headerLineAt(PanelX, headerRowY(11)), 2);
  EXPECT_EQ(view.paletteKindAt(PanelX, firstKindY(12)), 0) << "cut after ten rows";
}

}  // namespace
