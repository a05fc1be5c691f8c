#include <gtest/gtest.h>

#include <cstdlib>

#include "base/IComparator.h"
#include "base/IObject.h"
#include "cleaner/CleanerIObject.h"
#include "cleaner/CleanerRawObject.h"

namespace {

using s::base::IComparable;
using s::base::IObject;

// A class that keeps every default of the object model.
class Plain : public IObject {
 public:
  explicit Plain(int* destroyed = nullptr) : destroyed_(destroyed) {}
  ~Plain() override {
    if (destroyed_ != nullptr) ++*destroyed_;
  }
  const char16_t* getClassName() const override { return u"s_test_Plain"; }
  IObject* newInstance() override { return new Plain(); }

 private:
  int* destroyed_;
};

class Other : public Plain {
 public:
  const char16_t* getClassName() const override { return u"s_test_Other"; }
};

// Answers fixed values and remembers what it was asked about.
class FixedComparator : public s::base::IComparator {
 public:
  FixedComparator(int exact, int ignoringCase) : exact_(exact), ignoringCase_(ignoringCase) {}
  int compare(const void* a, const void* b) const override {
    lastA = a;
    lastB = b;
    return exact_;
  }
  int compareIgnoreCase(const void*, const void*) const override { return ignoringCase_; }

  mutable const void* lastA = nullptr;
  mutable const void* lastB = nullptr;

 private:
  int exact_;
  int ignoringCase_;
};

class ExactOnly : public s::base::IComparator {
 public:
  int compare(const void*, const void*) const override { return 1; }
};

TEST(ObjectModel, IdentityDecidesWithoutComparator) {
  Plain a, b;
  EXPECT_EQ(a.compareTo(&a), 0);
  EXPECT_TRUE(a.equals(&a));
  EXPECT_TRUE(a.equalsIgnoreCase(&a));
  EXPECT_FALSE(a.equals(&b));
  EXPECT_FALSE(a.equalsIgnoreCase(&b));
  // The order of two distinct objects is consistent both ways round.
  EXPECT_NE(a.compareTo(&b), 0);
  EXPECT_EQ(a.compareTo(&b), -b.compareTo(&a));
  EXPECT_EQ(a.compareToIgnoreCase(&b), a.compareTo(&b));
  // Null is lower than any object.
  EXPECT_EQ(a.compareTo(nullptr), 1);
  EXPECT_FALSE(a.equals(nullptr));
}

TEST(ObjectModel, ComparatorDecidesAlone) {
  Plain a, b;
  struct Case {
    int exact, ignoringCase;
    const IComparable* other;
    bool equals, equalsIgnoringCase;
  };
  const Case cases[] = {
      {0, 0, &b, true, true},    // distinct objects declared equal
      {1, 1, &a, false, false},  // the same object declared different
      {1, 0, &b, false, true},   // the case-blind answer is used for the IgnoreCase forms
      {0, -1, &a, true, false},
  };
  for (const Case& c : cases) {
    FixedComparator comparator(c.exact, c.ignoringCase);
    EXPECT_EQ(a.equals(c.other, &comparator), c.equals);
    EXPECT_EQ(a.equalsIgnoreCase(c.other, &comparator), c.equalsIgnoringCase);
    EXPECT_EQ(a.compareTo(c.other, &comparator), c.exact);
    EXPECT_EQ(a.compareToIgnoreCase(c.other, &comparator), c.ignoringCase);
    EXPECT_EQ(comparator.lastA, static_cast<const IComparable*>(&a));
    EXPECT_EQ(comparator.lastB, c.other);
  }
  ExactOnly exactOnly;  // without its own case-blind rule, compare() serves both
  EXPECT_EQ(a.compareToIgnoreCase(&a, &exactOnly), 1);
}

TEST(ObjectModel, HashIsOnePerClass) {
  Plain a, b;
  Other c;
  EXPECT_EQ(a.hashCode(), b.hashCode());
  EXPECT_EQ(a.hashCodeIgnoreCase(), a.hashCode());
  EXPECT_NE(a.hashCode(), c.hashCode());
}

TEST(Cleaners, CleanerIObjectDeletesOnceAndNullsTheSlot) {
  int destroyed = 0;
  IObject* object = new Plain(&destroyed);
  void* slot = object;
  s::cleaner::CleanerIObject::instance().destroy(&slot);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(slot, nullptr);

  s::cleaner::CleanerIObject::instance().destroy(&slot);  // empty slot: nothing happens
  s::cleaner::CleanerIObject::instance().destroy(nullptr);
  EXPECT_EQ(destroyed, 1);

  IObject* typed = new Plain(&destroyed);
  s::cleaner::CleanerIObject::instance().destroyPtr(typed);
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(typed, nullptr);
}

TEST(Cleaners, CleanerRawObjectFreesWithoutDestructor) {
  // The sanitizers report a mismatched or double free.
  void* slot = std::malloc(32);
  s::cleaner::CleanerRawObject::instance().destroy(&slot);
  EXPECT_EQ(slot, nullptr);
  s::cleaner::CleanerRawObject::instance().destroy(&slot);
  EXPECT_EQ(&s::cleaner::CleanerRawObject::instance(), &s::cleaner::CleanerRawObject::instance());
}

}  // namespace
