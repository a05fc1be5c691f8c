#include "os/gtk/LookCss.h"

namespace s::os::gtk {

std::string LookCss::colour(const s::os::gui::Rgb& c) {
  return "rgb(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

std::string LookCss::sheet(const s::os::gui::ControlLook& look) {
  const std::string face = colour(look.face);
  const std::string text = colour(look.text);
  const std::string frame = colour(look.frame);
  const std::string flat =
      "background-image: none; box-shadow: none; text-shadow: none; -gtk-icon-shadow: none; "
      "border-radius: 0; outline-color: " +
      text + ";";
  std::string css;
  css += "button, checkbutton, combobox { color: " + text + "; " + flat + " }\n";
  css += "label, cellview { color: inherit; background-color: transparent; text-shadow: none; }\n";
  css += "button { background-color: " + face + "; border: 1px solid " + frame + "; }\n";
  css += "button:hover { background-color: " + face + "; }\n";
  css += "button:active, button:checked { background-color: " + colour(look.pressedFace) +
         "; color: " + colour(look.pressedText) + "; }\n";
  css += "checkbutton, combobox { background-color: transparent; }\n";
  css += "check { " + flat + " -gtk-icon-source: none; background-color: " + face +
         "; border: 1px solid " + frame + "; }\n";
  css += "check:checked { background-color: " + colour(look.mark) +
         "; box-shadow: inset 0 0 0 3px " + face + "; }\n";
  css += "arrow { color: " + colour(look.mark) + "; -gtk-icon-shadow: none; }\n";
  const std::string disabled = colour(look.disabled);
  css += "button:disabled, checkbutton:disabled, combobox:disabled { color: " + disabled + "; }\n";
  css += "button:disabled, check:disabled { border-color: " + disabled + "; }\n";
  return css;
}

}  // namespace s::os::gtk
