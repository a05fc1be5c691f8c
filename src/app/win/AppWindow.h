#pragma once

#include <cstdint>
#include <string>

#include "app/IAppWindow.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::map {
class IMappedData;
}
namespace s::gui::drawer {
class Skinner;
}

namespace s::app::win {

// The main window's state record (contract in IAppWindow) over the settings
// store of an AppBase. Position and size live in the view group of the scale
// factor ("View", "View4K" at 2, "View8K" at 4); the view options in
// "MainWindow\View". Pooled.
class AppWindow final : public IAppWindow, public virtual s::thread::IPoolable {
  VONQ_POOLED(AppWindow, s::thread::kPoolCap)
 public:
  AppWindow() = default;

  // What tells one window's record from another's: its group name, its
  // default size (times the scale factor when `scaled`), whether it keeps
  // on top unless told otherwise, and the colour themes it carries: the
  // name of a theme set (null: none) and the theme used while no other is
  // stored in its Skin value.
  struct Shape {
    const char16_t* name = u"MainWindow";
    std::int32_t width = 400;
    std::int32_t height = 501;
    bool scaled = true;
    bool keepOnTop = false;
    const char16_t* skinSet = nullptr;
    const char16_t* defaultSkin = u"";
  };

  // Binds the record to `app` (not owned) for `scale` with `shape` (the
  // main window's by default), writes the identity values of the record's
  // group, loads the middle-click action and, for a shape with a theme set,
  // makes its skinner and chooses the current theme from the Skin value
  // (an unknown name, letter case included: the default theme; an unknown
  // default: the first theme). The thread that owns the record: the
  // interface thread for every record made after start-up.
  void init(IAppBase* app, std::int32_t scale, const Shape& shape);
  void init(IAppBase* app, std::int32_t scale);
  // The view group of a scale factor.
  static const char16_t* viewGroupFor(std::int32_t scale);

  IAppBase* getApp() override { return app_; }
  const char16_t* groupPath(const char16_t* name) override;
  std::int32_t getEntryBase() override;
  s::lang::Localizer* getLanguageTable() override;
  bool hasOwnSkins() override { return skinner_ != nullptr; }
  s::gui::drawer::Skinner* getSkinner() override { return skinner_; }
  std::u16string getSkin() override;
  void setSkin(const std::u16string& name) override;
  bool hasPosition() override { return isXStored() && isYStored(); }
  void setPositionAndSize(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;
  void setSize(std::int32_t w, std::int32_t h) override;
  void forgetGeometry() override;
  bool isXStored() override { return stored(u"X"); }
  std::int32_t getX() override { return geometry(u"X", 0); }
  void setX(std::int32_t x) override { setGeometry(u"X", x); }
  bool isYStored() override { return stored(u"Y"); }
  std::int32_t getY() override { return geometry(u"Y", 0); }
  void setY(std::int32_t y) override { setGeometry(u"Y", y); }
  bool isWidthStored() override { return stored(u"Width"); }
  std::int32_t getWidth() override { return geometry(u"Width", defaultSize(shape_.width)); }
  void setWidth(std::int32_t w) override { setGeometry(u"Width", w); }
  bool isHeightStored() override { return stored(u"Height"); }
  std::int32_t getHeight() override { return geometry(u"Height", defaultSize(shape_.height)); }
  void setHeight(std::int32_t h) override { setGeometry(u"Height", h); }
  bool isWidthUsable() override;
  bool isHeightUsable() override;
  bool getEasyDrag() override { return option(u"EasyDrag", true); }
  void setEasyDrag(bool on) override { setOption(u"EasyDrag", on); }
  bool getMaximized() override { return option(u"Maximized", false); }
  void setMaximized(bool on) override { setOption(u"Maximized", on); }
  bool getKeepOnTop() override { return option(u"KeepOnTop", shape_.keepOnTop); }
  void setKeepOnTop(bool on) override { setOption(u"KeepOnTop", on); }
  bool isMiddleClickClose() override { return middleClick_ == u"Close"; }
  bool isMiddleClickIconize() override { return middleClick_ == u"Iconize"; }
  std::u16string getMiddleClick() override { return middleClick_; }
  void setMiddleClick(const std::u16string& action) override;
  std::span<const unsigned char> iconPng(std::int32_t pixels) override;
  std::int32_t getScale() override { return scale_; }
  void checkForUpdate(s::gui::IWindow* window) override;

  const char16_t* getClassName() const override { return u"s_app_win_AppWindow"; }
  void reset() override;

 private:
  std::int32_t defaultSize(std::int32_t size) const { return shape_.scaled ? size * scale_ : size; }
  const char16_t* viewOptions();

  s::map::IMappedData* settings();
  bool stored(const char16_t* name);
  std::int32_t geometry(const char16_t* name, std::int32_t defaultValue);
  void setGeometry(const char16_t* name, std::int32_t value);
  bool option(const char16_t* name, bool defaultValue);
  void setOption(const char16_t* name, bool value);
  std::u16string readMiddleClick();
  // A string value of the record's settings (`fallback` when missing).
  std::u16string readText(const char16_t* group, const char16_t* name, const char16_t* fallback);
  void loadSkins();
  void releaseSkins();
  bool askNewer(s::gui::IWindow* window, const std::u16string& title,
                const std::u16string& message);

  IAppBase* app_ = nullptr;
  std::int32_t scale_ = 1;
  Shape shape_;
  std::u16string keyBuffer_;
  std::u16string middleClick_ = u"Close";
  s::gui::drawer::Skinner* skinner_ = nullptr;
};

}  // namespace s::app::win
