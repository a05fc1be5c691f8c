#pragma once

#include <vector>

#include "base/IObject.h"
#include "gui/IPopupMenu.h"
#include "os/gui/NativeMenu.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::win {

// The drop-down menu (contract in IPopupMenu) on the platform's menu, made
// on first use on the interface thread. A submenu reports its commands to
// the menu it sits in. Pooled: reset() releases every entry.
class PopupMenu final : public IPopupMenu,
                        public virtual s::base::IObject,
                        public virtual s::thread::IPoolable,
                        private s::os::gui::MenuSink {
  VONQ_POOLED(PopupMenu, s::thread::kPoolCap)
 public:
  // Who hears of the menu closing and of the pointer while it is open (the
  // menu bar it drops from).
  class Host {
   public:
    virtual ~Host() = default;
    virtual void popupClosed(PopupMenu* popup) = 0;
    virtual void popupPointer(std::int32_t screenX, std::int32_t screenY) = 0;
  };

  PopupMenu() = default;
  ~PopupMenu() override;

  void setHost(Host* host);

  void onEvent(s::base::IObject* sender, std::int32_t code) override;
  void addItem(MenuItem* item) override;
  void insertItem(std::int32_t pos, MenuItem* item) override;
  void clear() override;
  void removeAt(std::int32_t pos) override;
  void removeById(std::int32_t id) override;
  void removeByKey(std::int32_t key) override;
  MenuItem* findById(std::int32_t id) override;
  bool containsCommand(std::int32_t id) override;
  bool indexOfId(std::int32_t id, std::int32_t& out) override;
  bool indexOfKey(std::int32_t key, std::int32_t& out) override;
  void enableSubmenu(IPopupMenu* submenu, bool on) override;
  void enableItem(std::int32_t id, bool on) override;
  void addSubmenu(IPopupMenu* popup) override;
  void setLanguage(s::lang::Localizer* table) override;
  bool isChecked(std::int32_t id) override;
  void setChecked(std::int32_t id, bool on) override;
  void setItemText(std::int32_t id, const std::u16string& text) override;
  void setItemTextId(std::int32_t id, std::int32_t textId) override;
  void refreshTexts() override;
  std::u16string getTitle() override;
  std::int32_t getItemCount() override;
  void setTitleId(std::int32_t id) override;
  void setTitle(const std::u16string& text) override;
  void checkRadioRange(std::int32_t checkPos, std::int32_t firstPos, std::int32_t lastPos) override;
  void checkRadioAt(std::int32_t pos) override;
  void checkRadioById(std::int32_t id) override;
  void checkRadioByKey(std::int32_t key) override;
  std::int32_t getLastCommand() override;
  void addCommandListener(IEventListener* listener) override;
  void fireCommand(std::int32_t id) override;
  void showBelow(s::os::gui::NativeWidget& anchor, const s::os::gui::Rect& area) override;
  std::int32_t getEntryCount() override;
  void close() override;
  bool isOpen() override;

  const char16_t* getClassName() const override { return u"s_gui_win_PopupMenu"; }
  void reset() override;

 private:
  struct Entry {
    MenuItem* item = nullptr;
    PopupMenu* submenu = nullptr;
    bool enabled = true;
  };

  // MenuSink (interface thread).
  void onCommand(std::int32_t id) override;
  void onClosed() override;
  void onPointer(std::int32_t screenX, std::int32_t screenY) override;

  s::os::gui::NativeMenu* native();
  void insertEntry(std::int32_t pos, Entry entry);
  void show(std::int32_t pos);  // puts entry `pos`'s text and mark into the native menu
  void release(Entry& entry);
  std::int32_t findPos(bool byKey, std::int32_t value) const;
  // The item with command `id` here or in a submenu; null when none.
  MenuItem* deepFind(std::int32_t id, PopupMenu** owner);

  std::vector<Entry> entries_;
  s::os::gui::NativeMenu* native_ = nullptr;
  s::lang::Localizer* language_ = nullptr;
  std::u16string title_;
  std::int32_t titleId_ = -1;
  std::int32_t lastCommand_ = -1;
  std::vector<IEventListener*> listeners_;
  PopupMenu* parent_ = nullptr;
  Host* host_ = nullptr;
};

}  // namespace s::gui::win
