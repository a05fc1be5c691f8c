#pragma once

#include <cstdint>

#include "gui/drawer/border/IThin.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::drawer::border::win {

// The shaded frame (contract in IBorder). Each side takes a shade of the
// base colour, per channel truncated: x1.15 and x1.05 (capped at 255),
// x0.95, x0.9, x0.85, x0.7, x0.5, x0.45. Sides (top, right, bottom, left):
//   raised (1)  x1.05, x0.9, x0.85, base;   3 the same without the bottom;
//   sunken (2)  x0.85, base, x1.05, x0.9;   hover (0) x1.15, x0.7, x0.5, x1.05.
// Lines are one pixel thick times the scale factor; square corners (kind 0)
// run the lines to the corners (the sunken bottom line always starts two
// pixels above the bottom edge); open corners (kind 1) leave the corner
// pixels out (at scale 2 or more: two-pixel lines with 2 x 2 blocks cutting
// the corners); the hover style adds lit and dark corner marks. After
// reset: shaded. Pooled.
class Thin final : public IThin,
                   public virtual s::base::IObject,
                   public virtual s::thread::IPoolable {
  VONQ_POOLED(Thin, s::thread::kPoolCap)
 public:
  // The eight shades of a base colour, lightest first.
  struct Shades {
    s::os::gui::Rgb up15, up5, down5, down10, down15, down30, down50, down55;
  };

  Thin() = default;
  ~Thin() override = default;

  void paintBorder(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                   std::int32_t right, std::int32_t bottom, std::int32_t style, std::int32_t kind,
                   std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  void setShaded(bool on) override { shaded_ = on; }

  // paintBorder at scale factor `scale`.
  void paintBorderAt(s::os::gui::MemDC& surface, const s::os::gui::Rect& area, std::int32_t style,
                     std::int32_t kind, s::os::gui::Rgb base, std::int32_t scale) const;
  // The shades of `base` (all `base` itself when not shaded).
  static Shades shadesOf(s::os::gui::Rgb base, bool shaded);

  const char16_t* getClassName() const override { return u"s_gui_drawer_border_win_Thin"; }
  void reset() override { shaded_ = true; }

 private:
  // The side colours (top, right, bottom, left) of a style.
  struct Sides {
    s::os::gui::Rgb top, right, bottom, left;
    bool hasBottom;
  };
  static bool sidesOf(const Shades& shades, s::os::gui::Rgb base, std::int32_t style, Sides& out);
  static void paintSquare(s::os::gui::MemDC& surface, const s::os::gui::Rect& area,
                          const Sides& sides, std::int32_t style, std::int32_t n);
  static void paintOpen(s::os::gui::MemDC& surface, const s::os::gui::Rect& area,
                        const Sides& sides, std::int32_t style, const Shades& shades);
  static void paintOpenWide(s::os::gui::MemDC& surface, const s::os::gui::Rect& area,
                            const Sides& sides, std::int32_t style, const Shades& shades);
  // The hover style's corner marks of open corners, in units of u pixels.
  static void paintHoverMarks(s::os::gui::MemDC& surface, const s::os::gui::Rect& area,
                              const Shades& shades, std::int32_t u);
  static void paintRound(s::os::gui::MemDC& surface, const s::os::gui::Rect& area,
                         const Sides& sides, std::int32_t n);

  bool shaded_ = true;
};

}  // namespace s::gui::drawer::border::win
