#pragma once

#include <cstdint>

#include "gui/IContainer.h"
#include "os/gui/MemDC.h"

namespace s::gui {

namespace drawer {
class IDrawer;
}

// A container that places its children in a row, a column, wrapped lines or
// a pile, inside inner margins, with gaps between neighbours and an
// alignment; it takes a share of its parent by its content, by a fixed size
// or by a percentage of the parent's client size. It raises code 3 to its
// layout listeners after every layout pass, 4 to its geometry listeners
// after it moved or was resized, 5 to its paint listeners before it paints
// and 6 to its click listeners when pressed. Listeners are not owned and run
// on the interface thread. Dropping files or addresses on a box is not
// offered by this toolkit.
//
// Operations after the container's, in this order. Any thread.
class IBox : public virtual IContainer {
 public:
  enum Direction : std::int32_t { kRow = 0, kColumn = 1, kFlow = 2, kPile = 3 };
  enum Code : std::int32_t { kLayoutDone = 3, kGeometry = 4, kPaint = 5, kClick = 6 };

  ~IBox() override = default;

  // Space between neighbours in a row (x) and in a column (y); flow uses
  // both.
  virtual void setGapX(std::int32_t n) = 0;
  virtual void setGapY(std::int32_t n) = 0;
  // Inner margins: every child's origin becomes (left, top), so children are
  // placed inside them. With `relayout`, the box lays out again.
  virtual void setMarginLeft(std::int32_t n, bool relayout) = 0;
  virtual void setMarginRight(std::int32_t n, bool relayout) = 0;
  virtual void setMarginTop(std::int32_t n, bool relayout) = 0;
  virtual void setMarginBottom(std::int32_t n, bool relayout) = 0;
  virtual void setMarginsHorizontal(std::int32_t n, bool relayout) = 0;
  virtual void setMarginsVertical(std::int32_t n, bool relayout) = 0;
  virtual void setMargins(std::int32_t n, bool relayout) = 0;
  // Where the children go in spare room: vertically (top, middle, bottom)
  // and horizontally (left, centre, right); applied at the next pass.
  virtual void alignTop() = 0;
  virtual void alignMiddle() = 0;
  virtual void alignBottom() = 0;
  virtual void alignLeft() = 0;
  virtual void alignCenter() = 0;
  virtual void alignRight() = 0;
  // The arrangement (Direction).
  virtual std::int32_t getDirection() = 0;
  // The arrangement of the next pass: a row, a column, wrapped lines, a
  // pile.
  virtual void arrangeRow() = 0;
  virtual void arrangeColumn() = 0;
  virtual void arrangeFlow() = 0;
  virtual void arrangePile() = 0;
  // Both percentages 100.
  virtual void fillParent() = 0;
  // The size settings (a percentage clears the fixed size on its axis and
  // the other way round). An attached box lays out at once; with
  // `relayout` its window lays out again too (twice for a flow, whose
  // height follows its width).
  virtual void setWidthPercent(std::int32_t percent, bool relayout) = 0;
  virtual void setHeightPercent(std::int32_t percent, bool relayout) = 0;
  virtual void setFixedWidth(std::int32_t n, bool relayout) = 0;
  virtual void setFixedHeight(std::int32_t n, bool relayout) = 0;
  // A lower bound of the preferred width (-1: none).
  virtual void setMinimumWidth(std::int32_t n) = 0;
  // Report a preferred width (height) of 0.
  virtual void setCollapseWidth(bool on) = 0;
  virtual void setCollapseHeight(bool on) = 0;
  // A drawer painted over the background (null: none); an owned one is
  // given back to its pool when replaced or when the box is reset.
  virtual void setBorder(drawer::IDrawer* border, bool owned) = 0;
  virtual void addLayoutListener(IEventListener* listener) = 0;
  // Shows child `index` and hides every other (tab pages).
  virtual void showOnly(std::int32_t index) = 0;
  // As showOnly; the hidden children are also moved out of sight and hidden
  // boxes are marked as hidden pages.
  virtual void showPage(std::int32_t index) = 0;
  virtual void addGeometryListener(IEventListener* listener) = 0;
  virtual void addPaintListener(IEventListener* listener) = 0;
  // The surface being painted, for paint listeners; null outside painting.
  virtual s::os::gui::MemDC* getPaintDevice() = 0;
  // From a paint listener: the box leaves its own painting out this time.
  virtual void suppressPaint() = 0;
  // Whether presses on the box itself pass to what lies beneath (on by
  // default, so the window's easy drag works over boxes).
  virtual void setClickThrough(bool on) = 0;
  // Fill with this colour while the pointer is over the box.
  virtual void setHoverColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  // Whether showPage() hid the box.
  virtual bool isHiddenPage() = 0;
  // Pressing the box raises code 6; registering turns click-through off.
  virtual void addClickListener(IEventListener* listener) = 0;
};

}  // namespace s::gui
