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

Texts::Texts() : table_(s::lang::Localizer::createFromResource()) {}

Texts::~Texts() {
  delete table_;
}

std::string Texts::get(std::int32_t id) const {
  if (table_ == nullptr) return {};
  std::u16string text = table_->text(id);
  if (text.empty()) {
    const s::lang::LangPack* english = table_->findLanguage(u"English");
    const s::str::strbuffer::StrBuffer* found = english ? english->findText(id) : nullptr;
    if (found != nullptr) text = found->view();
  }
  return withNewlines(Console::toBytes(text));
}

std::string Texts::operationName(int op) const {
  std::string label = get(kFirstOperation + op * 100);
  const std::size_t cut = label.find(" - ");
  if (cut != std::string::npos) label.erase(cut);
  return label;
}

std::string Texts::reason(s::file::wiper::Shortfall shortfall) const {
  const int index =
      static_cast<int>(shortfall) - static_cast<int>(s::file::wiper::Shortfall::Cancelled);
  return index < 0 ? std::string() : get(kFirstReason + index);
}

const char* Texts::usage() {
  return "Usage: vonq-scrub --list\n"
         "       vonq-scrub [--recycle-bin] [--free-space] [--mft] [--cluster-tips]\n"
         "                  [--file-names] [--yes] [--verbose] MOUNTPOINT\n"
         "\n"
         "Makes deleted data on the volume mounted at MOUNTPOINT unrecoverable.\n"
         "Without operation flags the first four operations run. --file-names\n"
         "(NTFS only) may take hours on large volumes. --yes skips the question.\n"
         "--verbose also prints what each operation did.\n"
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
