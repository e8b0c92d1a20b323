#include "editor/editor_view.h"

#include "editor/editor_colours.h"
#include "editor/level_draft.h"

#include "base/globals.h"
#include "level/level_drawing.h"

#include <algorithm>

namespace {

constexpr uint32_t NotDrawn = 0xFFFFFFFF;
constexpr uint16_t MarkGridLines = 1;
constexpr uint16_t MarkStart = 2;
constexpr uint16_t MarkUnreachable = 4;
constexpr uint16_t MarkMissed = 8;
constexpr uint16_t MarkEdgeLeft = 16;
constexpr uint16_t MarkEdgeTop = 32;
constexpr uint16_t MarkEdgeRight = 64;
constexpr uint16_t MarkEdgeBottom = 128;
constexpr uint16_t MarkTrap = 256;
constexpr uint16_t MarkCostly = 512;
// Above the marks: the kind shown instead of the level's, plus one.
constexpr int ShownInsteadShift = 16;

constexpr int HeaderTop = 4;
constexpr int HeaderLineHeight = 12;
constexpr int PaletteGap = 4;
constexpr int PaletteTop = HeaderTop + 3 * HeaderLineHeight + PaletteGap;   // below three header rows
constexpr int PaletteRowHeight = 20;
constexpr int FactsGap = 8;
constexpr int FactLineHeight = 11;
constexpr int PanelChars = (PanelWidth - 8) / 8;
constexpr int PromptChars = PanelChars;
constexpr int ListChars = 512 / 8 - 1;
constexpr int StatusHalfWidth = ScreenWidth / 2;
constexpr int StatusLineHeight = ScreenHeight - FieldSize;
constexpr size_t MostDirtyRects = 64;

constexpr int GridLineColour = 0x404850;
constexpr int StartColour = 0xFFFF00;
constexpr int UnreachableColour = 0xFF2020;
constexpr int MissedColour = 0xFF00FF;
constexpr int RectangleColour = 0xFFFFFF;
constexpr int LabelColour = 0xC0C0C0;

// The variant of a cell's tile stays put while the level is edited.
int variantOf(int x, int y) { return (x * 7 + y * 13) % 4; }

std::string fitted(const std::string& text, int chars) {
  return static_cast<int>(text.size()) <= chars ? text : text.substr(0, chars - 1) + "~";
}

std::vector<uint32_t> markBits(const GridMarks& marks) {
  std::vector<uint32_t> bits(CellCount, marks.gridLines ? MarkGridLines : 0);
  if (marks.start) {
    bits[*marks.start] |= MarkStart;
  }
  for (int index : marks.unreachableGold) {
    bits[index] |= MarkUnreachable;
  }
  for (int index : marks.missedGold) {
    bits[index] |= MarkMissed;
  }
  for (int index : marks.trapCells) {
    bits[index] |= MarkTrap;
  }
  for (int index : marks.costlyCells) {
    bits[index] |= MarkCostly;
  }
  for (const auto& [index, kind] : marks.shownInstead) {
    bits[index] |= static_cast<uint32_t>(kind + 1) << ShownInsteadShift;
  }
  for (const CellRect& r : marks.rectangles) {
    for (int x = r.left; x <= r.right; ++x) {
      bits[cellIndex(x, r.top)] |= MarkEdgeTop;
      bits[cellIndex(x, r.bottom)] |= MarkEdgeBottom;
    }
    for (int y = r.top; y <= r.bottom; ++y) {
      bits[cellIndex(r.left, y)] |= MarkEdgeLeft;
      bits[cellIndex(r.right, y)] |= MarkEdgeRight;
    }
  }
  return bits;
}

void frame(BITMAP* target, int left, int top, int size, int colour) {
  rect(target, left, top, left + size - 1, top + size - 1, colour);
  rect(target, left + 1, top + 1, left + size - 2, top + size - 2, colour);
}

}  // namespace

int fittingScale(int desktopWidth, int desktopHeight) {
  int scale = MostScale;
  while (scale > 1 && (EditorWidth * scale > desktopWidth || EditorHeight * scale + TitleBarPixels > desktopHeight)) {
    --scale;
  }
  return scale;
}

