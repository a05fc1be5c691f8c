#include "gui/win/Box.h"

#include <algorithm>

#include "gui/OnUi.h"
#include "gui/drawer/IDrawer.h"

namespace s::gui::win {

using s::os::gui::Rect;

Box::Box() : Container(s::os::gui::WidgetKind::kContainer, s::os::gui::AccessibleRole::kPanel) {
  resetFields();
}

Box::~Box() {
  releaseBorder();
}

void Box::reset() {
  resetContainer();
  resetFields();
}

void Box::resetFields() {
  onUi([this] {
    releaseBorder();
    direction_ = kColumn;
    settings_ = Arrange::Settings{};
    hoverHighlight_ = false;
    hoverColor_ = Rgb{};
    hovering_ = -1;
    clickThrough_ = true;
    hiddenPage_ = suppressed_ = false;
    paintDevice_ = nullptr;
    layoutListeners_.clear();
    geometryListeners_.clear();
    paintListeners_.clear();
    clickListeners_.clear();
    setTransparent(/*redraw=*/false);
  });
}

Box* Box::make(std::int32_t direction, std::int32_t hAlign, float widthPercent, float heightPercent,
               std::int32_t vAlign, std::int32_t gapX, std::int32_t gapY,
               std::int32_t marginsHorizontal, std::int32_t marginsVertical) {
  Box* box = Box::create();
  box->setDirection(direction);
  box->setAlignment(true, std::clamp(hAlign, 0, 2));
  box->setAlignment(false, std::clamp(vAlign, 0, 2));
  if (widthPercent >= 0) box->setWidthPercent(static_cast<std::int32_t>(widthPercent), false);
  if (heightPercent >= 0) box->setHeightPercent(static_cast<std::int32_t>(heightPercent), false);
  if (gapX > 0) box->setGapX(gapX);
  if (gapY > 0) box->setGapY(gapY);
  if (marginsHorizontal > 0) box->setMarginsHorizontal(marginsHorizontal, false);
  if (marginsVertical > 0) box->setMarginsVertical(marginsVertical, false);
  return box;
}

void Box::setBounds(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  onUi([&] {
    const Rect before{getX(), getY(), getWidth(), getHeight()};
    Container::setBounds(x, y, w, h);
    if (Rect{getX(), getY(), getWidth(), getHeight()} != before)
      fire(geometryListeners_, kGeometry);
  });
}

// --- arrangement ------------------------------------------------------------------------

void Box::setGapX(std::int32_t n) {
  onUi([&] { settings_.gapX = n; });
}

void Box::setGapY(std::int32_t n) {
  onUi([&] { settings_.gapY = n; });
}

template <class Change>
void Box::changeMargins(bool relayout, Change&& change) {
  onUi([&] {
    Margins values = margins();
    change(values);
    setMarginValues(values);
    if (relayout) layout();
  });
}

void Box::setMarginLeft(std::int32_t n, bool relayout) {
  changeMargins(relayout, [n](Margins& m) { m.left = n; });
}

void Box::setMarginRight(std::int32_t n, bool relayout) {
  changeMargins(relayout, [n](Margins& m) { m.right = n; });
}

void Box::setMarginTop(std::int32_t n, bool relayout) {
  changeMargins(relayout, [n](Margins& m) { m.top = n; });
}

void Box::setMarginBottom(std::int32_t n, bool relayout) {
  changeMargins(relayout, [n](Margins& m) { m.bottom = n; });
}

void Box::setMarginsHorizontal(std::int32_t n, bool relayout) {
  changeMargins(relayout, [n](Margins& m) { m.left = m.right = n; });
}

void Box::setMarginsVertical(std::int32_t n, bool relayout) {
  changeMargins(relayout, [n](Margins& m) { m.top = m.bottom = n; });
}

void Box::setMargins(std::int32_t n, bool relayout) {
  changeMargins(relayout, [n](Margins& m) { m = Margins{n, n, n, n}; });
}

void Box::setAlignment(bool horizontal, std::int32_t align) {
  onUi([&] { (horizontal ? settings_.hAlign : settings_.vAlign) = align; });
}

std::int32_t Box::getDirection() {
  return onUi([this] { return direction_; });
}

void Box::setDirection(std::int32_t direction) {
  onUi([&] { direction_ = direction; });
}

Arrange::Content Box::arrange() {
  switch (direction_) {
    case kRow:
      return Arrange::row(*this, settings_);
    case kFlow:
      return Arrange::flow(*this, settings_);
    case kPile:
      return Arrange::pile(*this, settings_);
    default:
      return Arrange::column(*this, settings_);
  }
}

// --- size settings ----------------------------------------------------------------------

void Box::sizeChanged(bool relayout) {
  if (native() == nullptr) return;
  layout();
  if (relayout) relayoutWindow(direction_ == kFlow);
}

void Box::fillParent() {
  onUi([this] {
    Component::setWidthPercent(100);
    Component::setHeightPercent(100);
    Component::setFixedWidth(-1);
    Component::setFixedHeight(-1);
  });
}

void Box::setWidthPercent(std::int32_t percent, bool relayout) {
  onUi([&] {
    Component::setWidthPercent(percent);
    Component::setFixedWidth(-1);
    sizeChanged(relayout);
  });
}

void Box::setHeightPercent(std::int32_t percent, bool relayout) {
  onUi([&] {
    Component::setHeightPercent(percent);
    Component::setFixedHeight(-1);
    sizeChanged(relayout);
  });
}

void Box::setFixedWidth(std::int32_t n, bool relayout) {
  onUi([&] {
    Component::setFixedWidth(n);
    Component::setWidthPercent(-1);
    sizeChanged(relayout);
  });
}

void Box::setFixedHeight(std::int32_t n, bool relayout) {
  onUi([&] {
    Component::setFixedHeight(n);
    Component::setHeightPercent(-1);
    sizeChanged(relayout);
  });
}

void Box::setMinimumWidth(std::int32_t n) {
  onUi([&] { setMinimumWidthValue(n); });
}

void Box::setCollapseWidth(bool on) {
  onUi([&] { setCollapse(true, on); });
}

void Box::setCollapseHeight(bool on) {
  onUi([&] { setCollapse(false, on); });
}

// --- pages ------------------------------------------------------------------------------

void Box::showOnly(std::int32_t index) {
  onUi([&] {
    const std::vector<IComponent*>& all = children().all();
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (static_cast<std::int32_t>(i) != index) all[i]->setVisible(false, false);
    }
    if (IComponent* shown = children().at(index)) shown->setVisible(true, false);
  });
}

