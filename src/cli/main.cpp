// vonq-scrub: the command-line front end of the drive scrubber.

#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Console.h"
#include "cli/Options.h"
#include "cli/ScrubRun.h"
#include "cli/Texts.h"
#include "os/CommandLine.h"
#include "os/FileSystem.h"
#include "os/TipJournal.h"

namespace {

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) {
  interrupted.store(true);
}

}  // namespace

int main(int argc, char** argv) {
  using s::cli::Options;
  using s::cli::ScrubRun;
  const Options options = Options::parse(s::os::CommandLine::arguments(argc, argv));
  if (options.mode == Options::Mode::Help) {
    std::fputs(s::cli::Texts::usage(), stdout);
    return ScrubRun::kComplete;
  }
  if (!options.error.empty()) {
    std::fprintf(stderr, "vonq-scrub: %s\n\n%s", options.error.c_str(), s::cli::Texts::usage());
    return ScrubRun::kUsage;
  }
  // What an earlier run left behind (it was killed or the system went
  // down) is put right before anything else.
  s::os::fileSystem().replayScheduledDeletions();
  std::vector<std::u16string> changed;
  s::os::tipJournal().replay(changed);
  for (const std::u16string& path : changed) {
    std::fprintf(stderr,
                 "vonq-scrub: %s was changed after an interrupted run worked on its cluster tip; "
                 "it was left as it is.\n",
                 s::cli::Console::printable(path).c_str());
  }

  ScrubRun run(interrupted);
  if (options.mode == Options::Mode::List) return run.list(stdout);
  std::signal(SIGINT, onInterrupt);
  std::signal(SIGTERM, onInterrupt);
  if (options.mode == Options::Mode::Audit) return run.audit(options, stdout, stderr);
  return run.scrub(options, stdin, stdout, stderr);
}
