#include "SpecialUi.h"

namespace {

// Passes every call to the real control and writes it down.
class LoggedWidget final : public s::os::gui::NativeWidget {
 public:
  LoggedWidget(s::os::gui::NativeWidget* real, std::shared_ptr<SpecialUi::WidgetLog> log)
      : real_(real), log_(std::move(log)) {}
  void destroy() override {
    real_->destroy();
    delete this;
  }
  void place(const s::os::gui::Rect& bounds) override {
    log_->places.push_back(bounds);
    real_->place(bounds);
  }
  void setVisible(bool visible) override {
    log_->visible = visible;
    real_->setVisible(visible);
  }
  void setEnabled(bool enabled) override { real_->setEnabled(enabled); }
  void redraw(const s::os::gui::Rect& area) override { real_->redraw(area); }
  void setAccessible(s::os::gui::AccessibleRole role, std::u16string_view name) override {
    log_->accessibleNames.emplace_back(name);
    real_->setAccessible(role, name);
  }
  void setText(std::u16string_view text) override {
    log_->text = text;
    real_->setText(text);
  }
  void setFont(const s::os::gui::FontSpec& font) override { real_->setFont(font); }
  void setLook(const s::os::gui::ControlLook* look) override {
    if (look != nullptr) log_->looks.push_back(*look);
    real_->setLook(look);
  }
  void setChecked(bool checked) override {
    log_->checked = checked;
    real_->setChecked(checked);
  }
  void insertItem(std::int32_t index, std::u16string_view text) override {
    log_->items.insert(log_->items.begin() + index, std::u16string(text));
    real_->insertItem(index, text);
  }
  void removeItem(std::int32_t index) override {
    log_->items.erase(log_->items.begin() + index);
    real_->removeItem(index);
  }
  void selectItem(std::int32_t index) override {
    log_->selected = index;
    real_->selectItem(index);
  }
  void setProgress(std::int32_t minimum, std::int32_t maximum, std::int32_t position) override {
    log_->minimum = minimum;
    log_->maximum = maximum;
    log_->position = position;
    real_->setProgress(minimum, maximum, position);
  }
  void setCursor(s::os::gui::Cursor cursor) override { real_->setCursor(cursor); }
  void startTimer(std::uint32_t id, std::uint32_t ms) override { real_->startTimer(id, ms); }
  void stopTimer(std::uint32_t id) override { real_->stopTimer(id); }
  s::os::gui::Rect screenBounds() override { return real_->screenBounds(); }
  s::os::gui::Size idealSize() override { return real_->idealSize(); }
  s::os::gui::NativeWidget* real() const { return real_; }

 private:
  s::os::gui::NativeWidget* real_;
  std::shared_ptr<SpecialUi::WidgetLog> log_;
};

}  // namespace

s::os::gui::NativeWidget* SpecialUi::createWidget(s::os::gui::WidgetKind kind,
                                                  s::os::gui::NativeView& parent,
                                                  s::os::gui::WidgetSink& sink) {
  // Children of a logged container live in the real one.
  auto* logged = dynamic_cast<LoggedWidget*>(&parent);
  s::os::gui::NativeView& host = logged != nullptr ? *logged->real() : parent;
  s::os::gui::NativeWidget* made = real_.createWidget(kind, host, sink);
  if (made == nullptr) return nullptr;
  widgets.push_back(std::make_shared<WidgetLog>());
  widgets.back()->sink = &sink;
  return new LoggedWidget(made, widgets.back());
}
