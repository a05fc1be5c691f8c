#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "col/IteratorBase.h"
#include "col/_array/ArrayU32.h"

namespace {

using s::col::IteratorBase;
using s::col::_array::ArrayU32;

std::uint32_t valueOf(void* p) {
  return *static_cast<std::uint32_t*>(p);
}

// The value an iterator step returned, -1 for none.
std::int64_t stepValue(void* p) {
  return p == nullptr ? -1 : std::int64_t{valueOf(p)};
}

ArrayU32* makeArray(std::uint32_t n) {
  ArrayU32* a = ArrayU32::create();
  for (std::uint32_t i = 0; i < n; ++i) a->add(10 * i);
  return a;
}

TEST(ArrayIterator, EmptyArrayHasNothingEitherWay) {
  ArrayU32* a = makeArray(0);
  for (IteratorBase* it :
       {a->iterator(), a->iteratorAtEnd(), a->iteratorAt(3), a->iteratorFromEnd(1)}) {
    EXPECT_FALSE(it->hasNext());
    EXPECT_FALSE(it->hasPrevious());
    EXPECT_EQ(it->next(), nullptr);
    EXPECT_EQ(it->previous(), nullptr);
    it->release();
  }
  a->release();
}

TEST(ArrayIterator, WalksForwardAndBackwardToTheEnds) {
  ArrayU32* a = makeArray(4);
  IteratorBase* it = a->iterator();
  EXPECT_EQ(it->getIndex(), -1);
  std::vector<std::uint32_t> seen;
  while (it->hasNext()) seen.push_back(valueOf(it->next()));
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{0, 10, 20, 30}));
  EXPECT_EQ(it->next(), nullptr);  // no step past the last element
  EXPECT_EQ(it->getIndex(), 3);
  it->release();

  it = a->iteratorAtEnd();
  seen.clear();
  while (it->hasPrevious()) seen.push_back(valueOf(it->previous()));
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{30, 20, 10, 0}));
  EXPECT_EQ(it->previous(), nullptr);
  it->release();
  a->release();
}

TEST(ArrayIterator, StartingPointsAndSkipsAreClamped) {
  ArrayU32* a = makeArray(5);
  const struct {
    const char* what;
    IteratorBase* it;
    std::int64_t next;  // value next() returns, -1 for none
    std::int64_t previous;
  } cases[] = {
      {"at 2", a->iteratorAt(2), 20, 0},
      {"at 0", a->iteratorAt(0), 0, -1},
      {"at past end", a->iteratorAt(9), -1, 40},
      {"1 from end", a->iteratorFromEnd(1), -1, 40},
      {"5 from end", a->iteratorFromEnd(5), 20, 0},
      {"9 from end", a->iteratorFromEnd(9), 0, -1},
  };
  for (const auto& c : cases) {
    const std::int64_t index = c.it->getIndex();
    EXPECT_EQ(stepValue(c.it->next()), c.next) << c.what;
    c.it->setIndex(index);
    EXPECT_EQ(stepValue(c.it->previous()), c.previous) << c.what;
    c.it->release();
  }

  IteratorBase* it = a->iterator();
  it->skipForward(100);
  EXPECT_EQ(it->getIndex(), 5);
  it->skipBack(100);
  EXPECT_EQ(it->getIndex(), -1);
  it->release();
  a->release();
}

TEST(ArrayIterator, FollowsTheArrayWhenItShrinks) {
  ArrayU32* a = makeArray(5);
  IteratorBase* it = a->iteratorAtEnd();
  a->dropLast(4);
  EXPECT_EQ(stepValue(it->previous()), 0);  // never an element past the new end
  EXPECT_EQ(stepValue(it->previous()), -1);
  EXPECT_FALSE(it->hasNext());
  it->release();
  a->release();
}

}  // namespace
