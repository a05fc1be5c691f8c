#include "col/_array/Iterator.h"

#include <algorithm>

#include "col/_array/ArrayBase.h"

namespace s::col::_array {

std::int64_t Iterator::length() const {
  return array_ != nullptr ? array_->length() : 0;
}

void Iterator::open(ArrayBase* array, std::int64_t index) {
  array_ = array;
  setIndex(index);
}

void Iterator::setIndex(std::int64_t i) {
  index_ = std::clamp<std::int64_t>(i, -1, length());
}

std::int64_t Iterator::getIndex() const {
  return std::min(index_, length());
}

bool Iterator::hasNext() const {
  return getIndex() + 1 < length();
}

bool Iterator::hasPrevious() const {
  return getIndex() > 0;
}

void Iterator::skipForward(std::uint32_t n) {
  setIndex(getIndex() + n);
}

void Iterator::skipBack(std::uint32_t n) {
  setIndex(getIndex() - static_cast<std::int64_t>(n));
}

void* Iterator::next() {
  if (!hasNext()) return nullptr;
  index_ = getIndex() + 1;
  return array_->elementPointer(static_cast<std::uint32_t>(index_));
}

void* Iterator::previous() {
  if (!hasPrevious()) return nullptr;
  index_ = getIndex() - 1;
  return array_->elementPointer(static_cast<std::uint32_t>(index_));
}

void Iterator::reset() {
  array_ = nullptr;
  index_ = -1;
}

}  // namespace s::col::_array
