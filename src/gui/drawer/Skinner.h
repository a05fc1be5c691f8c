#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/IObject.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui {
class IEventListener;
}
namespace s::map {
class IMappedData;
}

namespace s::gui::drawer {

class ISkin;

// An ordered set of colour themes, the one that is current, and the windows
// and components drawn with them. A window bound to a skinner takes its
// frame drawer from the current theme, its components the drawers of their
// kinds; when the current theme changes every listener hears onEvent(this,
// 0) and takes its new drawer.
//
// No lock of its own: themes are chosen when the owning window-state record
// is initialised, before a window binds the skinner; listeners register and
// are told on that window's interface thread. Pooled; reset gives every
// theme back to its pool and names the skinner "Basic" again.
class Skinner final : public virtual s::base::IObject, public virtual s::thread::IPoolable {
  VONQ_POOLED(Skinner, s::thread::kPoolCap)
 public:
  static constexpr std::u16string_view kThinWindow = u"ThinWindow";

  Skinner() { reset(); }
  ~Skinner() override;
  Skinner(const Skinner&) = delete;
  Skinner& operator=(const Skinner&) = delete;

  // A skinner from its pool named "ThinWindow" holding the sixteen themes of
  // that set, none current yet. The caller releases it.
  static Skinner* makeThinWindowSkinner();

  std::u16string getName() const { return name_; }
  void setName(std::u16string_view name) { name_ = name; }
  // Appends `theme` (owned from now on) and a copy of its name; true.
  bool addTheme(ISkin* theme);
  // For the name "ThinWindow" (exactly): adds the sixteen themes of that set
  // in list order. Any other name adds nothing.
  void loadThemes();
  // The position of the first theme named exactly `name` in `outIndex`, and
  // true; otherwise `outIndex` -1 and false.
  bool findTheme(std::u16string_view name, std::int32_t& outIndex) const;
  std::int32_t getThemeCount() const { return static_cast<std::int32_t>(themes_.size()); }
  // The theme at `index`, or null outside the list. Still owned here.
  ISkin* getTheme(std::int32_t index) const;
  const std::vector<std::u16string>& getThemeNames() const { return themeNames_; }
  // The current theme; null until one is chosen.
  ISkin* getCurrentTheme() const { return current_; }

  // Chooses the current theme: `name` when a theme has it (exactly, letter
  // case included), else `defaultName`, else the first theme. When that
  // differs from the current theme it becomes current and the listeners are
  // told. False when there is no theme at all (nothing changes).
  bool chooseTheme(std::u16string_view name, std::u16string_view defaultName);
  // chooseTheme with the name stored as the unnamed value of `group` in
  // `settings` (`defaultName` when missing or without settings).
  bool chooseStoredTheme(s::map::IMappedData* settings, const char16_t* group,
                         std::u16string_view defaultName);
  // Stores the current theme's name as the unnamed value of `group`; false
  // without settings, without a current theme or when the store refuses.
  bool storeCurrentTheme(s::map::IMappedData* settings, const char16_t* group) const;

  // Registers a window or component (not owned) to hear theme changes; a
  // listener already registered is not added twice.
  void addListener(s::gui::IEventListener* listener);
  void removeListener(s::gui::IEventListener* listener);
  // How many windows and components are registered.
  std::int32_t getListenerCount() const { return static_cast<std::int32_t>(listeners_.size()); }
  // onEvent(this, 0) on every listener in registration order.
  void notifyListeners();

  const char16_t* getClassName() const override { return u"s_gui_drawer_Skinner"; }
  void reset() override;

 private:
  void releaseThemes();

  std::u16string name_;
  std::vector<ISkin*> themes_;
  std::vector<std::u16string> themeNames_;
  ISkin* current_ = nullptr;
  std::vector<s::gui::IEventListener*> listeners_;
};

}  // namespace s::gui::drawer
