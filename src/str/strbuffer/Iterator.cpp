#include "str/strbuffer/Iterator.h"

#include <algorithm>

#include "str/strbuffer/StrBuffer.h"

namespace s::str::strbuffer {

std::int64_t Iterator::length() const {
  return text_ != nullptr ? text_->length() : 0;
}

void* Iterator::unitAt(std::int64_t i) const {
  return const_cast<char16_t*>(text_->charPtr(static_cast<std::uint32_t>(i)));
}

void Iterator::attach(const StrBuffer* text, std::int64_t index) {
  text_ = text;
  setIndex(index);
}

void Iterator::setIndex(std::int64_t i) {
  index_ = std::clamp<std::int64_t>(i, -1, length());
}

bool Iterator::hasNext() const {
  return index_ + 1 < length();
}

bool Iterator::hasPrevious() const {
  return index_ > 0 && index_ - 1 < length();
}

void Iterator::skipForward(std::uint32_t n) {
  setIndex(index_ + n);
}

void Iterator::skipBack(std::uint32_t n) {
  setIndex(index_ - static_cast<std::int64_t>(n));
}

char16_t Iterator::peekNext() const {
  return hasNext() ? *static_cast<const char16_t*>(unitAt(index_ + 1)) : 0;
}

void* Iterator::next() {
  if (!hasNext()) return nullptr;
  return unitAt(++index_);
}

void* Iterator::previous() {
  if (!hasPrevious()) return nullptr;
  return unitAt(--index_);
}

void Iterator::reset() {
  text_ = nullptr;
  index_ = -1;
}

}  // namespace s::str::strbuffer
