#pragma once

#include <cstdint>

#include "map/IMappedData.h"

namespace s::map {

// The typed value layer every settings store shares: the number and boolean
// getters and setters, the string-list stubs, the auto-flush switch and the
// flush that follows a change. A store derives from TypedMappedData<Store>
// and supplies two primitives, reached through a friend declaration:
//
//   template <class T> T readValue(const char16_t* group, const char16_t* name,
//                                  T defaultValue);
//     Selects the group (openGroup) and returns the stored value of kind T,
//     or `defaultValue` when the group or the value is missing or does not
//     fit T. Never throws; called on the store's one thread.
//
//   template <class T> bool writeValue(const char16_t* group, const char16_t* name,
//                                      T value);
//     Selects the group for writing, stores `value`, then returns
//     finishChange() of whether it was stored. Never throws; called on the
//     store's one thread.
//
// A store that declares further getValue/setValue overloads brings these in
// with `using`. The typed members are defined out of line: a store's source
// explicitly instantiates TypedMappedData<Store> (where its primitives are
// defined) and its header declares that instantiation extern.
template <class Store>
class TypedMappedData : public IMappedData {
 public:
  std::uint8_t getValue(const char16_t* group, const char16_t* name,
                        std::uint8_t defaultValue) override;
  std::uint16_t getValue(const char16_t* group, const char16_t* name,
                         std::uint16_t defaultValue) override;
  std::uint32_t getValue(const char16_t* group, const char16_t* name,
                         std::uint32_t defaultValue) override;
  std::uint64_t getValue(const char16_t* group, const char16_t* name,
                         std::uint64_t defaultValue) override;
  std::int8_t getValue(const char16_t* group, const char16_t* name,
                       std::int8_t defaultValue) override;
  std::int16_t getValue(const char16_t* group, const char16_t* name,
                        std::int16_t defaultValue) override;
  std::int32_t getValue(const char16_t* group, const char16_t* name,
                        std::int32_t defaultValue) override;
  std::int64_t getValue(const char16_t* group, const char16_t* name,
                        std::int64_t defaultValue) override;
  float getValue(const char16_t* group, const char16_t* name, float defaultValue) override;
  double getValue(const char16_t* group, const char16_t* name, double defaultValue) override;
  bool getValue(const char16_t* group, const char16_t* name, bool defaultValue) override;
  bool getValue(const char16_t*, const char16_t*, s::str::strarray::StrArray&) override {
    return false;
  }

  bool setValue(const char16_t* group, const char16_t* name, std::uint8_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, std::uint16_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, std::uint32_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, std::uint64_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, std::int8_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, std::int16_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, std::int32_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, std::int64_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, float value) override;
  bool setValue(const char16_t* group, const char16_t* name, double value) override;
  bool setValue(const char16_t* group, const char16_t* name, bool value) override;
  bool setValue(const char16_t*, const char16_t*, const s::str::strarray::StrArray&) override {
    return false;
  }

  bool getAutoFlush() const override { return autoFlush_; }
  void setAutoFlush(bool autoFlush) override { autoFlush_ = autoFlush; }

 protected:
  // Ends a change: when `changed` and auto-flush is on, returns flush();
  // otherwise returns `changed`. Never throws; the store's one thread.
  bool finishChange(bool changed) {
    if (changed && autoFlush_) return flush();
    return changed;
  }

  bool autoFlush_ = true;

 private:
  Store& store() { return static_cast<Store&>(*this); }
};

template <class Store>
std::uint8_t TypedMappedData<Store>::getValue(const char16_t* group, const char16_t* name,
                                              std::uint8_t defaultValue) {
  return store().readValue(group, name, defaultValue);
}

template <class Store>
std::uint16_t TypedMappedData<Store>::getValue(const char16_t* group, const char16_t* name,
                                               std::uint16_t defaultValue) {
  return store().readValue(group, name, defaultValue);
}

template <class Store>
std::uint32_t TypedMappedData<Store>::getValue(const char16_t* group, const char16_t* name,
                                               std::uint32_t defaultValue) {
  return store().readValue(group, name, defaultValue);
}

template <class Store>
std::uint64_t TypedMappedData<Store>::getValue(const char16_t* group, const char16_t* name,
                                               std::uint64_t defaultValue) {
  return store().readValue(group, name, defaultValue);
}

template <class Store>
std::int8_t TypedMappedData<Store>::getValue(const char16_t* group, const char16_t* name,
                                             std::int8_t defaultValue) {
  return store().readValue(group, name, defaultValue);
}

template <class Store>
std::int16_t TypedMappedData<Store>::getValue(const char16_t* group, const char16_t* name,
                                              std::int16_t defaultValue) {
  return store().readValue(group, name, defaultValue);
}

template <class Store>
std::int32_t TypedMappedData<Store>::getValue(const char16_t* group, const char16_t* name,
                                              std::int32_t defaultValue) {
  return store().readValue(group, name, defaultValue);
}

template <class Store>
std::int64_t TypedMappedData<Store>::getValue(const char16_t* group, const char16_t* name,
                                              std::int64_t defaultValue) {
  return store().readValue(group, name, defaultValue);
}

template <class Store>
float TypedMappedData<Store>::getValue(const char16_t* group, const char16_t* name,
                                       float defaultValue) {
  return store().readValue(group, name, defaultValue);
}

template <class Store>
double TypedMappedData<Store>::getValue(const char16_t* group, const char16_t* name,
                                        double defaultValue) {
  return store().readValue(group, name, defaultValue);
}

template <class Store>
bool TypedMappedData<Store>::getValue(const char16_t* group, const char16_t* name,
                                      bool defaultValue) {
  return store().readValue(group, name, defaultValue);
}

template <class Store>
bool TypedMappedData<Store>::setValue(const char16_t* group, const char16_t* name,
                                      std::uint8_t value) {
  return store().writeValue(group, name, value);
}

template <class Store>
bool TypedMappedData<Store>::setValue(const char16_t* group, const char16_t* name,
                                      std::uint16_t value) {
  return store().writeValue(group, name, value);
}

template <class Store>
bool TypedMappedData<Store>::setValue(const char16_t* group, const char16_t* name,
                                      std::uint32_t value) {
  return store().writeValue(group, name, value);
}

template <class Store>
bool TypedMappedData<Store>::setValue(const char16_t* group, const char16_t* name,
                                      std::uint64_t value) {
  return store().writeValue(group, name, value);
}

template <class Store>
bool TypedMappedData<Store>::setValue(const char16_t* group, const char16_t* name,
                                      std::int8_t value) {
  return store().writeValue(group, name, value);
}

template <class Store>
bool TypedMappedData<Store>::setValue(const char16_t* group, const char16_t* name,
                                      std::int16_t value) {
  return store().writeValue(group, name, value);
}

template <class Store>
bool TypedMappedData<Store>::setValue(const char16_t* group, const char16_t* name,
                                      std::int32_t value) {
  return store().writeValue(group, name, value);
}

template <class Store>
bool TypedMappedData<Store>::setValue(const char16_t* group, const char16_t* name,
                                      std::int64_t value) {
  return store().writeValue(group, name, value);
}

template <class Store>
bool TypedMappedData<Store>::setValue(const char16_t* group, const char16_t* name, float value) {
  return store().writeValue(group, name, value);
}

template <class Store>
bool TypedMappedData<Store>::setValue(const char16_t* group, const char16_t* name, double value) {
  return store().writeValue(group, name, value);
}

template <class Store>
bool TypedMappedData<Store>::setValue(const char16_t* group, const char16_t* name, bool value) {
  return store().writeValue(group, name, value);
}

}  // namespace s::map
