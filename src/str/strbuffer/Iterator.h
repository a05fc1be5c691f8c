#pragma once

#include <cstdint>

#include "col/IteratorBase.h"
#include "thread/Pooled.h"

namespace s::str::strbuffer {

class StrBuffer;

// An iterator over the UTF-16 units of one string (StrBuffer::iterator()
// and its siblings hand them out). next() and previous() return pointers
// to units in the string's storage, valid until the string changes; the
// string must outlive the iterator. Reads the string live: its length is
// taken at every call. Pooled: release() when done. One thread at a time.
class Iterator : public s::col::IteratorBase {
  VONQ_POOLED(Iterator, s::thread::kPoolCap)

 public:
  Iterator() = default;

  // Points the iterator at `text` with the index `index` (clamped to
  // [-1, length]). Used by the string's factories.
  void attach(const StrBuffer* text, std::int64_t index);

  // The unit next() would return, without moving; 0 when there is none.
  char16_t peekNext() const;

  std::int64_t getIndex() const override { return index_; }
  void setIndex(std::int64_t i) override;
  bool hasNext() const override;
  bool hasPrevious() const override;
  void skipForward(std::uint32_t n) override;
  void skipBack(std::uint32_t n) override;
  void* next() override;
  void* previous() override;

  // No string, index -1.
  void reset() override;
  const char16_t* getClassName() const override { return u"s_str_strbuffer_Iterator"; }

 private:
  std::int64_t length() const;
  void* unitAt(std::int64_t i) const;

  const StrBuffer* text_ = nullptr;
  std::int64_t index_ = -1;
};

}  // namespace s::str::strbuffer
