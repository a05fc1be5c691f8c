#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/IObject.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::process::commandline::win {

// The process arguments as the program saw them: each argument in order, a
// switch (written with a leading "-" or "/") kept with a leading "-". Only
// their number is looked at. Pooled: create(), parse(), release().
class CommandLine final : public virtual s::base::IObject, public virtual s::thread::IPoolable {
  VONQ_POOLED(CommandLine, s::thread::kPoolCap)
 public:
  CommandLine() = default;

  // Takes the arguments after the program's name (argv[1..]).
  void parse(const std::vector<std::u16string>& arguments);
  std::int32_t getCount() const { return static_cast<std::int32_t>(arguments_.size()); }
  // Argument `i`; "" when out of range.
  std::u16string getArgument(std::int32_t i) const;

  const char16_t* getClassName() const override { return u"s_process_commandline_win_CommandLine"; }
  void reset() override { arguments_.clear(); }

 private:
  std::vector<std::u16string> arguments_;
};

}  // namespace s::process::commandline::win
