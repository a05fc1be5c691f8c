#pragma once

#include <cstdint>
#include <vector>

#include "gui/IBox.h"
#include "gui/win/Container.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::drawer {
class IDrawer;
}

namespace s::gui::win {

// The box (contract in IBox): a column by default, transparent, letting
// presses through. Attached to a window it is a native container control
// that its children live in; without one (not attached) it places its
// children all the same. It paints, in one surface: the hover colour while
// hovered (when set), else its nearest opaque ancestor's colour when
// transparent, else its own; then the border drawer. Pooled.
class Box final : public IBox,
                  public Container,
                  public virtual s::base::IObject,
                  public virtual s::thread::IPoolable {
  VONQ_POOLED(Box, s::thread::kPoolCap)
 public:
  Box();
  ~Box() override;

  // A box arranged by `direction` (IBox::Direction) with the settings that
  // are given: percentages when >= 0 (truncated), alignments (0 or less:
  // left / top, 1: centre / middle, more: right / bottom), gaps and margins
  // when above 0. Any thread.
  static Box* make(std::int32_t direction, std::int32_t hAlign = 0, float widthPercent = -1.0f,
                   float heightPercent = -1.0f, std::int32_t vAlign = 0, std::int32_t gapX = 0,
                   std::int32_t gapY = 0, std::int32_t marginsHorizontal = 0,
                   std::int32_t marginsVertical = 0);

  // Raises code 4 when the position or size changed.
  void setBounds(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;

  void setGapX(std::int32_t n) override;
  void setGapY(std::int32_t n) override;
  void setMarginLeft(std::int32_t n, bool relayout) override;
  void setMarginRight(std::int32_t n, bool relayout) override;
  void setMarginTop(std::int32_t n, bool relayout) override;
  void setMarginBottom(std::int32_t n, bool relayout) override;
  void setMarginsHorizontal(std::int32_t n, bool relayout) override;
  void setMarginsVertical(std::int32_t n, bool relayout) override;
  void setMargins(std::int32_t n, bool relayout) override;
  void alignTop() override { setAlignment(false, 0); }
  void alignMiddle() override { setAlignment(false, 1); }
  void alignBottom() override { setAlignment(false, 2); }
  void alignLeft() override { setAlignment(true, 0); }
  void alignCenter() override { setAlignment(true, 1); }
  void alignRight() override { setAlignment(true, 2); }
  std::int32_t getDirection() override;
  void arrangeRow() override { setDirection(kRow); }
  void arrangeColumn() override { setDirection(kColumn); }
  void arrangeFlow() override { setDirection(kFlow); }
  void arrangePile() override { setDirection(kPile); }
  void fillParent() override;
  void setWidthPercent(std::int32_t percent, bool relayout) override;
  void setHeightPercent(std::int32_t percent, bool relayout) override;
  void setFixedWidth(std::int32_t n, bool relayout) override;
  void setFixedHeight(std::int32_t n, bool relayout) override;
  void setMinimumWidth(std::int32_t n) override;
  void setCollapseWidth(bool on) override;
  void setCollapseHeight(bool on) override;
  void setBorder(s::gui::drawer::IDrawer* border, bool owned) override;
  void addLayoutListener(IEventListener* listener) override;
  void showOnly(std::int32_t index) override;
  void showPage(std::int32_t index) override;
  void addGeometryListener(IEventListener* listener) override;
  void addPaintListener(IEventListener* listener) override;
  s::os::gui::MemDC* getPaintDevice() override;
  void suppressPaint() override;
  void setClickThrough(bool on) override;
  void setHoverColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  bool isHiddenPage() override;
  void addClickListener(IEventListener* listener) override;

  const char16_t* getClassName() const override { return u"s_gui_win_Box"; }
  void reset() override;

 protected:
  Arrange::Content arrange() override;
  void laidOut() override { fire(layoutListeners_, kLayoutDone); }
  void onPaint(s::os::gui::MemDC& dc) override;
  bool onMouseButton(s::os::gui::MouseButton button, bool pressed, bool doubleClick, std::int32_t x,
                     std::int32_t y) override;
  void onHover(bool inside) override;

 private:
  void resetFields();
  void setAlignment(bool horizontal, std::int32_t align);
  void setDirection(std::int32_t direction);
  template <class Change>
  void changeMargins(bool relayout, Change&& change);
  // After a size setting: an attached box lays out, and with `relayout`
  // its window too.
  void sizeChanged(bool relayout);
  void addTo(std::vector<IEventListener*>& list, IEventListener* listener);
  void fire(const std::vector<IEventListener*>& listeners, std::int32_t code);
  void releaseBorder();

  std::int32_t direction_ = kColumn;
  Arrange::Settings settings_;
  s::gui::drawer::IDrawer* border_ = nullptr;
  bool ownsBorder_ = false;
  bool hoverHighlight_ = false;
  Rgb hoverColor_{};
  std::int32_t hovering_ = -1;
  bool clickThrough_ = true;
  bool hiddenPage_ = false;
  bool suppressed_ = false;
  s::os::gui::MemDC* paintDevice_ = nullptr;
  std::vector<IEventListener*> layoutListeners_;
  std::vector<IEventListener*> geometryListeners_;
  std::vector<IEventListener*> paintListeners_;
  std::vector<IEventListener*> clickListeners_;
};

}  // namespace s::gui::win
