#pragma once

#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

#include "os/gui/Ui.h"

namespace s::gui {

// Runs `work` on the interface thread and returns its result once it ran (at
// once when called there, or when no interface thread runs).
template <class F>
auto onUi(F&& work) {
  using Result = std::invoke_result_t<F&>;
  if constexpr (std::is_void_v<Result>) {
    s::os::gui::ui().call([&work] { work(); });
  } else {
    std::optional<Result> result;
    s::os::gui::ui().call([&work, &result] { result.emplace(work()); });
    return std::move(*result);
  }
}

}  // namespace s::gui