std::vector<std::string> wrapped(std::string text, int chars, int lines) {
  std::vector<std::string> result;
  while (!text.empty() && static_cast<int>(result.size()) < lines - 1 && static_cast<int>(text.size()) > chars) {
    const size_t blank = text.rfind(' ', chars);
    const size_t cut = blank != std::string::npos && blank > static_cast<size_t>(chars) / 2 ? blank + 1 : chars;
    result.push_back(text.substr(0, cut));
    text.erase(0, cut);
  }
  result.push_back(fitted(text, chars));
  return result;
}

EditorView::EditorView(int scale)
    : scale_(scale),
      picture_(create_bitmap(EditorWidth, EditorHeight)),
      shownMarks_(CellCount, NotDrawn),
      paletteTop_(PaletteTop) {
  clear_bitmap(picture_);
}

EditorView::~EditorView() { destroy_bitmap(picture_); }

void EditorView::showGrid(const LevelDraft& draft, const std::vector<int>& changedCells, const GridMarks& marks) {
  const std::vector<uint32_t> bits = markBits(marks);
  shownList_.reset();
  for (int index : changedCells) {
    shownMarks_[index] = NotDrawn;
  }
  for (int index = 0; index < CellCount; ++index) {
    if (shownMarks_[index] != bits[index]) {
      shownMarks_[index] = bits[index];
      drawCell(draft, index);
    }
  }
}

void EditorView::drawCell(const LevelDraft& draft, int index) {
  const int x = index / GridSize;
  const int y = index % GridSize;
  const int left = x * CellPixels;
  const int top = y * CellPixels;
  const int right = left + CellPixels - 1;
  const int bottom = top + CellPixels - 1;
  const uint32_t bits = shownMarks_[index];
  const int shownInstead = static_cast<int>(bits >> ShownInsteadShift);
  const int8_t kind = shownInstead > 0 ? static_cast<int8_t>(shownInstead - 1) : draft.cellAt(x, y);
  drawTile(picture_, left, top, kind, variantOf(x, y));
  if (bits & MarkGridLines) {
    vline(picture_, right, top, bottom, GridLineColour);
    hline(picture_, left, bottom, right, GridLineColour);
  }
  if (bits & MarkStart) {
    frame(picture_, left, top, CellPixels, StartColour);
  }
  if (bits & MarkUnreachable) {
    frame(picture_, left, top, CellPixels, UnreachableColour);
  }
  // Inside the outer frames, so that a dead end on the start shows both.
  if (bits & (MarkTrap | MarkCostly)) {
    frame(picture_, left + 2, top + 2, CellPixels - 4, (bits & MarkTrap) ? TrapColour : CostlyColour);
  }
  if (bits & MarkMissed) {
    line(picture_, left + 2, top + 2, right - 2, bottom - 2, MissedColour);
    line(picture_, left + 2, bottom - 2, right - 2, top + 2, MissedColour);
  }
  const struct {
    uint16_t bit;
    int x1, y1, x2, y2;
  } edges[] = {{MarkEdgeLeft, left, top, left, bottom},
               {MarkEdgeTop, left, top, right, top},
               {MarkEdgeRight, right, top, right, bottom},
               {MarkEdgeBottom, left, bottom, right, bottom}};
  for (const auto& edge : edges) {
    if (bits & edge.bit) {
      line(picture_, edge.x1, edge.y1, edge.x2, edge.y2, RectangleColour);
    }
  }
  markDirty(left, top, CellPixels, CellPixels);
}

void EditorView::showPanel(const PanelContent& content) {
  if (shownPanel_ == content) {
    return;
  }
  shownPanel_ = content;
  drawPanel();
}

