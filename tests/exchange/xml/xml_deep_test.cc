// Nesting far deeper than a call stack allows: reading, searching, writing and freeing walk the
// tree without recursion. Each test runs on a thread with a small stack, where any walk that
// recursed once per level would overflow it.

#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>
#include <memory>
#include <string>

#include "exchange/xml/xml_document.h"
#include "exchange/xml/xml_iterator.h"

namespace {

constexpr int kDepth = 100'000;
constexpr size_t kSmallStack = 256 * 1024;

void RunOnSmallStack(std::function<void()> work) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, kSmallStack), 0);
  pthread_t thread;
  auto run = [](void* argument) -> void* {
    (*static_cast<std::function<void()>*>(argument))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, &work), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

std::string Repeat(std::string_view part, int times) {
  std::string out;
  out.reserve(part.size() * times);
  for (int i = 0; i < times; ++i) out += part;
  return out;
}

TEST(XmlDeep, ReadSearchWriteAndFreeAHundredThousandLevels) {
  RunOnSmallStack([] {
    const TXmlDocument document =
        TXmlDocument::New(Repeat("<a>", kDepth) + "x" + Repeat("</a>", kDepth));
    EXPECT_EQ(document.FindFirst("b"), nullptr);

    TXmlIteratorScan scan(document.Root());
    int found = 0;
    const TXmlNode* deepest = nullptr;
    for (const TXmlNode* node = scan.Find("a"); node; node = scan.Next()) {
      ++found;
      deepest = node;
    }
    EXPECT_EQ(found, kDepth);
    ASSERT_NE(deepest, nullptr);
    EXPECT_EQ(deepest->CData(), "x");

    EXPECT_EQ(document.Root().ToString(),
              Repeat("<a>\r\n", kDepth - 1) + "<a>x</a>\r\n" + Repeat("</a>\r\n", kDepth - 1));
  });
}

TEST(XmlDeep, TextEndingInsideAHundredThousandOpenLevels) {
  RunOnSmallStack([] {
    const TXmlDocument document = TXmlDocument::New(Repeat("<a>", kDepth));
    TXmlIteratorScan scan(document.Root());
    int found = 0;
    for (const TXmlNode* node = scan.Find("a"); node; node = scan.Next()) ++found;
    EXPECT_EQ(found, kDepth);
  });
}

TEST(XmlDeep, ErrorAtTheBottomDropsTheWholeTopLevelElement) {
  RunOnSmallStack([] {
    const TXmlDocument document =
        TXmlDocument::New("<z/>" + Repeat("<a>", kDepth) + "</b>" + Repeat("</a>", kDepth));
    ASSERT_NE(document.Root().oChild(), nullptr);
    EXPECT_EQ(document.Root().oChild()->oNext(), nullptr);
    EXPECT_EQ(document.FindFirst("a"), nullptr);
  });
}

TEST(XmlDeep, BuiltTreeIsWrittenAndFreed) {
  RunOnSmallStack([] {
    auto top = TXmlNode::New("", "n");
    TXmlNode* bottom = top.get();
    for (int i = 1; i < kDepth; ++i) bottom = bottom->AddBelow(TXmlNode::New("", "n"));
    EXPECT_EQ(top->ToString(),
              Repeat("<n>\r\n", kDepth - 1) + "<n/>\r\n" + Repeat("</n>\r\n", kDepth - 1));
  });
}

}  // namespace
