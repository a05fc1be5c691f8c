#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "os/VolumeInfo.h"

namespace s::gui {
class IComboBox;
}
namespace s::lang {
class Localizer;
}
namespace s::map {
class IMappedData;
}

namespace s::file::gui::dialogs::diskeraser::win {

// The drive list of the disk eraser window: one entry per drive the program
// may offer, in the system's order, each entry's value being its index
// here; the system drive shows " - " and a warning after its root. The last
// drive chosen is kept in the settings as Last_WipedDrive. Interface thread.
class DriveList {
 public:
  static constexpr std::int32_t kSystemDriveNote = 1001000;

  // `list`, `table` and `settings` are not owned and outlive this object.
  DriveList(s::gui::IComboBox* list, s::lang::Localizer* table, s::map::IMappedData* settings);

  // Adds one entry per eligible drive (the list is expected to be empty).
  void fill();
  // Selects, without notifying, the stored Last_WipedDrive (letter case
  // ignored), else the first entry.
  void selectLastWiped();
  // Empties the list (last entry first), fills it again and selects the
  // stored drive.
  void refill();
  // Stores the selected drive's root as Last_WipedDrive; nothing when none
  // is selected.
  void storeSelection();
  // Re-reads the system drive's note after a language change.
  void retext();

  // The selected drive's root; "" when the list is empty.
  std::u16string selectedRoot() const;
  // Whether the selected drive is NTFS; false when none is selected.
  bool selectedIsNtfs() const;
  // The number of drives listed.
  std::size_t size() const { return drives_.size(); }

  // The root of the drive the system runs from, found once per process.
  static const std::u16string& systemRoot();

 private:
  std::u16string textOf(const s::os::VolumeInfo& drive) const;
  const s::os::VolumeInfo* selected() const;

  s::gui::IComboBox* list_;
  s::lang::Localizer* table_;
  s::map::IMappedData* settings_;
  std::vector<s::os::VolumeInfo> drives_;
};

}  // namespace s::file::gui::dialogs::diskeraser::win
