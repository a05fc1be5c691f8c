#include "col/CollectionInputStream.h"

#include <algorithm>
#include <cstring>

#include "col/_array/ArrayBase.h"

namespace s::col {

void CollectionInputStream::open(const s::col::_array::ArrayBase* array) {
  array_ = array;
  position_ = 0;
}

std::uint64_t CollectionInputStream::size() const {
  return array_ != nullptr ? array_->byteSize() : 0;
}

bool CollectionInputStream::read(void* buffer, std::uint32_t count, std::uint32_t& outCount) {
  outCount = 0;
  const std::uint64_t end = size();
  if (buffer == nullptr || count == 0 || position_ >= end) return false;
  outCount = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, end - position_));
  std::memcpy(buffer, static_cast<const std::uint8_t*>(array_->data()) + position_, outCount);
  position_ += outCount;
  return true;
}

void CollectionInputStream::close() {
  array_ = nullptr;
  position_ = 0;
}

bool CollectionInputStream::moveTo(std::uint64_t position) {
  position_ = std::min(position, size());
  return position_ == position;
}

bool CollectionInputStream::seekToStart() {
  return moveTo(0);
}

bool CollectionInputStream::seekToEnd() {
  return moveTo(size());
}

bool CollectionInputStream::seek(std::uint64_t position) {
  return moveTo(position);
}

bool CollectionInputStream::seekFromEnd(std::uint64_t n) {
  const std::uint64_t end = size();
  if (n > end) {
    position_ = 0;
    return false;
  }
  return moveTo(end - n);
}

bool CollectionInputStream::forward(std::uint64_t n) {
  const std::uint64_t end = size();
  const std::uint64_t from = std::min(position_, end);
  return moveTo(n > end ? end + 1 : from + n);
}

bool CollectionInputStream::backward(std::uint64_t n) {
  const std::uint64_t from = std::min(position_, size());
  if (n > from) {
    position_ = 0;
    return false;
  }
  position_ = from - n;
  return true;
}

void CollectionInputStream::reset() {
  close();
}

}  // namespace s::col
