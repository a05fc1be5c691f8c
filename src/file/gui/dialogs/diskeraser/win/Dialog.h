#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "base/IObject.h"
#include "file/gui/dialogs/diskeraser/win/EraserView.h"
#include "file/wiper/OperationReport.h"
#include "file/wiper/win/DiskWiper.h"
#include "file/wiper/win/RunTexts.h"
#include "gui/IEventListener.h"
#include "thread/IPoolable.h"
#include "thread/ITask.h"
#include "thread/Pooled.h"

namespace s::app {
class IAppWindow;
}
namespace s::app::win {
class AppWindow;
}
namespace s::gui::dialogs {
class About3;
}
namespace s::gui::win {
class Window;
}
namespace s::lang {
class Localizer;
}
namespace s::map {
class IMappedData;
}
namespace s::thread::win {
class Thread;
}

namespace s::file::gui::dialogs::diskeraser::win {

class DriveList;
class MainMenus;
class Heartbeat;

// The disk eraser window's controller. It builds the main window bound to
// the window-state record, listens to every component, and runs a wipe as
// its own task on a worker thread (below normal priority) that drives the
// engine and reports to the window only through named events sent with the
// window's synchronous sendEvent. While the window is open, another start of
// the program brings it to the front.
//
// Threads: build() on the main thread; onEvent() on the interface thread;
// run() on the worker. Pooled: create(), bind(), build(), release(); giving
// it back cancels a run still going and waits for it.
class Dialog final : public s::gui::IEventListener,
                     public virtual s::base::IObject,
                     public virtual s::thread::IPoolable,
                     public s::thread::ITask {
  VONQ_POOLED(Dialog, s::thread::kPoolCap)
 public:
  static constexpr int kOperations = EraserView::kOperations;

  // The status events the task sends (recognised by pointer).
  static constexpr const char16_t* kStatusStart = u"ProcessStatusStart";
  static constexpr const char16_t* kStatusTrashBin = u"ProcessStatusUpdate_TrashBin";
  static constexpr const char16_t* kStatusDiskSpace = u"ProcessStatusUpdate_DiskSpace";
  static constexpr const char16_t* kStatusMFTSpace = u"ProcessStatusUpdate_MFTSpace";
  static constexpr const char16_t* kStatusCluterTips = u"ProcessStatusUpdate_CluterTips";
  static constexpr const char16_t* kStatusCluterTips2 = u"ProcessStatusUpdate_CluterTips2";
  static constexpr const char16_t* kStatusFileEntries = u"ProcessStatusUpdate_FileEntries";
  static constexpr const char16_t* kStatusUpdate = u"ProcessStatusUpdate";
  static constexpr const char16_t* kStatusEnd = u"ProcessStatusEnd";

  // How the last run ended.
  enum Result : std::int32_t { kComplete = 0, kIncomplete = 1, kCancelled = 2, kUnsupported = 3 };

  Dialog();
  ~Dialog() override;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // The record (not owned) the window takes its language, settings and
  // geometry from.
  void bind(s::app::IAppWindow* record) { record_ = record; }
  // Builds the window and shows it, then returns once the user has closed
  // it and a run still going has ended; the window is given back then.
  // False (doing nothing) when there is no record. Main thread.
  bool build();
  // The main window (null outside build()) and its components, for tests.
  s::gui::win::Window* window() const { return shown_.load(); }
  EraserView& view() { return view_; }

  // Every event of the window and its components. Interface thread.
  void onEvent(s::base::IObject* sender, std::int32_t code) override;
  // The wipe task. Worker thread.
  void run() override;

  const char16_t* getClassName() const override {
    return u"s_file_gui_dialogs_diskeraser_win_Dialog";
  }
  // Cancels a run still going, waits for the task, forgets the record.
  void reset() override;

 private:
  // Building (main thread, through the interface thread).
  void makeWindow();
  void readTicks(bool ticked[kOperations]);
  void listen();
  void waitForClose();
  void showWindow();
  void waitAndGiveBack();

  // Reactions (interface thread).
  void onWindowEvent(std::int32_t code);
  void onStatusEvent(const char16_t* name);
  void relayout();
  void onTicked(int op, bool ticked);
  void onDriveSelected();
  void refresh();
  void erase();
  void cancel();
  void runStarted();
  void phaseEntered(int op);
  void showProgress();
  void runEnded();
  void enableBoxFive();
  std::u16string endMessage();
  void showVersion();
  std::u16string text(std::int32_t id);

  // The task's steps (worker thread).
  // After a run that was not cancelled: what a read of the drive's MFT and
  // folder indexes still finds of the traces the run was asked to remove.
  void countTracesLeft();
  void drive(s::file::wiper::win::DiskWiper& engine);
  bool poll(s::file::wiper::win::DiskWiper& engine, bool local[kOperations],
            bool seen[kOperations]);
  void endRun(s::file::wiper::win::DiskWiper& engine, bool supported);
  void tellDesktop();
  void send(const char16_t* event);

  s::app::IAppWindow* record_ = nullptr;
  s::map::IMappedData* settings_ = nullptr;
  s::lang::Localizer* languages_ = nullptr;
  std::int32_t scale_ = 1;
  s::gui::win::Window* window_ = nullptr;
  std::atomic<s::gui::win::Window*> shown_{nullptr};  // window_ once shown, for other threads
  EraserView view_;
  std::unique_ptr<DriveList> drives_;
  std::unique_ptr<MainMenus> menus_;
  std::unique_ptr<Heartbeat> heartbeat_;
  s::thread::win::Thread* worker_ = nullptr;
  s::gui::dialogs::About3* about_ = nullptr;  // made on first use
  s::app::win::AppWindow* aboutRecord_ = nullptr;

  // Shared between the interface thread and the worker.
  std::atomic<bool> process_[kOperations];
  std::atomic<std::int32_t> progress_[kOperations];
  std::atomic<bool> cancelRequested_{false};
  std::atomic<bool> running_{false};
  std::atomic<bool> active_{false};  // the window has the focus
  std::u16string selectedRoot_;      // written before the task starts
  std::mutex fileLock_;              // guards currentFile_
  std::u16string currentFile_;
  // The end of the last run, written by the worker before kStatusEnd.
  std::atomic<std::int32_t> result_{kComplete};
  s::file::wiper::win::DiskWiper::Outcome outcome_{};
  s::file::wiper::win::RunTexts::Reports reports_{};
  // What the audit after the last run found, when one was made (written by
  // the worker before it sends the end event).
  bool audited_ = false;
  std::array<bool, kOperations> asked_{};  // the operations the last run was asked for
  s::file::wiper::ntfs::TraceReport traces_;
  bool everything_ = false;  // interface thread: the run was asked to erase everything
};

}  // namespace s::file::gui::dialogs::diskeraser::win
