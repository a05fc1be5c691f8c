#pragma once

#include <cstdint>
#include <string>

#include "base/IObject.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::lang {
class Localizer;
}

namespace s::gui::menuitem {

// One entry of a menu: its text (given, or entry `textId` of its language
// table), the command it reports, its check or radio mark (kept here so it
// survives re-texting), a separator flag and a second key. Pooled; a menu
// that takes it owns it.
class MenuItem final : public virtual s::base::IObject, public virtual s::thread::IPoolable {
  VONQ_POOLED(MenuItem, s::thread::kPoolCap)
 public:
  MenuItem() = default;

  // An entry with the text of `textId` in `table`, reporting `commandId`.
  static MenuItem* make(std::int32_t textId, s::lang::Localizer* table, std::int32_t commandId,
                        bool checked);
  static MenuItem* makeSeparator();

  // The text, read from the language table first when the entry has an id.
  std::u16string getText();
  void setText(const std::u16string& text) { text_ = text; }
  std::int32_t getTextId() const { return textId_; }
  void setTextId(std::int32_t id) { textId_ = id; }
  void setLanguage(s::lang::Localizer* table) { language_ = table; }
  std::int32_t getCommandId() const { return commandId_; }
  void setCommandId(std::int32_t id) { commandId_ = id; }
  bool isChecked() const { return checked_; }
  void setChecked(bool on) { checked_ = on; }
  bool isRadio() const { return radio_; }
  void setRadio(bool on) { radio_ = on; }
  bool isSeparator() const { return separator_; }
  std::int32_t getKey() const { return key_; }
  void setKey(std::int32_t key) { key_ = key; }

  const char16_t* getClassName() const override { return u"s_gui_menuitem_MenuItem"; }
  void reset() override;

 private:
  s::lang::Localizer* language_ = nullptr;
  std::u16string text_;
  std::int32_t textId_ = -1;
  std::int32_t commandId_ = -1;
  bool checked_ = false;
  bool radio_ = false;
  bool separator_ = false;
  std::int32_t key_ = 0;
};

}  // namespace s::gui::menuitem
