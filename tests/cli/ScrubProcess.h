#pragma once

#include <string>
#include <vector>

namespace vonq::cli_test {

// The vonq-scrub program built beside this test program (VONQ_SCRUB
// overrides it).
std::string scrubProgram();

// One finished run of vonq-scrub.
struct Finished {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs vonq-scrub with `args`, `input` on its standard input, and a private
// state folder for its journals (or `stateHome` as XDG_STATE_HOME); as the
// user and group `uid` when it is not negative (the test must be root).
Finished runScrub(const std::vector<std::string>& args, const std::string& input = "",
                  const std::string& stateHome = "", int uid = -1);

// A vonq-scrub started in the background, its output going to files.
class Running {
 public:
  Running(const std::vector<std::string>& args, const std::string& stateHome);
  ~Running();
  Running(const Running&) = delete;
  Running& operator=(const Running&) = delete;
  // Waits (up to `seconds`) until its standard output holds `text`.
  bool waitForOutput(const std::string& text, int seconds);
  void signal(int sig);
  // Waits for the end; the exit code, or 128 + the signal that ended it.
  int wait();
  std::string out() const;

 private:
  int pid_ = -1;
  std::string folder_;
};

}  // namespace vonq::cli_test
