#pragma once

#include <cstdint>

#include "base/IObject.h"
#include "col/_array/ArrayP.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui {
class IEventListener;
}
namespace s::xml {
class IXml;
}

namespace s::lang {

class LangPack;

// The language table: the languages in menu order (each a LangPack holding
// its texts by entry id), the current language, and the listeners told when
// the current language changes (onEvent(this, 0), in registration order).
//
// The document it loads:
//   <lang>
//     <languages><entry tagName="eng" engName="English" trueName="English"/>...</languages>
//     <entries><entry id="1002000"><eng>text</eng><deu>text</deu>...</entry>...</entries>
//   </lang>
// An entry's first child element gives its fallback text, which every
// language without a text of its own for that entry receives.
//
// Pooled (cap 1000): Localizer::create() / release() (which gives the packs
// back and forgets the listeners). Loaded once on the main thread during
// start-up, then used by the window's interface thread only: no lock.
// Names are compared ignoring the case of ASCII letters.
class Localizer : public virtual s::base::IObject, public virtual s::thread::IPoolable {
  VONQ_POOLED(Localizer, s::thread::kPoolCap)

 public:
  Localizer();
  ~Localizer() override;
  Localizer(const Localizer&) = delete;
  Localizer& operator=(const Localizer&) = delete;

  // A new table (owned by the caller) filled from the table compiled into
  // the program, with the user's interface language selected
  // (selectLanguage(systemLanguageName())). Null only when memory is
  // exhausted. Main thread, at start-up.
  static Localizer* createFromResource();

  // Replaces the languages with those of the parsed document `root`
  // (listeners stay registered; no language is current afterwards). A
  // document without a language list or an entry list gives an empty table
  // or languages without texts. Unlisted language tags and text placed
  // directly in an entry are ignored.
  void load(const s::xml::IXml& root);

  std::uint32_t languageCount() const { return languages_.length(); }
  // Language `index` (owned by the table); null when out of range.
  LangPack* languageAt(std::uint32_t index) const { return languages_.getAs<LangPack>(index); }

  // The first language whose tag equals `tag`; null when none does.
  LangPack* findByTag(const char16_t* tag) const;

  // The first language whose English name equals `name`; otherwise, for a
  // name beginning with "Chinese" the Chinese_Simplified language (else
  // Chinese_Traditional), with "Portuguese" Portuguese_Brazilian (else
  // Portuguese_Portugal), with "Serbian" Serbian_Cyrillic (else
  // Serbian_Latin); null when nothing fits.
  LangPack* findLanguage(const char16_t* name) const;

  // Makes the language named `name` current (findLanguage, else English,
  // else the first language). With none current yet, the system's language
  // is chosen first, silently. Listeners are told only when the current
  // language changed. Does nothing on an empty table. Interface thread.
  void selectLanguage(const char16_t* name);

  // Makes language `index` current; listeners are told only when it
  // changed. An index out of range is ignored. Interface thread.
  void selectLanguageAt(std::uint32_t index);

  // The current language; when none is current yet, first chooses the
  // system's language, else the first one. Null only for an empty table.
  LangPack* currentLanguage();

  // The current language's text for entry `id` (choosing a language first
  // as currentLanguage does); "" when it has none. Never null; valid until
  // the table is reset or reloaded.
  const char16_t* text(std::int32_t id);

  // True when the current language has a non-empty text for entry 400200
  // (the version check runs only then).
  bool hasUpdateText();

  // Registers / unregisters a listener (not owned). A listener added twice
  // is told twice. Removing one that is not registered does nothing.
  void addListener(s::gui::IEventListener* listener);
  void removeListener(s::gui::IEventListener* listener);

  const char16_t* getClassName() const override { return u"s_lang_Localizer"; }
  // No languages, none current, no listeners.
  void reset() override;

 private:
  static constexpr std::int32_t kUpdateTextId = 400200;

  void loadLanguages(const s::xml::IXml& list);
  void loadEntry(const s::xml::IXml& entry);
  // The default choice: the system's language, else the first one.
  LangPack* defaultLanguage() const;
  void makeCurrent(LangPack* language);
  void notifyListeners();

  s::col::_array::ArrayP languages_;  // LangPack*, disposer: the LangPack pool
  LangPack* current_ = nullptr;
  s::col::_array::ArrayP listeners_;  // IEventListener*, not owned
};

}  // namespace s::lang
