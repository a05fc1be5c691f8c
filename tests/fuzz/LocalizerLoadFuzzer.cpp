// libFuzzer target: a language table made from arbitrary UTF-8 bytes, then
// selected and read as the program does.
#include <cstddef>
#include <cstdint>

#include "lang/LangPack.h"
#include "lang/Localizer.h"
#include "xml/Node.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  s::xml::Node* root = s::xml::Node::create();
  root->parseUtf8(data, static_cast<std::uint32_t>(size));
  s::lang::Localizer* table = s::lang::Localizer::create();
  table->load(*root);
  root->release();

  for (const char16_t* name : {u"German", u"Chinese", u"Portuguese_portugal", u"Serbian", u""}) {
    table->selectLanguage(name);
    table->text(1002000);
    table->hasUpdateText();
  }
  for (std::uint32_t i = 0; i < table->languageCount(); ++i) {
    table->selectLanguageAt(i);
    const s::lang::LangPack* language = table->currentLanguage();
    for (std::uint32_t t = 0; t < language->textCount() && t < 16; ++t) {
      table->text(language->idAt(t));
    }
    language->findKeyedText(u"key");
  }
  table->release();
  return 0;
}
