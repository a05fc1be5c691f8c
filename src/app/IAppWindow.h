#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/IObject.h"

namespace s::lang {
class Localizer;
}

namespace s::gui {
class IWindow;
}
namespace s::gui::drawer {
class Skinner;
}

namespace s::app {

class IAppBase;

// The main window's state record: position, size and view options kept in
// the settings store under "MainWindow\<group>", with their defaults. It
// only stores, defaults and validates; the window applies it. Operations in
// this order; all run on the thread that owns the window (the main thread
// while it builds the window, then the interface thread).
class IAppWindow : public virtual s::base::IObject {
 public:
  ~IAppWindow() override = default;

  virtual IAppBase* getApp() = 0;
  // "MainWindow\" + name, kept in the record's key buffer (valid until the
  // next call).
  virtual const char16_t* groupPath(const char16_t* name) = 0;
  virtual std::int32_t getEntryBase() = 0;
  virtual s::lang::Localizer* getLanguageTable() = 0;
  // Whether the record carries colour themes of its own (a skinner whose
  // current theme it chose from its Skin value when it was initialised).
  virtual bool hasOwnSkins() = 0;
  // That skinner (owned by the record; null without one). Windows bound to
  // the record draw with it and must go before the record does.
  virtual s::gui::drawer::Skinner* getSkinner() = 0;
  // The theme name stored as the record's Skin value (the record's default
  // theme when none is stored; "" for a record without themes).
  virtual std::u16string getSkin() = 0;
  // Stores `name` as the Skin value unless it is already stored; nothing for
  // a record without themes.
  virtual void setSkin(const std::u16string& name) = 0;

  // Both X and Y are stored.
  virtual bool hasPosition() = 0;
  virtual void setPositionAndSize(std::int32_t x, std::int32_t y, std::int32_t w,
                                  std::int32_t h) = 0;
  virtual void setSize(std::int32_t w, std::int32_t h) = 0;
  // Deletes X, Y, Width and Height of the view group.
  virtual void forgetGeometry() = 0;
  virtual bool isXStored() = 0;
  virtual std::int32_t getX() = 0;
  virtual void setX(std::int32_t x) = 0;
  virtual bool isYStored() = 0;
  virtual std::int32_t getY() = 0;
  virtual void setY(std::int32_t y) = 0;
  virtual bool isWidthStored() = 0;
  virtual std::int32_t getWidth() = 0;  // default 400 x scale
  virtual void setWidth(std::int32_t w) = 0;
  virtual bool isHeightStored() = 0;
  virtual std::int32_t getHeight() = 0;  // default 501 x scale
  virtual void setHeight(std::int32_t h) = 0;
  // The stored width (height) is at least 10 and not larger than the
  // desktop's width (height). Interface thread (asks the screen).
  virtual bool isWidthUsable() = 0;
  virtual bool isHeightUsable() = 0;
  virtual bool getEasyDrag() = 0;  // default true
  virtual void setEasyDrag(bool on) = 0;
  virtual bool getMaximized() = 0;  // default false
  virtual void setMaximized(bool on) = 0;
  virtual bool getKeepOnTop() = 0;  // default false
  virtual void setKeepOnTop(bool on) = 0;
  virtual bool isMiddleClickClose() = 0;
  virtual bool isMiddleClickIconize() = 0;
  // "Close" or "Iconize" as stored; anything else "DoNothing".
  virtual std::u16string getMiddleClick() = 0;
  // Stored at once unless equal to the current action.
  virtual void setMiddleClick(const std::u16string& action) = 0;

  // The program icon as PNG bytes at `pixels` (16, 32, 48, 64, 128, 256);
  // empty for other sizes.
  virtual std::span<const unsigned char> iconPng(std::int32_t pixels) = 0;
  // The scale factor the record was made for.
  virtual std::int32_t getScale() = 0;

  // At most once every 30 days asks the maker's version page whether a
  // newer version exists and, when one does, asks the user (over `window`)
  // whether to open the product page. Blocks for at most about 8 s plus the
  // question. Never on the interface thread: the main thread, after the
  // window is shown.
  virtual void checkForUpdate(s::gui::IWindow* window) = 0;
};

}  // namespace s::app
