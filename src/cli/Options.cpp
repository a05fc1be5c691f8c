#include "cli/Options.h"

#include <algorithm>
#include <iterator>

namespace s::cli {

namespace {

constexpr const char* kOperationFlags[5] = {"--recycle-bin", "--free-space", "--mft",
                                            "--cluster-tips", "--file-names"};

// The index of an operation flag, or -1.
int operationOf(const std::string& arg) {
  const auto* it = std::find(std::begin(kOperationFlags), std::end(kOperationFlags), arg);
  return it == std::end(kOperationFlags) ? -1 : static_cast<int>(it - std::begin(kOperationFlags));
}

}  // namespace

Options Options::parse(const std::vector<std::string>& args) {
  Options o;
  bool anyOperation = false;
  bool list = false;
  bool audit = false;
  for (const std::string& arg : args) {
    const int op = operationOf(arg);
    if (op >= 0) {
      o.operations[op] = anyOperation = true;
    } else if (arg == "--yes" || arg == "-y") {
      o.yes = true;
    } else if (arg == "--verbose" || arg == "-v") {
      o.verbose = true;
    } else if (arg == "--list") {
      list = true;
    } else if (arg == "--audit") {
      audit = true;
    } else if (arg == "--help" || arg == "-h") {
      o.mode = Mode::Help;
      return o;
    } else if (!arg.empty() && arg[0] == '-') {
      o.error = "unknown option " + arg;
    } else if (!o.mountPoint.empty()) {
      o.error = "only one mount point may be given";
    } else {
      o.mountPoint = arg;
    }
  }
  if (list) {
    o.mode = Mode::List;
    if (!o.mountPoint.empty() || anyOperation) o.error = "--list takes no other arguments";
    return o;
  }
  if (audit) {
    o.mode = Mode::Audit;
    if (anyOperation || o.yes) o.error = "--audit takes only --verbose and a mount point";
  }
  if (o.error.empty() && o.mountPoint.empty()) o.error = "no mount point given";
  if (!anyOperation) std::fill(o.operations, o.operations + 4, true);
  return o;
}

}  // namespace s::cli
