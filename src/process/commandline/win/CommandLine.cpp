#include "process/commandline/win/CommandLine.h"

namespace s::process::commandline::win {

void CommandLine::parse(const std::vector<std::u16string>& arguments) {
  arguments_.clear();
  for (const std::u16string& argument : arguments) {
    const bool isSwitch = !argument.empty() && (argument[0] == u'-' || argument[0] == u'/');
    arguments_.push_back(isSwitch ? u"-" + argument.substr(1) : argument);
  }
}

std::u16string CommandLine::getArgument(std::int32_t i) const {
  return i >= 0 && static_cast<std::size_t>(i) < arguments_.size()
             ? arguments_[static_cast<std::size_t>(i)]
             : std::u16string();
}

}  // namespace s::process::commandline::win
