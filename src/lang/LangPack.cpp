#include "lang/LangPack.h"

#include <atomic>

namespace s::lang {

namespace {

std::atomic<bool> legacyLetterForms{false};

constexpr char16_t kBarredL = u'\u019A';
constexpr char16_t kStrokedL = u'\u0142';

}  // namespace

LangPack::LangPack() {
  setKeyTextDisposers();
}

LangPack::~LangPack() {
  reset();
}

void LangPack::setKeyTextDisposers() {
  s::base::IDestructor* strings = &StrBuffer::pool();
  keyTexts_.setDisposers(nullptr, nullptr, strings, strings);
}

void LangPack::reset() {
  tagName_.reset();
  engName_.reset();
  trueName_.reset();
  ids_.reset();
  texts_.reset();
  keyTexts_.reset();  // gives the texts back; the keys belong to keys_
  keys_.reset();
  setKeyTextDisposers();
}

void LangPack::setLegacyLetterForms(bool on) {
  legacyLetterForms.store(on);
}

bool LangPack::usesLegacyLetterForms() {
  return legacyLetterForms.load();
}

void LangPack::setNames(const char16_t* tagName, const char16_t* engName,
                        const char16_t* trueName) {
  tagName_.set(tagName);
  engName_.set(engName);
  trueName_.set(trueName);
}

LangPack::StrBuffer* LangPack::copyText(const char16_t* text, std::int32_t length) const {
  StrBuffer* copy = StrBuffer::create();
  if (copy == nullptr) return nullptr;
  copy->append(text, length);
  if (usesLegacyLetterForms() && tagName_.view() == u"vec") {
    for (std::uint32_t i = 0; i < copy->length(); ++i) {
      if (copy->charAt(i) == kBarredL) *copy->charPtr(i) = kStrokedL;
    }
  }
  return copy;
}

bool LangPack::addText(std::int32_t id, const char16_t* text, std::int32_t length) {
  StrBuffer* copy = copyText(text, length);
  if (copy == nullptr) return false;
  if (!ids_.add(id)) {
    copy->release();
    return false;
  }
  if (texts_.add(copy)) return true;  // on failure texts_ gave the copy back
  ids_.dropLast(1);
  return false;
}

bool LangPack::addKeyedText(const char16_t* key, const char16_t* text) {
  if (hasKey(key)) return false;
  StrBuffer* textCopy = copyText(text, -1);
  if (textCopy == nullptr) return false;
  StrBuffer* keyCopy = StrBuffer::fromText(key);
  if (keyCopy == nullptr || !keys_.add(keyCopy)) {  // a refused key went back already
    textCopy->release();
    return false;
  }
  if (keyTexts_.put(keyCopy, textCopy)) return true;
  keys_.items().dropLast(1);  // gives the key back
  textCopy->release();
  return false;
}

bool LangPack::hasId(std::int32_t id) const {
  std::int64_t index = -1;
  return ids_.indexOf(id, index);
}

const LangPack::StrBuffer* LangPack::findText(std::int32_t id) const {
  std::int64_t index = -1;
  if (!ids_.indexOf(id, index)) return nullptr;
  return texts_.get(static_cast<std::uint32_t>(index));
}

const LangPack::StrBuffer* LangPack::findKeyedText(const char16_t* key) const {
  if (keyTexts_.size() == 0) return nullptr;
  StrBuffer* probe = StrBuffer::fromText(key);
  if (probe == nullptr) return nullptr;
  const auto* text = static_cast<const StrBuffer*>(keyTexts_.get(probe));
  probe->release();
  return text;
}

bool LangPack::hasKey(const char16_t* key) const {
  return findKeyedText(key) != nullptr;
}

}  // namespace s::lang
