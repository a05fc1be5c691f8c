#include "os/RegistryStore.h"

#include <atomic>

#include "os/AsciiCase.h"

namespace s::os {

namespace {

std::atomic<RegistryStore*> installed{nullptr};

struct RootEntry {
  std::uint32_t root;
  const char16_t* name;
  const char16_t* prefix;  // the current user's gets its identifier appended
};

constexpr RootEntry kRoots[] = {
    {RegRoot::kClassesRoot, u"HKEY_CLASSES_ROOT", u"\\Registry\\Machine\\SOFTWARE\\Classes"},
    {RegRoot::kCurrentUser, u"HKEY_CURRENT_USER", u"\\Registry\\User\\"},
    {RegRoot::kLocalMachine, u"HKEY_LOCAL_MACHINE", u"\\Registry\\Machine"},
    {RegRoot::kUsers, u"HKEY_USERS", u"\\Registry\\User"},
    {RegRoot::kCurrentConfig, u"HKEY_CURRENT_CONFIG",
     u"\\Registry\\Machine\\System\\CurrentControlSet\\Hardware Profiles\\Current"},
};

const RootEntry* entryOf(std::uint32_t root) {
  for (const RootEntry& entry : kRoots) {
    if (entry.root == root) return &entry;
  }
  return nullptr;
}

}  // namespace

const char16_t* RegRoot::nameOf(std::uint32_t root) {
  const RootEntry* entry = entryOf(root);
  return entry != nullptr ? entry->name : nullptr;
}

std::u16string RegRoot::nativePrefixOf(std::uint32_t root, std::u16string_view userId) {
  const RootEntry* entry = entryOf(root);
  if (entry == nullptr) return {};
  std::u16string prefix = entry->prefix;
  if (root == kCurrentUser) prefix += userId;
  return prefix;
}

std::uint32_t RegRoot::fromTextPrefix(std::u16string_view text, std::size_t& nameLength) {
  for (const RootEntry& entry : kRoots) {
    const std::u16string_view name = entry.name;
    if (s::os::startsWithAsciiIgnoreCase(text, name) && text.size() > name.size() &&
        text[name.size()] == u'\\') {
      nameLength = name.size();
      return entry.root;
    }
  }
  return 0;
}

RegistryStore& registryStore() {
  RegistryStore* current = installed.load(std::memory_order_acquire);
  return current != nullptr ? *current : platformRegistryStore();
}

RegistryStore* setRegistryStore(RegistryStore* replacement) {
  RegistryStore* previous = installed.exchange(replacement, std::memory_order_acq_rel);
  return previous != nullptr ? previous : &platformRegistryStore();
}

}  // namespace s::os
