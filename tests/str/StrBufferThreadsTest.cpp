#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "Owned.h"
#include "col/_array/ArrayU08.h"
#include "str/strarray/StrArray.h"

namespace {

using s::col::_array::ArrayU08;
using s::str::strarray::StrArray;
using s::str::strbuffer::StrBuffer;
using vonq::test::makeStr;
using vonq::test::Owned;
using vonq::test::Str;
using vonq::test::textOf;

// The process-wide parts behind strings (the pool, the common-word list,
// the locale's character set, number formatting) serve several threads at
// once; each thread works on strings of its own.
TEST(StrBufferThreads, SharedStateServesSeveralThreads) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 300;
  std::vector<int> failures(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &failures] {
      for (int i = 0; i < kRounds; ++i) {
        Str s = makeStr(u"The cat and the dog");
        Owned<StrArray> words(s->splitWords(true));
        s->setNumber(static_cast<std::int32_t>(t * 1000 + i));
        Owned<ArrayU08> bytes(ArrayU08::create());
        s->toOem(*bytes, false);
        Str back = makeStr();
        back->fromOem(static_cast<const char*>(bytes->data()), false,
                      static_cast<std::int32_t>(bytes->length()));
        if (words->length() != 2 || back->parseS32() != t * 1000 + i) ++failures[t];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
}

}  // namespace
