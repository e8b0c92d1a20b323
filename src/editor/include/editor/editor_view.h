// The editor's picture: the level grid at the window's top-left corner, 16
// pixels a cell (or, for a level set, its list in the grid's place), the
// panel beside it (file, title, note, the palette of the kinds the table
// offers in the real tiles, counts, warnings, the proof, the keys) and the
// prompt at the panel's foot. The picture is only 8 pixels taller than the grid so that,
// twice enlarged, it fits a 1080-line screen under a window's title bar.
// Everything is composed at scale 1 in a picture of its own, and only the
// parts that changed are copied to the window, enlarged by the scale: a
// stroke of painting copies just its cells.
#pragma once

#include "editor/level_draft.h"

#include "level/cell_kinds.h"

#include <allegro.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

constexpr int PanelLeft = 512;
// Wide enough for either half of the game's status line during a play-test.
constexpr int PanelWidth = 256;
constexpr int EditorWidth = PanelLeft + PanelWidth;
constexpr int EditorHeight = 520;
constexpr int PromptLines = 4;
constexpr int PromptLineHeight = 11;
constexpr int PromptTop = EditorHeight - 4 - PromptLines * PromptLineHeight;
constexpr int KindCount = paletteKindCount();
// Room left on the desktop for the window's title bar.
constexpr int TitleBarPixels = 40;
constexpr int MostScale = 3;

// The largest scale, 1 to MostScale, whose window fits the desktop with its
// title bar; 1 when the desktop's size is unknown (0) or nothing fits.
int fittingScale(int desktopWidth, int desktopHeight);

// The text in lines of at most `chars` characters, broken after a blank
// where one is near enough; what does not fit in `lines` lines is cut, and
// the cut is marked by a '~' at the end of the last line.
std::vector<std::string> wrapped(std::string text, int chars, int lines);

// A list of text rows in the grid's place: a level set. The selected row is
// drawn framed; `firstShown` is the row at the top when the list is longer
// than the grid.
struct ListContent {
  std::string heading;
  std::vector<std::pair<std::string, int>> rows;   // text, colour
  int selected = 0;
  int firstShown = 0;
  bool operator==(const ListContent& other) const {
    return heading == other.heading && rows == other.rows && selected == other.selected &&
           firstShown == other.firstShown;
  }
};
constexpr int ListRowPixels = 12;
constexpr int ListTop = 18;
constexpr int ListRowsShown = (512 - ListTop) / ListRowPixels;

// What is marked on the grid besides the cells themselves.
struct GridMarks {
  bool gridLines = false;
  std::optional<int> start;          // the start that counts
  std::vector<int> unreachableGold;
  std::vector<int> missedGold;       // gold the last proof never took
  std::vector<int> trapCells;        // dead ends: only Escape ends them
  std::vector<int> costlyCells;      // dead ends that cost a life
  std::vector<CellRect> rectangles;  // outlined: one being dragged, the selection
  // Cells shown with another kind than the level's: a selection floating
  // under the pointer, and the place it was lifted from.
  std::vector<std::pair<int, int8_t>> shownInstead;   // cell index, kind
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
  bool palette = true;
  int selectedKind = 1;
  std::vector<PanelLine> facts;    // below it
  bool operator==(const PanelContent& other) const {
    return header == other.header && palette == other.palette && selectedKind == other.selectedKind &&
           facts == other.facts;
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
  // The list in the grid's place, until the next showGrid.
  void showList(const ListContent& content);
  void showPrompt(const std::string& text, int colour);
  // Forgets what the window shows, so that the next show* draws everything.
  void invalidate();
  // Opens the window anew at another scale; answers why it cannot (the
  // window stays as it was), or nothing.
  std::string rescale(int scale);
  int scale() const { return scale_; }
  // Copies what changed to the window.
  void present();
  // The game's frame (backBuffer) in the window, for a play-test: its field
  // where the grid is, and its status line cut in two halves, one above the
  // other, at the panel's top.
  void presentGameFrame();

  // Window pixels to the picture's: a cell (of the grid, or anywhere when
  // unclamped), a palette entry, a header line (by its index in the header,
  // on any of its rows).
  std::array<int, 2> cellUnder(int windowX, int windowY) const;
  std::optional<std::array<int, 2>> cellAt(int windowX, int windowY) const;
  std::optional<int> paletteKindAt(int windowX, int windowY) const;
  std::optional<int> headerLineAt(int windowX, int windowY) const;
  // The row of the shown list under the pointer.
  std::optional<int> listRowAt(int windowX, int windowY) const;

private:
  void drawCell(const LevelDraft& draft, int index);
  void drawPanel();
  int drawLines(const std::vector<PanelLine>& lines, int top, int lineHeight);
  void markDirty(int left, int top, int width, int height);

  int scale_;
  BITMAP* picture_;
  std::vector<std::array<int, 4>> dirty_;   // left, top, width, height
  std::vector<uint32_t> shownMarks_;        // per cell; NotDrawn before the first drawing
  std::optional<PanelContent> shownPanel_;
  std::optional<ListContent> shownList_;
  std::vector<int> headerLineOfRow_;        // which header line each row shows
  int paletteTop_;
  std::optional<std::pair<std::string, int>> shownPrompt_;
};
