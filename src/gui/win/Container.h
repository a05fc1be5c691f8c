#pragma once

#include <cstdint>
#include <vector>

#include "gui/IContainer.h"
#include "gui/win/Arrange.h"
#include "gui/win/ChildList.h"
#include "gui/win/Component.h"

namespace s::gui::win {

// What the toolkit's container controls (boxes, the status bar) have in
// common beyond a component (contracts in IComponent and IContainer): the
// child list, inner margins that become the children's origin, sizes that
// follow the content found by the last layout pass, the re-entry guard of
// layout() and deferral passed on to the children. A concrete container
// says how it arranges its children when no layout manager is set.
class Container : public Component, public virtual IContainer {
 public:
  Container(s::os::gui::WidgetKind kind, s::os::gui::AccessibleRole role);
  ~Container() override;

  // The client size is the size less the margins (at least 0).
  std::int32_t getClientWidth() override;
  void setClientWidth(std::int32_t w) override;
  std::int32_t getClientHeight() override;
  void setClientHeight(std::int32_t h) override;
  // 0 when collapsed; the fixed size; else the margins and the content,
  // the width raised to the minimum width when one is set.
  std::int32_t getPreferredWidth() override;
  std::int32_t getPreferredHeight() override;
  std::int32_t getPreferredClientWidth() override;
  std::int32_t getPreferredClientHeight() override;
  // The fixed size; else without a percentage the margins and the larger
  // content extent; else that percentage of the parent's client size,
  // rounded.
  std::int32_t getMaximumWidth() override;
  std::int32_t getMaximumHeight() override;
  std::int32_t getMaximumClientWidth() override;
  std::int32_t getMaximumClientHeight() override;
  void add(IComponent* child) override;
  void remove(IComponent* child, bool release) override;
  void removeAll(bool release) override;
  bool isContainer() override { return true; }
  // Clamped like a leaf, then laid out.
  void fitTo(std::int32_t w, std::int32_t h) override;
  void layoutNow() override { layout(); }
  std::int32_t getChildCount() override;
  IComponent* getChild(std::int32_t i) override;
  std::vector<IComponent*> getChildren() override;
  void beginDeferring() override;
  void endDeferring() override;

  // A pass: at most one nested pass runs (a layout listener that lays out
  // again gets one more, not an endless chain); the manager when set, else
  // arrange(); then laidOut().
  void layout() override;
  ILayoutManager* getLayoutManager() override;
  void setLayoutManager(ILayoutManager* manager) override;

 protected:
  struct Margins {
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
  };

  // The children follow their container: made again inside it once it is
  // attached, taken out of it before it goes.
  void attached() override;
  void detaching() override;
  // The built-in arrangement: places the children and answers their
  // content (interface thread).
  virtual Arrange::Content arrange() = 0;
  // A pass has ended (interface thread).
  virtual void laidOut() {}
  // Stores the margins and gives every child its origin (left, top).
  void setMarginValues(const Margins& margins);
  Margins margins() const { return margins_; }
  const Arrange::Content& content() const { return content_; }
  ChildList& children() { return children_; }
  void setMinimumWidthValue(std::int32_t n) { minimumWidth_ = n; }
  void setCollapse(bool width, bool on) { (width ? collapseWidth_ : collapseHeight_) = on; }
  // The window lays out again (twice when `twice`).
  void relayoutWindow(bool twice);
  // Back to the state after construction: children detached (not
  // released), margins, manager, content and size rules cleared.
  void resetContainer();

 private:
  std::int32_t percentOfParent(std::int32_t percent, bool horizontal);

  ChildList children_{*this};
  Margins margins_;
  ILayoutManager* manager_ = nullptr;
  Arrange::Content content_;
  std::int32_t layoutDepth_ = 0;
  std::int32_t minimumWidth_ = -1;
  bool collapseWidth_ = false;
  bool collapseHeight_ = false;
};

}  // namespace s::gui::win
