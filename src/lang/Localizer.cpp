#include "lang/Localizer.h"

#include "gui/IEventListener.h"
#include "lang/EmbeddedTable.h"
#include "lang/LangPack.h"
#include "lang/SystemLanguage.h"
#include "str/strbuffer/StrBuffer.h"
#include "xml/Node.h"

namespace s::lang {

using s::str::strbuffer::StrBuffer;
using s::xml::IXml;

namespace {

// True when the whole of `name` equals `text`, ignoring ASCII case.
bool sameName(const StrBuffer& name, const char16_t* text) {
  return name.regionEqualsIgnoreCase(0, text != nullptr ? text : u"", 0, -1);
}

// A pooled string given back at scope end.
class ScopedStr {
 public:
  ScopedStr() : str_(StrBuffer::create()) {}
  ~ScopedStr() {
    if (str_ != nullptr) str_->release();
  }
  ScopedStr(const ScopedStr&) = delete;
  ScopedStr& operator=(const ScopedStr&) = delete;
  bool ok() const { return str_ != nullptr; }
  StrBuffer& operator*() const { return *str_; }
  StrBuffer* operator->() const { return str_; }

 private:
  StrBuffer* str_;
};

// One variant family of findLanguage: a name that begins with `prefix`
// picks the language named `first`, else the one named `second`.
struct Variant {
  const char16_t* prefix;
  const char16_t* first;
  const char16_t* second;
};

constexpr Variant kVariants[] = {
    {u"Chinese", u"CHINESE_SIMPLIFIED", u"CHINESE_TRADITIONAL"},
    {u"Portuguese", u"PORTUGUESE_BRAZILIAN", u"PORTUGUESE_PORTUGAL"},
    {u"Serbian", u"SERBIAN_CYRILLIC", u"SERBIAN_LATIN"},
};

}  // namespace

Localizer::Localizer() {
  languages_.setDisposer(&LangPack::pool());
}

Localizer::~Localizer() {
  reset();
}

void Localizer::reset() {
  languages_.freeStorage();
  languages_.setDisposer(&LangPack::pool());
  current_ = nullptr;
  listeners_.freeStorage();
}

Localizer* Localizer::createFromResource() {
  s::xml::Node* root = s::xml::Node::create();
  Localizer* table = Localizer::create();
  if (root != nullptr && table != nullptr) {
    const auto bytes = embeddedTable();
    root->parseUtf8(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    table->load(*root);
    table->selectLanguage(systemLanguageName());
  }
  if (root != nullptr) root->release();
  return table;
}

// --- Loading

void Localizer::load(const IXml& root) {
  languages_.freeStorage();
  current_ = nullptr;
  const IXml* list = root.getChildByName(u"languages");
  if (list != nullptr) loadLanguages(*list);
  const IXml* entries = root.getChildByName(u"entries");
  if (entries == nullptr) return;
  for (std::uint32_t i = 0; i < entries->getChildCount(); ++i) {
    const IXml* entry = entries->getChild(i);
    if (entry->nameEquals(u"entry")) loadEntry(*entry);
  }
}

void Localizer::loadLanguages(const IXml& list) {
  ScopedStr tag, engName, trueName;
  if (!tag.ok() || !engName.ok() || !trueName.ok()) return;
  for (std::uint32_t i = 0; i < list.getChildCount(); ++i) {
    const IXml* entry = list.getChild(i);
    if (!entry->nameEquals(u"entry")) continue;
    LangPack* language = LangPack::create();
    if (language == nullptr) return;
    entry->getAttrText(*tag, u"tagName", u"", false);
    entry->getAttrText(*engName, u"engName", u"", false);
    entry->getAttrText(*trueName, u"trueName", u"", false);
    language->setNames(tag->getText(), engName->getText(), trueName->getText());
    if (!languages_.add(language)) language->release();
  }
}

void Localizer::loadEntry(const IXml& entry) {
  ScopedStr id, text, fallback;
  if (!id.ok() || !text.ok() || !fallback.ok()) return;
  entry.getAttrText(*id, u"id", u"", false);
  const char16_t first = id->charAt(0);
  const bool numeric = first >= u'0' && first <= u'9';
  const std::int32_t number = numeric ? id->parseS32() : 0;
  auto add = [&](LangPack& language, const StrBuffer& value) {
    if (numeric) {
      language.addText(number, value.getText(), static_cast<std::int32_t>(value.length()));
    } else {
      language.addKeyedText(id->getText(), value.getText());
    }
  };
  bool hasFallback = false;
  for (std::uint32_t i = 0; i < entry.getChildCount(); ++i) {
    const IXml* child = entry.getChild(i);
    LangPack* language = findByTag(child->getName());
    if (language == nullptr) continue;
    child->getAttrText(*text, u"", u"", false);
    add(*language, *text);
    if (i == 0) {
      fallback->set(*text);
      hasFallback = true;
    }
  }
  if (!hasFallback) return;
  for (std::uint32_t i = 0; i < languageCount(); ++i) {
    LangPack& language = *languageAt(i);
    if (numeric ? !language.hasId(number) : !language.hasKey(id->getText())) {
      add(language, *fallback);
    }
  }
}

// --- Lookup

LangPack* Localizer::findByTag(const char16_t* tag) const {
  if (tag == nullptr) return nullptr;
  for (std::uint32_t i = 0; i < languageCount(); ++i) {
    if (sameName(languageAt(i)->getTagName(), tag)) return languageAt(i);
  }
  return nullptr;
}

LangPack* Localizer::findLanguage(const char16_t* name) const {
  if (name == nullptr) return nullptr;
  auto byEngName = [this](const char16_t* wanted) -> LangPack* {
    for (std::uint32_t i = 0; i < languageCount(); ++i) {
      if (sameName(languageAt(i)->getEngName(), wanted)) return languageAt(i);
    }
    return nullptr;
  };
  if (LangPack* exact = byEngName(name)) return exact;
  ScopedStr probe;
  if (!probe.ok()) return nullptr;
  probe->set(name);
  for (const Variant& variant : kVariants) {
    if (!probe->startsWithIgnoreCase(variant.prefix)) continue;
    LangPack* found = byEngName(variant.first);
    return found != nullptr ? found : byEngName(variant.second);
  }
  return nullptr;
}

LangPack* Localizer::defaultLanguage() const {
  LangPack* system = findLanguage(systemLanguageName());
  return system != nullptr ? system : languageAt(0);
}

LangPack* Localizer::currentLanguage() {
  if (current_ == nullptr) current_ = defaultLanguage();
  return current_;
}

const char16_t* Localizer::text(std::int32_t id) {
  const LangPack* language = currentLanguage();
  const StrBuffer* found = language != nullptr ? language->findText(id) : nullptr;
  return found != nullptr ? found->getText() : u"";
}

bool Localizer::hasUpdateText() {
  const LangPack* language = currentLanguage();
  const StrBuffer* found = language != nullptr ? language->findText(kUpdateTextId) : nullptr;
  return found != nullptr && found->length() > 0;
}

// --- Selection

void Localizer::selectLanguage(const char16_t* name) {
  if (currentLanguage() == nullptr) return;
  if (sameName(current_->getEngName(), name)) return;
  LangPack* next = findLanguage(name);
  if (next == nullptr) next = findLanguage(u"English");
  if (next == nullptr) next = languageAt(0);
  makeCurrent(next);
}

void Localizer::selectLanguageAt(std::uint32_t index) {
  LangPack* next = languageAt(index);
  if (next != nullptr) makeCurrent(next);
}

void Localizer::makeCurrent(LangPack* language) {
  if (language == current_) return;
  current_ = language;
  notifyListeners();
}

void Localizer::notifyListeners() {
  // A snapshot, so that a listener may register or unregister while told.
  s::col::_array::ArrayP snapshot;
  if (!snapshot.append(listeners_.items(), listeners_.length())) return;
  for (std::uint32_t i = 0; i < snapshot.length(); ++i) {
    snapshot.getAs<s::gui::IEventListener>(i)->onEvent(this, 0);
  }
}

void Localizer::addListener(s::gui::IEventListener* listener) {
  if (listener != nullptr) listeners_.add(listener);
}

void Localizer::removeListener(s::gui::IEventListener* listener) {
  std::int64_t index = -1;
  if (listeners_.indexOf(listener, index)) listeners_.removeAt(static_cast<std::uint32_t>(index));
}

}  // namespace s::lang
