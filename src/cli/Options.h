#pragma once

#include <string>
#include <vector>

namespace s::cli {

// What the command line asks for.
struct Options {
  enum class Mode { Scrub, List, Help, Audit };

  Mode mode = Mode::Scrub;
  // Operations in engine order: recycle bin, free space, MFT, cluster tips,
  // file names.
  bool operations[5] = {false, false, false, false, false};
  bool yes = false;
  bool verbose = false;    // also print what each operation did
  std::string mountPoint;  // as given, UTF-8
  std::string error;       // why the command line is unusable; empty when fine

  // Parses the arguments after the program name. No operation flag means
  // the first four. --audit takes a mount point and --verbose only. Never
  // throws; a bad command line fills `error`.
  static Options parse(const std::vector<std::string>& args);
};

}  // namespace s::cli
