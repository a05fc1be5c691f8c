#pragma once

#include <map>
#include <vector>

#include "gui/ILabel.h"
#include "gui/win/Component.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::win {

class Font;

// The label (contract in ILabel), drawn by its text drawer (the basic one
// unless another is set). Transparent by default; a label that is not a link
// lets presses through to the window (easy drag works over it). Measured
// after every change of text or font, and for each width a layout asks
// (kept in a cache). Pooled.
class Label final : public ILabel,
                    public Component,
                    public virtual s::base::IObject,
                    public virtual s::thread::IPoolable {
  VONQ_POOLED(Label, s::thread::kPoolCap)
 public:
  static constexpr std::uint32_t kRestoreTimer = 100;

  Label();
  ~Label() override;

  void fitTo(std::int32_t w, std::int32_t h) override;
  void setWordWrap(bool on) override;
  void setEllipsis(bool on) override;
  bool setText(const std::u16string& text, bool relayout) override;
  std::u16string getText() override;
  void setTextFor(const std::u16string& text, std::uint32_t ms) override;
  void setTextId(std::int32_t id) override;
  std::int32_t getTextId() override;
  void setFontSize(std::int32_t code) override;
  std::u16string getFaceName() override;
  void setFaceName(const std::u16string& name) override;
  s::os::gui::Rgb getTextColor() override;
  void setTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  void setPointSize(std::int32_t points) override;
  std::int32_t getFontHeight() override;
  void setFontHeight(std::int32_t h) override;
  bool isBold() override;
  void setBold(bool on) override;
  bool isItalic() override;
  void setItalic(bool on) override;
  bool isUnderline() override;
  void setUnderline(bool on) override;
  std::int32_t getTextEffect() override;
  void setTextEffect(std::int32_t effect) override;
  void setTextDrawer(s::gui::drawer::IText* drawer, bool owned) override;
  // The text drawer in use (never null). Interface thread or any.
  s::gui::drawer::IText* getTextDrawer();
  bool isLink() override;
  void setLink(bool on) override;
  void setLinkTarget(const std::u16string& address) override;
  void addClickListener(IEventListener* listener) override;
  IFont* getFont() override;
  IFont* getDisabledFont() override;
  IFont* getLinkFont() override;
  IFont* getLinkHoverFont() override;
  IFont* getLinkPressedFont() override;

  // How many times the text was measured (for tests of the measuring rule).
  std::int32_t measureCount();

  const char16_t* getClassName() const override { return u"s_gui_win_Label"; }
  void reset() override;

 protected:
  void retext() override;
  bool takeTheme(s::gui::drawer::ISkin* theme) override;
  std::u16string accessibleText() override { return text_; }
  void nativeCreated(s::os::gui::NativeWidget& native) override;
  void paintContent(s::os::gui::MemDC& dc) override;
  bool onMouseButton(s::os::gui::MouseButton button, bool pressed, bool doubleClick, std::int32_t x,
                     std::int32_t y) override;
  void onHover(bool inside) override;
  void onTimer(std::uint32_t id) override;

 private:
  // The state fonts: made on request, with the normal font's size code and
  // bold setting, and handed to the drawer.
  Font*& stateFont(std::size_t which);
  IFont* currentFont();
  void measure();
  void setLinkState(std::int32_t state);
  template <class Change>
  void changeFonts(bool allStates, Change&& change);
  void resetFields();

  std::u16string text_;
  std::int32_t textId_ = -1;
  std::u16string savedText_;
  bool saved_ = false;
  Font* font_ = nullptr;
  Font* states_[4] = {nullptr, nullptr, nullptr, nullptr};  // disabled, link, hover, pressed
  s::gui::drawer::IText* drawer_ = nullptr;
  bool ownsDrawer_ = true;
  bool link_ = false;
  std::u16string target_;
  std::int32_t linkState_ = 0;
  bool pressed_ = false;
  bool inside_ = false;
  std::vector<IEventListener*> clickListeners_;
  std::map<std::int32_t, s::os::gui::Size> measured_;
  std::int32_t measures_ = 0;
};

}  // namespace s::gui::win
