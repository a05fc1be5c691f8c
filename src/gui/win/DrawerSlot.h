#pragma once

namespace s::gui::win {

// The drawer a component paints with, owned or lent (a theme's drawer is
// lent: its theme releases it). Interface thread of the component.
template <typename Drawer>
class DrawerSlot {
 public:
  DrawerSlot() = default;
  ~DrawerSlot() { clear(); }
  DrawerSlot(const DrawerSlot&) = delete;
  DrawerSlot& operator=(const DrawerSlot&) = delete;

  Drawer* get() const { return drawer_; }
  // Holds `drawer` (null: none) from now on, giving back an owned one it
  // held unless it is the same; false when nothing changed.
  bool put(Drawer* drawer, bool owned) {
    const bool changed = drawer != drawer_ || (owned && drawer != nullptr) != owned_;
    if (drawer != drawer_) clear();
    drawer_ = drawer;
    owned_ = owned && drawer != nullptr;
    return changed;
  }
  // Gives back an owned drawer and holds none.
  void clear() {
    if (drawer_ != nullptr && owned_) drawer_->release();
    drawer_ = nullptr;
    owned_ = false;
  }

 private:
  Drawer* drawer_ = nullptr;
  bool owned_ = false;
};

}  // namespace s::gui::win
