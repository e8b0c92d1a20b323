// The editor's picture: the level grid at the window's top-left corner, 16
// pixels a cell, the panel beside it (file, title, note, the palette of the
// seven kinds in the real tiles, counts, warnings, the proof, the keys) and a
// prompt of two lines along the bottom. Everything is composed at scale 1 in a
// picture of its own, and only the parts that changed are copied to the
// window, enlarged by the scale: a stroke of painting copies just its cells.
#pragma once

#include <allegro.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class LevelDraft;

constexpr int PanelLeft = 512;
constexpr int PanelWidth = 192;
constexpr int PromptTop = 528;
constexpr int EditorWidth = PanelLeft + PanelWidth;
constexpr int EditorHeight = PromptTop + 27;   // two lines of prompt
constexpr int KindCount = 7;

struct CellRect {
  int left, top, right, bottom;   // cells, both corners included
};

// What is marked on the grid besides the cells themselves.
struct GridMarks {
  bool gridLines = false;
  std::optional<int> start;          // the start that counts
  std::vector<int> unreachableGold;
  std::vector<int> missedGold;       // gold the last proof never took
  std::optional<CellRect> rectangle; // a rectangle being dragged
};

// A line of text in the panel, wrapped over up to mostLines rows; what does
// not fit in them is cut.
struct PanelLine {
  std::string text;
  int colour;
  int mostLines = 1;
  bool operator==(const PanelLine& other) const {
    return text == other.text && colour == other.colour && mostLines == other.mostLines;
  }
};

// The palette follows the header's rows, and the facts the palette.
struct PanelContent {
  std::vector<PanelLine> header;   // above the palette: file, title, note
  int selectedKind = 1;
  std::vector<PanelLine> facts;    // below it
  bool operator==(const PanelContent& other) const {
    return header == other.header && selectedKind == other.selectedKind && facts == other.facts;
  }
};

class EditorView {
public:
  explicit EditorView(int scale);
  ~EditorView();
  EditorView(const EditorView&) = delete;
  EditorView& operator=(const EditorView&) = delete;

  // Redraws the changed cells and the cells whose marks changed.
  void showGrid(const LevelDraft& draft, const std::vector<int>& changedCells, const GridMarks& marks);
  void showPanel(const PanelContent& content);
  void showPrompt(const std::string& text, int colour);
  // Forgets what the window shows, so that the next show* draws everything.
  void invalidate();
  // Copies what changed to the window.
  void present();
  // The game's frame (backBuffer) in the window, for a play-test.
  void presentGameFrame();

  // Window pixels to the picture's: a cell (of the grid, or anywhere when
  // unclamped), a palette entry, a header line (by its index in the header,
  // on any of its rows).
  std::array<int, 2> cellUnder(int windowX, int windowY) const;
  std::optional<std::array<int, 2>> cellAt(int windowX, int windowY) const;
  std::optional<int> paletteKindAt(int windowX, int windowY) const;
  std::optional<int> headerLineAt(int windowX, int windowY) const;

private:
  void drawCell(const LevelDraft& draft, int index);
  void drawPanel();
  int drawLines(const std::vector<PanelLine>& lines, int top, int lineHeight);
  void markDirty(int left, int top, int width, int height);

  int scale_;
  BITMAP* picture_;
  std::vector<std::array<int, 4>> dirty_;   // left, top, width, height
  std::vector<uint16_t> shownMarks_;        // per cell; NotDrawn before the first drawing
  std::optional<PanelContent> shownPanel_;
  std::vector<int> headerLineOfRow_;        // which header line each row shows
  int paletteTop_;
  std::optional<std::pair<std::string, int>> shownPrompt_;
};