void Box::showPage(std::int32_t index) {
  onUi([&] {
    showOnly(index);
    const std::vector<IComponent*>& all = children().all();
    for (std::size_t i = 0; i < all.size(); ++i) {
      const bool hidden = static_cast<std::int32_t>(i) != index;
      if (hidden) all[i]->setPosition(-10000, -10000);
      if (auto* page = dynamic_cast<Box*>(all[i])) page->hiddenPage_ = hidden;
    }
    layout();
  });
}

bool Box::isHiddenPage() {
  return onUi([this] { return hiddenPage_; });
}

// --- listeners ----------------------------------------------------------------------------

void Box::addTo(std::vector<IEventListener*>& list, IEventListener* listener) {
  if (listener != nullptr) onUi([&] { list.push_back(listener); });
}

void Box::fire(const std::vector<IEventListener*>& listeners, std::int32_t code) {
  // A listener may register further listeners: call those that were there.
  const std::vector<IEventListener*> now = listeners;
  for (IEventListener* listener : now) listener->onEvent(this, code);
}

void Box::addLayoutListener(IEventListener* listener) {
  addTo(layoutListeners_, listener);
}

void Box::addGeometryListener(IEventListener* listener) {
  addTo(geometryListeners_, listener);
}

void Box::addPaintListener(IEventListener* listener) {
  addTo(paintListeners_, listener);
}

void Box::addClickListener(IEventListener* listener) {
  if (listener == nullptr) return;
  onUi([&] {
    clickListeners_.push_back(listener);
    clickThrough_ = false;
  });
}

void Box::setClickThrough(bool on) {
  onUi([&] { clickThrough_ = on; });
}

bool Box::onMouseButton(s::os::gui::MouseButton button, bool pressed, bool, std::int32_t,
                        std::int32_t) {
  if (clickThrough_) return false;
  if (pressed && button == s::os::gui::MouseButton::kLeft) fire(clickListeners_, kClick);
  return true;
}

// --- painting -----------------------------------------------------------------------------

void Box::setHoverColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  onUi([&] {
    hoverColor_ = Rgb{r, g, b};
    hoverHighlight_ = true;
  });
}

void Box::onHover(bool inside) {
  hovering_ = inside ? 1 : 0;
  if (hoverHighlight_) redraw();
}

void Box::setBorder(s::gui::drawer::IDrawer* border, bool owned) {
  onUi([&] {
    if (border != border_) releaseBorder();
    border_ = border;
    ownsBorder_ = owned;
    redraw();
  });
}

void Box::releaseBorder() {
  if (border_ != nullptr && ownsBorder_) border_->release();
  border_ = nullptr;
  ownsBorder_ = false;
}

s::os::gui::MemDC* Box::getPaintDevice() {
  return onUi([this] { return paintDevice_; });
}

void Box::suppressPaint() {
  onUi([this] { suppressed_ = true; });
}

void Box::onPaint(s::os::gui::MemDC& dc) {
  paintDevice_ = &dc;
  suppressed_ = false;
  fire(paintListeners_, kPaint);
  paintDevice_ = nullptr;
  if (suppressed_) return;
  const Rect all{0, 0, dc.width(), dc.height()};
  dc.fillRect(all, hoverHighlight_ && hovering_ == 1 ? hoverColor_ : shownBackground());
  if (border_ != nullptr) border_->paint(dc, 0, 0, dc.width(), dc.height());
}

}  // namespace s::gui::win
