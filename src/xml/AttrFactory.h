#pragma once

#include <cstdint>

#include "thread/Factory.h"
#include "xml/AttrRecord.h"

namespace s::xml {

// The process-wide pool of attribute records (AttrRecord): new records are
// zero-filled C-heap blocks; a record given back has its two texts freed and
// is zero-filled again; a record destroyed has its texts and itself freed.
// Default caps (1000 records), size tracking off.
//
// Any thread may take and give back (the pool's own lock guards its list).
class AttrFactory : public s::thread::Factory {
 public:
  AttrFactory() = default;
  ~AttrFactory() override;

  // The one factory of the process, built on first use (safe when several
  // threads get there at once) and never deleted, so records can be given
  // back up to the very end of the process. Any thread.
  static AttrFactory& instance();

  // A zero-filled record from the pool, owned by the caller (give it back
  // with giveBack or destroy). Null only when memory is exhausted.
  AttrRecord* takeRecord() { return static_cast<AttrRecord*>(take()); }

  // Frees both texts of `record` and zero-fills it (the record itself is
  // kept). Null is ignored. Any thread.
  static void clearRecord(AttrRecord* record);

  const char16_t* getClassName() const override { return u"s_xml_AttrFactory"; }
  // A new, empty factory of its own (allocated; end it with delete).
  s::base::IObject* newInstance() override { return new AttrFactory(); }

  // A new zero-filled record; null when memory is exhausted.
  void* generate() override;
  std::uint32_t sizeOf(void*) override { return sizeof(AttrRecord); }
  void resetObject(void* object) override;
  void destroyObject(void** slot) override;
};

}  // namespace s::xml
