#pragma once

#include "col/_array/ArrayP.h"

namespace s::xml {

class Node;

// Reads one element, with everything inside it, from the units [begin, end)
// into a fresh Node. Used by Node::parse.
//
// The reading rules (whitespace: space, tab, LF, CR):
// - The element starts at the first '<'; whitespace after it is skipped.
// - "<!": a comment; the name is the three units from '!', and reading goes
//   on after the next "-->".
// - Otherwise the name runs to whitespace, '/' or '>'. Attributes follow:
//   a name runs to '=' or a space; the value is what lies between the next
//   two double quotes (single quotes do not delimit). The start tag ends at
//   '>' or, for an empty element, at "/" (reading goes on after the next '>').
// - Content: each run of text up to the next '<' (leading whitespace
//   dropped) becomes a text record; each '<' not followed by '/' starts a
//   child (comments are dropped); "</" ends the element at the next '>'
//   (the end tag's name is not compared).
//
// Nothing is read at or beyond `end`, whatever the input: a document cut off
// anywhere leaves what was read so far (an unterminated attribute value or
// comment is dropped) and reading returns `end`. Nesting depth is limited
// only by memory (no recursion). One Reader per read; not shared.
class Reader {
 public:
  Reader(const char16_t* begin, const char16_t* end) : p_(begin), end_(end) {}
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  // Reads the element into `root`; returns the position after it (or end).
  const char16_t* read(Node& root);

 private:
  // Reads up to and including the start tag (and the text run after it).
  // True when the element has content to read (it ended with '>').
  bool openElement(Node& node);
  // Reads the content of the innermost open element up to its next child or
  // end tag. False when reading must stop (the text ended, memory ran out).
  bool readContentStep();
  void readComment(Node& node);
  void readName(Node& node);
  void readAttributes(Node& node);
  // Reads one attribute; false when the start tag ends or the text runs out.
  bool readAttribute(Node& node);
  void readTextRun(Node& node);
  void skipWhitespace();
  void skipTo(char16_t c);
  // Moves past the next `c` (or to the end).
  void skipPast(char16_t c);
  bool at(char16_t c) const { return p_ < end_ && *p_ == c; }

  const char16_t* p_;
  const char16_t* const end_;
  s::col::_array::ArrayP open_;  // elements whose end tag is still to come
};

}  // namespace s::xml
