#pragma once

#include <cstdint>

#include "base/IObject.h"
#include "col/_array/ArrayS32.h"
#include "map/MapTable.h"
#include "str/strarray/StrArray.h"
#include "str/strbuffer/StrBuffer.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::lang {

// One language of the language table: its names (the short tag that names
// its texts in the document, the English name, the name in the language
// itself) and its texts, by numeric entry id or by string key.
//
// Pooled (cap 1000): LangPack::create() / release(); a Localizer owns the
// packs of its table. Filled once while the table loads, then only read;
// one thread at a time.
class LangPack : public virtual s::base::IObject, public virtual s::thread::IPoolable {
  VONQ_POOLED(LangPack, s::thread::kPoolCap)

 public:
  using StrBuffer = s::str::strbuffer::StrBuffer;

  LangPack();
  ~LangPack() override;
  LangPack(const LangPack&) = delete;
  LangPack& operator=(const LangPack&) = delete;

  // The names; empty until set.
  const StrBuffer& getTagName() const { return tagName_; }
  const StrBuffer& getEngName() const { return engName_; }
  const StrBuffer& getTrueName() const { return trueName_; }
  // Replaces the three names with copies of the given zero-terminated texts
  // (null: empty).
  void setNames(const char16_t* tagName, const char16_t* engName, const char16_t* trueName);

  // Appends the text for entry `id` (a copy of `length` units, -1: to its
  // zero), after any earlier text of the same id (lookups find the first).
  // In a pack tagged exactly "vec" on a system that needs it (see
  // setLegacyLetterForms), every U+019A becomes U+0142. False when memory is
  // exhausted (nothing added).
  bool addText(std::int32_t id, const char16_t* text, std::int32_t length = -1);
  // Adds the text for the string key `key` (both zero-terminated copies). A
  // key that is already present keeps its first text (false). Same letter
  // rule as addText.
  bool addKeyedText(const char16_t* key, const char16_t* text);

  // True when some text was added for `id` / for `key`.
  bool hasId(std::int32_t id) const;
  bool hasKey(const char16_t* key) const;
  // The first text added for `id` / the text of `key` (owned by the pack),
  // or null when there is none.
  const StrBuffer* findText(std::int32_t id) const;
  const StrBuffer* findKeyedText(const char16_t* key) const;

  // Numeric entries in the order they were added.
  std::uint32_t textCount() const { return ids_.length(); }
  std::int32_t idAt(std::uint32_t index) const { return ids_.get(index); }
  std::uint32_t keyCount() const { return keys_.length(); }

  // Whether texts of "vec" packs get U+019A replaced by U+0142, for systems
  // whose fonts lack the barred l (Windows before Vista). Off by default;
  // start-up sets it once, before the table is loaded. Any thread.
  static void setLegacyLetterForms(bool on);
  static bool usesLegacyLetterForms();

  const char16_t* getClassName() const override { return u"s_lang_LangPack"; }
  // Names emptied, every text and key given back, nothing left.
  void reset() override;

 private:
  // A new pooled copy of the text with the letter rule applied; null when
  // memory is exhausted.
  StrBuffer* copyText(const char16_t* text, std::int32_t length) const;
  void setKeyTextDisposers();

  StrBuffer tagName_;
  StrBuffer engName_;
  StrBuffer trueName_;
  s::col::_array::ArrayS32 ids_;      // numeric ids, in order
  s::str::strarray::StrArray texts_;  // the text of ids_[i] at i
  s::str::strarray::StrArray keys_;   // string keys, in order (own the keys)
  s::map::MapTable keyTexts_;         // key -> text (owns the texts)
};

}  // namespace s::lang
