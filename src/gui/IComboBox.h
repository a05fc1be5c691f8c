#pragma once

#include <cstdint>

#include "gui/IComponent.h"
#include "gui/IFontSettings.h"

namespace s::gui::combobox {
class ComboBoxItem;
}

namespace s::gui::drawer {
class ICombo;
}

namespace s::gui {

// The platform's drop-down list of items. Indices run from 0; -1 means
// none. Operations after the component's, in this order. Any thread;
// listeners run on the interface thread.
class IComboBox : public virtual IComponent, public virtual IFontSettings {
 public:
  using Item = s::gui::combobox::ComboBoxItem;
  ~IComboBox() override = default;

  virtual std::int32_t getItemCount() = 0;
  // Item `i` (owned by the list); null when out of range.
  virtual Item* getItem(std::int32_t i) = 0;
  // Appends `item` (the list owns it from now on).
  virtual void addItem(Item* item) = 0;
  // Inserts at `i` (appends when `i` is the count; ignored beyond it); the
  // selected and previous indices at or after `i` move up by one.
  virtual void insertItem(std::int32_t i, Item* item) = 0;
  // Takes `item` out (the caller owns it again). When it was selected,
  // selected and previous become -1 and the selection listeners hear code 0.
  virtual void removeItem(Item* item) = 0;
  // Takes item `i` out (returned to the caller; null when out of range)
  // without telling anyone; selected becomes -1 when it was `i`, indices
  // after `i` move down.
  virtual Item* removeItemAt(std::int32_t i) = 0;
  // As the removals, after selecting index 0 silently when another index is
  // selected; the item goes back to its pool.
  virtual void deleteItem(Item* item) = 0;
  virtual void deleteItemAt(std::int32_t i) = 0;
  virtual void deleteItemByValue(std::int32_t value) = 0;
  // Shows `text` for item `i` from now on (nothing when out of range); the
  // selection stays. Interface thread.
  virtual void setItemText(std::int32_t i, const std::u16string& text) = 0;
  // Selects `i` (0 when out of range). When that changes the selection, the
  // previous index is kept and, with `notify`, the listeners hear code 0.
  virtual void select(std::int32_t i, bool notify) = 0;
  // Selects the first item whose value is `value` (nothing when none is).
  virtual void selectByValue(std::int32_t value, bool notify) = 0;
  virtual std::int32_t getSelectedIndex() = 0;
  virtual Item* getSelectedItem() = 0;
  virtual std::int32_t getPreviousIndex() = 0;
  virtual Item* getPreviousItem() = 0;
  virtual void fillParent() = 0;
  virtual void setWidthPercent(std::int32_t percent) = 0;
  virtual void setHeightPercent(std::int32_t percent) = 0;
  virtual void setFixedWidth(std::int32_t w) = 0;
  virtual void setFixedHeight(std::int32_t h) = 0;
  // Listeners of selection changes (code 0), not owned.
  virtual void addSelectionListener(IEventListener* listener) = 0;
  // The drawer that gives the field, its text and arrow their colours
  // (null: the desktop's look); an owned one is given back to its pool when
  // replaced. Redraws.
  virtual void setDrawer(s::gui::drawer::ICombo* drawer, bool owned) = 0;
};

}  // namespace s::gui