void EditorView::drawPanel() {
  const PanelContent& content = *shownPanel_;
  rectfill(picture_, PanelLeft, 0, EditorWidth - 1, PromptTop - 1, 0);
  vline(picture_, PanelLeft, 0, EditorHeight - 1, GridLineColour);
  headerLineOfRow_.clear();
  for (size_t index = 0; index < content.header.size(); ++index) {
    const int top = HeaderTop + static_cast<int>(headerLineOfRow_.size()) * HeaderLineHeight;
    const int rows = drawLines({content.header[index]}, top, HeaderLineHeight);
    headerLineOfRow_.insert(headerLineOfRow_.end(), rows, static_cast<int>(index));
  }
  const int headerBottom = HeaderTop + static_cast<int>(headerLineOfRow_.size()) * HeaderLineHeight;
  paletteTop_ = std::max(PaletteTop, headerBottom + PaletteGap);
  if (!content.palette) {
    paletteTop_ = EditorHeight;   // no palette to click
    drawLines(content.facts, headerBottom + FactsGap, FactLineHeight);
    markDirty(PanelLeft, 0, PanelWidth, PromptTop);
    return;
  }
  for (int kind = 0; kind < KindCount; ++kind) {
    const int top = paletteTop_ + kind * PaletteRowHeight;
    drawTile(picture_, PanelLeft + 10, top, static_cast<int8_t>(kind), 0);
    if (kind == Empty) {
      rect(picture_, PanelLeft + 10, top, PanelLeft + 25, top + CellPixels - 1, GridLineColour);
    }
    const std::string label = std::to_string(kind) + " " + CellKinds[kind].paletteName;
    const bool selected = kind == content.selectedKind;
    textout_ex(picture_, font, label.c_str(), PanelLeft + 34, top + 4, selected ? 0xFFFFFF : LabelColour, -1);
    if (selected) {
      rect(picture_, PanelLeft + 6, top - 2, EditorWidth - 6, top + CellPixels + 1, 0xFFFFFF);
    }
  }
  drawLines(content.facts, paletteTop_ + KindCount * PaletteRowHeight + FactsGap, FactLineHeight);
  markDirty(PanelLeft, 0, PanelWidth, PromptTop);
}

// Answers the rows drawn; rows that would reach the prompt are left out.
int EditorView::drawLines(const std::vector<PanelLine>& lines, int top, int lineHeight) {
  int row = 0;
  for (const PanelLine& line : lines) {
    for (const std::string& text : wrapped(line.text, PanelChars, line.mostLines)) {
      if (top + (row + 1) * lineHeight <= PromptTop) {
        textout_ex(picture_, font, text.c_str(), PanelLeft + 6, top + row * lineHeight, line.colour, -1);
      }
      ++row;
    }
  }
  return row;
}

void EditorView::showList(const ListContent& content) {
  if (shownList_ == content) {
    return;
  }
  shownList_ = content;
  std::fill(shownMarks_.begin(), shownMarks_.end(), NotDrawn);
  rectfill(picture_, 0, 0, PanelLeft - 1, EditorHeight - 1, 0);
  textout_ex(picture_, font, fitted(content.heading, ListChars).c_str(), 4, 4, LabelColour, -1);
  const int last = std::min(static_cast<int>(content.rows.size()), content.firstShown + ListRowsShown);
  for (int row = content.firstShown; row < last; ++row) {
    const int top = ListTop + (row - content.firstShown) * ListRowPixels;
    const auto& [text, colour] = content.rows[row];
    textout_ex(picture_, font, fitted(text, ListChars).c_str(), 4, top + 1, colour, -1);
    if (row == content.selected) {
      rect(picture_, 1, top - 1, PanelLeft - 3, top + ListRowPixels - 1, RectangleColour);
    }
  }
  markDirty(0, 0, PanelLeft, EditorHeight);
}

void EditorView::showPrompt(const std::string& text, int colour) {
  if (shownPrompt_ && shownPrompt_->first == text && shownPrompt_->second == colour) {
    return;
  }
  shownPrompt_ = {text, colour};
  rectfill(picture_, PanelLeft + 1, PromptTop, EditorWidth - 1, EditorHeight - 1, 0);
  hline(picture_, PanelLeft, PromptTop, EditorWidth - 1, GridLineColour);
  const std::vector<std::string> lines = wrapped(text, PromptChars, PromptLines);
  for (size_t index = 0; index < lines.size(); ++index) {
    textout_ex(picture_, font, lines[index].c_str(), PanelLeft + 6,
               PromptTop + 4 + static_cast<int>(index) * PromptLineHeight, colour, -1);
  }
  markDirty(PanelLeft, PromptTop, PanelWidth, EditorHeight - PromptTop);
}

