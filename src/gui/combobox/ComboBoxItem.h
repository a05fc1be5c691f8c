#pragma once

#include <cstdint>
#include <string>

#include "base/IObject.h"
#include "gui/IEventListener.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::lang {
class Localizer;
}

namespace s::gui::combobox {

// One entry of a drop-down list: its text (given, or read from the language
// table by entry id), the caller's value and drawing flags (bit 0 bold, 1
// grey, 2 white, 3 heading, 5 separator). Pooled: create(), configure, give
// it to a list (which then owns it), or release().
class ComboBoxItem final : public s::gui::IEventListener,
                           public virtual s::base::IObject,
                           public virtual s::thread::IPoolable {
  VONQ_POOLED(ComboBoxItem, s::thread::kPoolCap)
 public:
  ComboBoxItem() = default;

  const std::u16string& getText() const { return text_; }
  void setText(const std::u16string& text) { text_ = text; }
  std::int32_t getTextId() const { return textId_; }
  // The text becomes entry `id` of `table` (when given), now and after
  // every change of language the item hears of.
  void setTextId(std::int32_t id, s::lang::Localizer* table);
  std::int32_t getValue() const { return value_; }
  void setValue(std::int32_t value) { value_ = value; }
  std::int32_t getFlags() const { return flags_; }
  void setFlags(std::int32_t flags) { flags_ = flags; }

  // The language table `sender` changed: the text is read again when it has
  // an entry id and reads from that table.
  void onEvent(s::base::IObject* sender, std::int32_t code) override;

  const char16_t* getClassName() const override { return u"s_gui_combobox_ComboBoxItem"; }
  void reset() override;

 private:
  std::u16string text_;
  std::int32_t textId_ = -1;
  s::lang::Localizer* language_ = nullptr;
  std::int32_t value_ = 0;
  std::int32_t flags_ = 0;
};

}  // namespace s::gui::combobox
