#pragma once

#include <cstdint>

#include "base/IObject.h"
#include "col/_array/ArrayP.h"
#include "xml/AttrRecord.h"

namespace s::xml {

// The attribute list of one element: its attributes in document order, then
// the runs of its text (records with an empty name) in the order they
// appear. Owns its records: they come from, and go back to, the process-wide
// AttrFactory. Duplicate names are all kept; lookups find the first.
//
// Not pooled: it lives inside its Node. One thread at a time.
class Attributes : public virtual s::base::IObject {
 public:
  Attributes();
  ~Attributes() override;
  Attributes(const Attributes&) = delete;
  Attributes& operator=(const Attributes&) = delete;

  // Number of records (attributes and text runs).
  std::uint32_t count() const { return records_.length(); }

  // Record i, still owned by the list; null when i is not below count().
  const AttrRecord* get(std::uint32_t i) const { return records_.getAs<AttrRecord>(i); }

  // Appends a record holding copies of `nameLength` units of `name` and
  // `valueLength` units of `value` (texts stored as given: the caller
  // encodes). An empty name makes a text record. False, with nothing
  // added, when memory is exhausted.
  bool add(const char16_t* name, std::uint32_t nameLength, const char16_t* value,
           std::uint32_t valueLength);

  // The first record whose name equals `name` (length units, -1: to its
  // zero; null: the empty name) ignoring the case of ASCII letters; null when
  // there is none. The empty name finds the first text record.
  const AttrRecord* find(const char16_t* name, std::int32_t length = -1) const;

  // Gives every record back to the AttrFactory and frees the list storage.
  void clear();

  const char16_t* getClassName() const override { return u"s_xml_Attributes"; }
  // A new, empty list (allocated; end it with delete).
  s::base::IObject* newInstance() override { return new Attributes(); }

 private:
  s::col::_array::ArrayP records_;
};

}  // namespace s::xml
