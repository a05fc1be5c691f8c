#include "xml/Reader.h"

#include <cstdint>

#include "xml/Attributes.h"
#include "xml/Node.h"

namespace s::xml {

namespace {

bool isWhitespace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

std::uint32_t span(const char16_t* from, const char16_t* to) {
  return static_cast<std::uint32_t>(to - from);
}

}  // namespace

const char16_t* Reader::read(Node& root) {
  if (!openElement(root)) return p_;
  if (!open_.add(&root)) return end_;
  while (open_.length() > 0) {
    if (!readContentStep()) return end_;
  }
  return p_;
}

bool Reader::readContentStep() {
  Node* node = open_.getAs<Node>(open_.length() - 1);
  if (p_ >= end_) return false;  // p_ is at '<' otherwise
  if (p_ + 1 < end_ && p_[1] == u'/') {
    skipPast(u'>');
    open_.dropLast(1);
    if (open_.length() > 0) readTextRun(*open_.getAs<Node>(open_.length() - 1));
    return true;
  }
  Node* child = Node::create();
  if (child == nullptr) return false;
  const bool hasContent = openElement(*child);
  if (child->isComment()) {
    child->release();
  } else if (!node->appendChild(child)) {
    return false;
  } else if (hasContent) {
    return open_.add(child);
  }
  readTextRun(*node);
  return true;
}

bool Reader::openElement(Node& node) {
  skipTo(u'<');
  if (p_ >= end_) return false;
  ++p_;
  skipWhitespace();
  if (at(u'!')) {
    readComment(node);
    return false;
  }
  readName(node);
  readAttributes(node);
  while (p_ < end_ && *p_ != u'>' && *p_ != u'/') ++p_;
  if (p_ >= end_) return false;
  if (*p_ == u'/') {
    skipPast(u'>');
    return false;
  }
  ++p_;
  readTextRun(node);
  return true;
}

void Reader::readComment(Node& node) {
  const std::uint32_t n = end_ - p_ < 3 ? span(p_, end_) : 3;
  node.setName(p_, static_cast<std::int32_t>(n));
  for (p_ += n; p_ < end_; ++p_) {
    if (end_ - p_ >= 3 && p_[0] == u'-' && p_[1] == u'-' && p_[2] == u'>') {
      p_ += 3;
      return;
    }
  }
}

void Reader::readName(Node& node) {
  const char16_t* start = p_;
  while (p_ < end_ && !isWhitespace(*p_) && *p_ != u'/' && *p_ != u'>') ++p_;
  node.setName(start, static_cast<std::int32_t>(span(start, p_)));
}

void Reader::readAttributes(Node& node) {
  while (readAttribute(node)) {
  }
}

bool Reader::readAttribute(Node& node) {
  if (p_ >= end_ || *p_ == u'>' || *p_ == u'/') return false;
  skipWhitespace();
  // A '/' after whitespace ends the tag too, so that <a x="1" /> is an
  // empty element rather than an attribute named "/".
  if (p_ >= end_ || *p_ == u'>' || *p_ == u'/') return false;
  const char16_t* name = p_;
  while (p_ < end_ && *p_ != u'=' && *p_ != u' ') ++p_;
  const char16_t* nameEnd = p_;
  if (p_ >= end_) return false;
  ++p_;
  skipTo(u'"');
  if (p_ >= end_) return false;
  const char16_t* value = ++p_;
  skipTo(u'"');
  if (p_ >= end_) return false;
  // A record without a name would read as element text: leave it out.
  if (nameEnd > name) node.getAttributes().add(name, span(name, nameEnd), value, span(value, p_));
  ++p_;
  return true;
}

void Reader::readTextRun(Node& node) {
  skipWhitespace();
  if (p_ >= end_ || *p_ == u'<') return;
  const char16_t* start = p_;
  skipTo(u'<');
  node.getAttributes().add(nullptr, 0, start, span(start, p_));
}

void Reader::skipWhitespace() {
  while (p_ < end_ && isWhitespace(*p_)) ++p_;
}

void Reader::skipTo(char16_t c) {
  while (p_ < end_ && *p_ != c) ++p_;
}

void Reader::skipPast(char16_t c) {
  skipTo(c);
  if (p_ < end_) ++p_;
}

}  // namespace s::xml
