#include "file/wiper/win/RootProbe.h"

#include "os/FileSystem.h"
#include "os/FsError.h"
#include "os/OpenMode.h"
#include "os/System.h"

namespace s::file::wiper::win {

bool RootProbe::mayCreateIn(const std::u16string& root) {
  std::u16string probe = root + u"Vonq_Nulmark.probe.";
  for (const char digit : std::to_string(s::os::system().millis())) probe += char16_t(digit);
  auto file = s::os::fileSystem().openFile(
      probe, s::os::OpenMode::make(s::os::OpenMode::Access::Write,
                                   s::os::OpenMode::Disposition::CreateNew));
  if (!file) return s::os::lastFsError() == s::os::FsError::Exists;
  file->close();
  s::os::fileSystem().deleteFile(probe);
  return true;
}

}  // namespace s::file::wiper::win
