#pragma once

#include <optional>
#include <vector>

#include "gui/IComboBox.h"
#include "gui/win/Component.h"
#include "gui/win/DrawerSlot.h"
#include "gui/win/FontLooks.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::win {

// The drop-down list (contract in IComboBox) on the platform's own control;
// it owns its items and gives item texts set by entry id the current
// language. Preferred and maximum size 50 x 26 times the scale factor.
// Pooled: reset() gives every item back.
class ComboBox final : public IComboBox,
                       public Component,
                       public FontLooks,
                       public virtual s::base::IObject,
                       public virtual s::thread::IPoolable {
  VONQ_POOLED(ComboBox, s::thread::kPoolCap)
 public:
  ComboBox();
  ~ComboBox() override;

  std::int32_t getItemCount() override;
  Item* getItem(std::int32_t i) override;
  void addItem(Item* item) override;
  void insertItem(std::int32_t i, Item* item) override;
  void removeItem(Item* item) override;
  Item* removeItemAt(std::int32_t i) override;
  void deleteItem(Item* item) override;
  void deleteItemAt(std::int32_t i) override;
  void deleteItemByValue(std::int32_t value) override;
  void setItemText(std::int32_t i, const std::u16string& text) override;
  void select(std::int32_t i, bool notify) override;
  void selectByValue(std::int32_t value, bool notify) override;
  std::int32_t getSelectedIndex() override;
  Item* getSelectedItem() override;
  std::int32_t getPreviousIndex() override;
  Item* getPreviousItem() override;
  void fillParent() override;
  void setWidthPercent(std::int32_t percent) override { Component::setWidthPercent(percent); }
  void setHeightPercent(std::int32_t percent) override { Component::setHeightPercent(percent); }
  void setFixedWidth(std::int32_t w) override { Component::setFixedWidth(w); }
  void setFixedHeight(std::int32_t h) override { Component::setFixedHeight(h); }
  void addSelectionListener(IEventListener* listener) override;

  void setDrawer(s::gui::drawer::ICombo* drawer, bool owned) override;
  // The drawer in use (null: none). Interface thread or any.
  s::gui::drawer::ICombo* getDrawer();

  const char16_t* getClassName() const override { return u"s_gui_win_ComboBox"; }
  void reset() override;

 protected:
  void retext() override;
  bool takeTheme(s::gui::drawer::ISkin* theme) override;
  // Where the platform leaves the drawing to the program: the drawer's
  // look, on what is behind the control.
  void paintContent(s::os::gui::MemDC& dc) override;
  std::u16string accessibleText() override;
  void nativeCreated(s::os::gui::NativeWidget& native) override;
  void onActivated(std::int32_t index) override;
  void fontsChanged() override;

 private:
  // The platform control's colours from the drawer; none without one.
  std::optional<s::os::gui::ControlLook> lookOf();
  std::int32_t indexOf(Item* item) const;
  Item* at(std::int32_t i) const;
  void showItemText(std::int32_t i);
  void notifySelection();
  void clearItems();

  std::vector<Item*> items_;
  std::int32_t selected_ = -1;
  std::int32_t previous_ = -1;
  std::vector<IEventListener*> listeners_;
  DrawerSlot<s::gui::drawer::ICombo> drawer_;
};

}  // namespace s::gui::win
