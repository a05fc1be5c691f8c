#pragma once

#include <cstdint>
#include <functional>

namespace s::app {
class IAppWindow;
}
namespace s::gui {
class IMenuEx;
class IPopupMenu;
class IWindow;
}  // namespace s::gui
namespace s::lang {
class Localizer;
}

namespace s::file::gui::dialogs::diskeraser::win {

// The main window's View, Language and About menus and what their commands
// do: view options kept in the window's record, the interface language
// (switched at once and stored), the version window and the maker's pages.
// Interface thread.
class MainMenus {
 public:
  // Command ids. Below kKeepOnTop: the languages in table order, then the
  // translation page (id = number of languages).
  static constexpr std::int32_t kKeepOnTop = 100;
  static constexpr std::int32_t kEasyDrag = 120;
  static constexpr std::int32_t kMiddleClickClose = 125;
  static constexpr std::int32_t kVersionInfo = 10000;
  static constexpr std::int32_t kSoftwarePage = 10100;
  static constexpr std::int32_t kTellDevelopers = 10200;
  static constexpr std::int32_t kMoreSoftware = 10900;
  static constexpr std::int32_t kWorkplace = 10950;

  // `record`, `window` and `table` are not owned and outlive this object.
  // `showVersion` opens the version window.
  MainMenus(s::app::IAppWindow* record, s::gui::IWindow* window, s::lang::Localizer* table,
            std::function<void()> showVersion);

  // Adds View, Language and About to `bar` (which keeps them), with the
  // view options' marks from the record and the radio mark on the current
  // language.
  void build(s::gui::IMenuEx* bar);

  // Acts on command `id` of the menu bar. False when the id is none of the
  // menus' (nothing is done then).
  bool onCommand(std::int32_t id);

 private:
  s::gui::IPopupMenu* makeView();
  s::gui::IPopupMenu* makeLanguages();
  s::gui::IPopupMenu* makeAbout();
  void chooseLanguage(std::int32_t index);
  bool flip(std::int32_t id);
  void openEntry(std::int32_t entry);

  s::app::IAppWindow* record_;
  s::gui::IWindow* window_;
  s::lang::Localizer* table_;
  std::function<void()> showVersion_;
  s::gui::IMenuEx* bar_ = nullptr;
  s::gui::IPopupMenu* languages_ = nullptr;
};

}  // namespace s::file::gui::dialogs::diskeraser::win