void EditorView::invalidate() {
  std::fill(shownMarks_.begin(), shownMarks_.end(), NotDrawn);
  shownPanel_.reset();
  shownList_.reset();
  shownPrompt_.reset();
  // The rows below the grid belong to no part.
  rectfill(picture_, 0, FieldSize, PanelLeft - 1, EditorHeight - 1, 0);
  markDirty(0, 0, EditorWidth, EditorHeight);
}

std::string EditorView::rescale(int scale) {
  if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, EditorWidth * scale, EditorHeight * scale, 0, 0) != 0) {
    const std::string why = allegro_error;
    set_gfx_mode(GFX_AUTODETECT_WINDOWED, EditorWidth * scale_, EditorHeight * scale_, 0, 0);
    invalidate();
    return why;
  }
  scale_ = scale;
  invalidate();
  return {};
}

void EditorView::markDirty(int left, int top, int width, int height) {
  if (dirty_.size() < MostDirtyRects) {
    dirty_.push_back({left, top, width, height});
  } else {
    dirty_.assign(1, {0, 0, EditorWidth, EditorHeight});
  }
}

void EditorView::present() {
  for (const auto& [left, top, width, height] : dirty_) {
    if (scale_ == 1) {
      blit(picture_, screen, left, top, left, top, width, height);
    } else {
      stretch_blit(picture_, screen, left, top, width, height, left * scale_, top * scale_, width * scale_,
                   height * scale_);
    }
  }
  dirty_.clear();
}

void EditorView::presentGameFrame() {
  const int parts[3][6] = {
      {0, 0, FieldSize, FieldSize, 0, 0},
      {0, FieldSize, StatusHalfWidth, StatusLineHeight, PanelLeft + 1, 4},
      {StatusHalfWidth, FieldSize, StatusHalfWidth, StatusLineHeight, PanelLeft + 1, 4 + StatusLineHeight + 2},
  };
  for (const auto& [left, top, width, height, toLeft, toTop] : parts) {
    stretch_blit(backBuffer, screen, left, top, width, height, toLeft * scale_, toTop * scale_, width * scale_,
                 height * scale_);
  }
}

std::array<int, 2> EditorView::cellUnder(int windowX, int windowY) const {
  const int cellSize = CellPixels * scale_;
  const auto floorDiv = [](int value, int by) { return value >= 0 ? value / by : -((by - 1 - value) / by); };
  return {floorDiv(windowX, cellSize), floorDiv(windowY, cellSize)};
}

std::optional<std::array<int, 2>> EditorView::cellAt(int windowX, int windowY) const {
  const std::array<int, 2> cell = cellUnder(windowX, windowY);
  if (cell[0] < 0 || cell[1] < 0 || cell[0] >= GridSize || cell[1] >= GridSize) {
    return std::nullopt;
  }
  return cell;
}

std::optional<int> EditorView::paletteKindAt(int windowX, int windowY) const {
  const int x = windowX / scale_;
  const int y = windowY / scale_ - (paletteTop_ - 2);
  if (x < PanelLeft || y < 0 || y >= KindCount * PaletteRowHeight) {
    return std::nullopt;
  }
  return y / PaletteRowHeight;
}

std::optional<int> EditorView::listRowAt(int windowX, int windowY) const {
  const int x = windowX / scale_;
  const int y = windowY / scale_ - (ListTop - 1);
  if (!shownList_ || x >= PanelLeft || y < 0 || y / ListRowPixels >= ListRowsShown) {
    return std::nullopt;
  }
  const int row = shownList_->firstShown + y / ListRowPixels;
  return row < static_cast<int>(shownList_->rows.size()) ? std::optional<int>(row) : std::nullopt;
}

std::optional<int> EditorView::headerLineAt(int windowX, int windowY) const {
  const int x = windowX / scale_;
  const int row = (windowY / scale_ - (HeaderTop - 1)) / HeaderLineHeight;
  if (x < PanelLeft || windowY / scale_ < HeaderTop - 1 || row >= static_cast<int>(headerLineOfRow_.size())) {
    return std::nullopt;
  }
  return headerLineOfRow_[row];
}
