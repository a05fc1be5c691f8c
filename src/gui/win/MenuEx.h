#pragma once

#include <cstdint>
#include <vector>

#include "gui/IMenuEx.h"
#include "gui/win/Component.h"
#include "gui/win/PopupMenu.h"
#include "os/gui/MemDC.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::win {

class Font;

// The menu bar (contract in IMenuEx), drawn by itself. A press on a
// drop-down entry opens it below the entry (not within 500 ms of the last
// one closing, so the click that closed it does not open it again); moving
// onto another drop-down entry while one is open switches to it. Pooled.
class MenuEx final : public IMenuEx,
                     public Component,
                     public virtual s::base::IObject,
                     public virtual s::thread::IPoolable,
                     private PopupMenu::Host {
  VONQ_POOLED(MenuEx, s::thread::kPoolCap)
 public:
  static constexpr std::uint32_t kReopenGuardMillis = 500;

  MenuEx();
  ~MenuEx() override;

  // A bar with the program's paddings (6 x 3) taking `widthPercent` of its
  // parent (when >= 0).
  static MenuEx* make(double widthPercent);

  void onEvent(s::base::IObject* sender, std::int32_t code) override;
  void setFontSize(std::int32_t code) override;
  void setBold(bool on) override;
  void setUnderline(bool on) override;
  void setWidthPercent(std::int32_t percent) override { Component::setWidthPercent(percent); }
  void setHeightPercent(std::int32_t percent) override { Component::setHeightPercent(percent); }
  void setFixedWidth(std::int32_t w) override { Component::setFixedWidth(w); }
  void setFixedHeight(std::int32_t h) override { Component::setFixedHeight(h); }
  void setPadding(std::int32_t px, std::int32_t py) override;
  void addItem(s::gui::menuitem::MenuItem* item) override;
  void addPopup(IPopupMenu* popup) override;
  bool containsCommand(std::int32_t id) override;
  bool isChecked(std::int32_t id) override;
  void setChecked(std::int32_t id, bool on) override;
  std::int32_t getLastCommand() override;
  void addCommandListener(IEventListener* listener) override;
  void fireCommand(std::int32_t id) override;
  void addOpenListener(IEventListener* listener) override;
  void setDrawer(s::gui::drawer::IMenu* drawer, bool owned) override;
  // The drawer in use (never null). Interface thread or any.
  s::gui::drawer::IMenu* getDrawer();
  void setSingleEntry(bool on) override;
  void refreshTexts() override;
  void setOpenOnHover(bool on) override;
  void setLastEntryRight(bool on) override;
  void setLastEntryLink(bool on) override;

  // The rectangle of entry `i` in the bar (empty when out of range), as
  // last measured; for tests and pointer gestures.
  s::os::gui::Rect entryRect(std::int32_t i);
  // The drop-down that is open (null when none).
  PopupMenu* openPopup();

  const char16_t* getClassName() const override { return u"s_gui_win_MenuEx"; }
  void reset() override;

 protected:
  void retext() override;
  bool takeTheme(s::gui::drawer::ISkin* theme) override;
  std::u16string accessibleText() override;
  void paintContent(s::os::gui::MemDC& dc) override;
  bool onMouseButton(s::os::gui::MouseButton button, bool pressed, bool doubleClick, std::int32_t x,
                     std::int32_t y) override;
  void onMouseMove(std::int32_t x, std::int32_t y) override;
  void onHover(bool inside) override;
  void nativeCreated(s::os::gui::NativeWidget& native) override;

 private:
  struct Entry {
    s::gui::menuitem::MenuItem* item = nullptr;
    PopupMenu* popup = nullptr;
    std::u16string text;
    s::os::gui::Rect rect;
  };

  void popupClosed(PopupMenu* popup) override;
  void popupPointer(std::int32_t screenX, std::int32_t screenY) override;
  void measure();
  std::int32_t entryAt(std::int32_t x, std::int32_t y);
  s::os::gui::Rect placed(std::size_t i);
  void open(std::int32_t i);
  void setHovered(std::int32_t i);
  void clearEntries();
  void resetLooks();

  std::vector<Entry> entries_;
  Font* font_ = nullptr;
  Font* hoverFont_ = nullptr;
  s::gui::drawer::IMenu* drawer_ = nullptr;
  bool ownsDrawer_ = true;
  std::int32_t padX_ = 6;
  std::int32_t padY_ = 3;
  std::int32_t hovered_ = -1;
  bool pressed_ = false;
  std::int32_t open_ = -1;      // the entry whose drop-down is open
  std::int32_t switchTo_ = -1;  // the entry to open once the open one closed
  std::uint64_t closedAt_ = 0;  // when the last drop-down closed (ms)
  bool closedOnce_ = false;
  bool openOnHover_ = false;
  bool lastRight_ = false;
  bool lastLink_ = false;
  bool singleEntry_ = false;
  std::int32_t lastCommand_ = -1;
  std::vector<IEventListener*> commandListeners_;
  std::vector<IEventListener*> openListeners_;
};

}  // namespace s::gui::win
