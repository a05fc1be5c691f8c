#include "cli/Texts.h"

#include "cli/Console.h"
#include "lang/LangPack.h"
#include "lang/Localizer.h"
#include "str/strbuffer/StrBuffer.h"

namespace s::cli {

namespace {

// "\r\n" and a lone "\r" become "\n".
std::string withNewlines(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
    } else if (i + 1 >= text.size() || text[i + 1] != '\n') {
      out += '\n';
    }
  }
  return out;
}

}  // namespace

Texts::Texts()
    : table_(s::lang::Localizer::createFromResource()),
      run_([this](std::int32_t id) { return text(id); }) {}

Texts::~Texts() {
  delete table_;
}

std::u16string Texts::text(std::int32_t id) const {
  if (table_ == nullptr) return {};
  std::u16string found = table_->text(id);
  if (found.empty()) {
    const s::lang::LangPack* english = table_->findLanguage(u"English");
    const s::str::strbuffer::StrBuffer* entry = english ? english->findText(id) : nullptr;
    if (entry != nullptr) found = entry->view();
  }
  return found;
}

std::string Texts::shown(const std::u16string& text) {
  return withNewlines(Console::toBytes(text));
}

const char* Texts::usage() {
  return "Usage: vonq-scrub --list\n"
         "       vonq-scrub --audit [--verbose] MOUNTPOINT\n"
         "       vonq-scrub [--recycle-bin] [--free-space] [--mft] [--cluster-tips]\n"
         "                  [--file-names] [--yes] [--verbose] MOUNTPOINT\n"
         "\n"
         "Makes deleted data on the volume mounted at MOUNTPOINT unrecoverable.\n"
         "Without operation flags the first four operations run. --file-names\n"
         "(NTFS only) may take hours on large volumes. --yes skips the question.\n"
         "--verbose also prints what each operation did.\n"
         "\n"
         "--audit only reads the NTFS volume (after asking its driver to flush) and\n"
         "counts what is still recoverable: names and resident data in free MFT\n"
         "records, old names in folder index slack, index blocks in free clusters;\n"
         "with --verbose also the first names found. After a run on NTFS the same\n"
         "audit reports what the run left.\n"
         "\n"
         "Exit status: 0 complete, 1 incomplete, 2 cancelled, 3 drive type not\n"
         "supported or its device cannot be read, 4 bad usage or a mount point that\n"
         "cannot be used.\n";
}

const char* Texts::noTipJournal() {
  return "vonq-scrub: cluster tips will not be wiped: their journal cannot be kept (set "
         "XDG_STATE_HOME or HOME to a folder this user can write).\n";
}

}  // namespace s::cli
