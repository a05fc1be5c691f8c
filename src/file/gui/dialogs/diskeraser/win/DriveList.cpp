#include "file/gui/dialogs/diskeraser/win/DriveList.h"

#include "gui/IComboBox.h"
#include "gui/combobox/ComboBoxItem.h"
#include "lang/Localizer.h"
#include "map/IMappedData.h"
#include "os/AsciiCase.h"
#include "os/FileSystem.h"
#include "os/System.h"
#include "str/strbuffer/StrBuffer.h"

namespace s::file::gui::dialogs::diskeraser::win {

namespace {
constexpr const char16_t* kGroup = u"MainWindow\\View";
constexpr const char16_t* kLastWiped = u"Last_WipedDrive";
}  // namespace

DriveList::DriveList(s::gui::IComboBox* list, s::lang::Localizer* table,
                     s::map::IMappedData* settings)
    : list_(list), table_(table), settings_(settings) {}

const std::u16string& DriveList::systemRoot() {
  static const std::u16string root = [] {
    s::os::VolumeInfo volume;
    return s::os::fileSystem().volumeOf(s::os::system().systemFolder(), volume)
               ? volume.root
               : std::u16string(u"C:\\");
  }();
  return root;
}

std::u16string DriveList::textOf(const s::os::VolumeInfo& drive) const {
  if (!s::os::equalsAsciiIgnoreCase(drive.root, systemRoot())) return drive.root;
  return drive.root + u" - " + (table_ != nullptr ? table_->text(kSystemDriveNote) : u"");
}

void DriveList::fill() {
  for (s::os::VolumeInfo& volume : s::os::fileSystem().listVolumes()) {
    if (!volume.eligible) continue;
    auto* entry = s::gui::combobox::ComboBoxItem::create();
    entry->setText(textOf(volume));
    entry->setValue(static_cast<std::int32_t>(drives_.size()));
    drives_.push_back(std::move(volume));
    list_->addItem(entry);
  }
}

void DriveList::selectLastWiped() {
  list_->select(0, false);
  s::str::strbuffer::StrBuffer stored;
  if (settings_ == nullptr ||
      !settings_->getValue(kGroup, kLastWiped, stored, u"", nullptr, false) ||
      stored.length() == 0) {
    return;
  }
  for (std::size_t i = 0; i < drives_.size(); ++i) {
    if (s::os::equalsAsciiIgnoreCase(drives_[i].root, stored.view())) {
      list_->select(static_cast<std::int32_t>(i), false);
      return;
    }
  }
}

void DriveList::refill() {
  for (std::int32_t i = list_->getItemCount() - 1; i >= 0; --i) list_->deleteItemAt(i);
  drives_.clear();
  fill();
  selectLastWiped();
}

void DriveList::storeSelection() {
  const s::os::VolumeInfo* drive = selected();
  if (drive != nullptr && settings_ != nullptr)
    settings_->setValue(kGroup, kLastWiped, drive->root.c_str());
}

void DriveList::retext() {
  for (std::int32_t i = 0; i < list_->getItemCount(); ++i) {
    const auto index = static_cast<std::size_t>(list_->getItem(i)->getValue());
    if (index < drives_.size()) list_->setItemText(i, textOf(drives_[index]));
  }
}

const s::os::VolumeInfo* DriveList::selected() const {
  const auto* entry = list_->getSelectedItem();
  if (entry == nullptr) return nullptr;
  const auto index = static_cast<std::size_t>(entry->getValue());
  return index < drives_.size() ? &drives_[index] : nullptr;
}

std::u16string DriveList::selectedRoot() const {
  const s::os::VolumeInfo* drive = selected();
  return drive != nullptr ? drive->root : std::u16string();
}

bool DriveList::selectedIsNtfs() const {
  const s::os::VolumeInfo* drive = selected();
  return drive != nullptr && drive->fileSystem == u"NTFS";
}

}  // namespace s::file::gui::dialogs::diskeraser::win
