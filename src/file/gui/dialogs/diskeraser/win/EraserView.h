#pragma once

#include <cstdint>

namespace s::gui::win {
class Box;
class Button;
class CheckBox;
class ComboBox;
class Label;
class MenuEx;
class ProgressBar;
class StatusBar;
class Window;
}  // namespace s::gui::win
namespace s::file::gui::dialogs::diskeraser::win {

// The components of the disk eraser window, built once as one tree: the
// menu bar, the main column (drive list and Refresh, five operation boxes
// each over its progress bar, Erase and Cancel) and the status bar (status
// text, the hidden overall bar, the maker's link, the resize grip). Sizes
// are times the scale factor. The window owns nothing: release() gives the
// whole tree back. Interface thread.
class EraserView {
 public:
  static constexpr int kOperations = 5;

  EraserView() = default;
  EraserView(const EraserView&) = delete;
  EraserView& operator=(const EraserView&) = delete;
  ~EraserView() { release(); }

  // Makes every component; `ticked` are the operation boxes' first states.
  // Texts by entry id come from the window's language table once attached.
  void make(std::int32_t scale, const bool ticked[kOperations]);
  // Adds the menu bar, the main column and the status bar to `window`.
  void attach(s::gui::win::Window* window);
  // Takes the tree out of its window and gives every component back.
  void release();

  s::gui::win::MenuEx* menuBar = nullptr;
  s::gui::win::Box* mainColumn = nullptr;
  s::gui::win::ComboBox* driveList = nullptr;
  s::gui::win::Button* refreshButton = nullptr;
  s::gui::win::CheckBox* opCheck[kOperations] = {};
  s::gui::win::ProgressBar* opProgress[kOperations] = {};
  s::gui::win::Button* eraseButton = nullptr;
  s::gui::win::Button* cancelButton = nullptr;
  s::gui::win::StatusBar* statusBar = nullptr;
  s::gui::win::Label* statusLabel = nullptr;
  s::gui::win::ProgressBar* statusProgress = nullptr;
  s::gui::win::Label* linkLabel = nullptr;

 private:
  void makeMainColumn(const bool ticked[kOperations]);
  s::gui::win::Box* makeDriveRow();
  void addOperation(int op, std::int32_t gapAbove, bool ticked);
  s::gui::win::Box* makeOptionalBlock(bool ticked);
  void makeStatusBar();

  std::int32_t s_ = 1;
  s::gui::win::Window* window_ = nullptr;
};

}  // namespace s::file::gui::dialogs::diskeraser::win
