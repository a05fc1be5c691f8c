#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::os {

// Registry value types, numbered as the registry numbers them.
struct RegType {
  static constexpr std::uint32_t kNone = 0;
  static constexpr std::uint32_t kSz = 1;        // UTF-16 text with its terminating zero
  static constexpr std::uint32_t kExpandSz = 2;  // the same, holding %NAME% references
  static constexpr std::uint32_t kBinary = 3;
  static constexpr std::uint32_t kDword = 4;  // 4 bytes, little-endian
  static constexpr std::uint32_t kMultiSz = 7;
};

// The predefined roots of the registry and the kernel-namespace prefix each
// one stands for.
struct RegRoot {
  static constexpr std::uint32_t kClassesRoot = 0x80000000u;
  static constexpr std::uint32_t kCurrentUser = 0x80000001u;
  static constexpr std::uint32_t kLocalMachine = 0x80000002u;
  static constexpr std::uint32_t kUsers = 0x80000003u;
  static constexpr std::uint32_t kCurrentConfig = 0x80000005u;

  // The root's name ("HKEY_CURRENT_USER", ...), or null for an unknown
  // constant. Any thread.
  static const char16_t* nameOf(std::uint32_t root);

  // The root's native prefix ("\Registry\Machine", ...; the current user's
  // is "\Registry\User\" + `userId`). Empty for an unknown constant. Any
  // thread.
  static std::u16string nativePrefixOf(std::uint32_t root, std::u16string_view userId);

  // The root whose name `text` starts with (ASCII letters matched ignoring
  // case) when the name is followed by a backslash; the name's length goes
  // to `nameLength`. 0 when no root name matches. Any thread.
  static std::uint32_t fromTextPrefix(std::u16string_view text, std::size_t& nameLength);
};

// The registry: a tree of keys, each holding named values of a registry type
// and a run of data bytes. Keys are named by native path: "\Registry" and the
// key names below it joined with single backslashes
// ("\Registry\User\S-1-22-1-1000\Software\Vonq"). Key and value names are
// matched ignoring the case of ASCII letters and keep the case they were
// created with; the empty value name is the key's default value.
//
// The keys named by the predefined roots' native prefixes (and their
// ancestors) always exist and cannot be deleted or renamed. A key name holds
// 1 to 255 units and no backslash; a value name at most 16383 units.
//
// A key is reached through a Key handle from openKey or createKey. A handle
// stays valid until closeKey; once its key is deleted (through any handle, or
// by another process), every operation on it fails. Handles are never reused
// for another key within one process.
//
// Every change is atomic and durable when it returns true: a crash of the
// process at any instant leaves each key and value as it was before or after
// the change, never in between. Failures return false / kNoKey / empty and
// change nothing. No operation throws. Every operation may be called from
// any thread.
//
// One process-wide instance serves the platform being built
// (registryStore()); a test may install another, or a wrapper that injects
// faults, with setRegistryStore().
class RegistryStore {
 public:
  using Key = std::uint64_t;
  static constexpr Key kNoKey = 0;

  virtual ~RegistryStore() = default;

  // A handle on the existing key at `nativePath`; kNoKey when there is none
  // or the store cannot be read. Never creates anything.
  virtual Key openKey(std::u16string_view nativePath) = 0;

  // A handle on the key at `nativePath`, created (with no values) when it
  // does not exist yet. Creates only the last component: kNoKey when the
  // parent key does not exist, the name is invalid or the store cannot be
  // written.
  virtual Key createKey(std::u16string_view nativePath) = 0;

  // Ends a handle (kNoKey is ignored). The key itself is not touched.
  virtual void closeKey(Key key) = 0;

  // Deletes the key with its values. False, deleting nothing, when the key
  // still has subkeys, is a predefined root's key, or no longer exists.
  // The handle stays to be closed.
  virtual bool deleteKey(Key key) = 0;

  // Gives the key a new last component; its values and subkeys move with it.
  // False when a sibling already has that name (ignoring case), the name is
  // invalid, or the key is a predefined root's key or no longer exists.
  virtual bool renameKey(Key key, std::u16string_view newName) = 0;

  // Makes every change to the key durable (changes already are once they
  // returned). False when the key no longer exists.
  virtual bool flushKey(Key key) = 0;

  // Replaces `out` with the names of the key's direct subkeys, ordered
  // ignoring the case of ASCII letters. False (with `out` empty) when the key
  // no longer exists or the store cannot be read.
  virtual bool listSubkeyNames(Key key, std::vector<std::u16string>& out) = 0;

  // Replaces `out` with the names of the key's values, in the order they
  // were first set. False (with `out` empty) as for listSubkeyNames.
  virtual bool listValueNames(Key key, std::vector<std::u16string>& out) = 0;

  // The value's type and data bytes (`data` replaced). False, leaving both
  // alone, when the key or the value does not exist.
  virtual bool queryValue(Key key, std::u16string_view name, std::uint32_t& type,
                          std::vector<std::uint8_t>& data) = 0;

  // Creates or replaces the value (its name keeps the case it was first set
  // with). `data` may be null when `size` is 0. False when the key no longer
  // exists, the name is too long or the store cannot be written.
  virtual bool setValue(Key key, std::u16string_view name, std::uint32_t type, const void* data,
                        std::size_t size) = 0;

  // Deletes the value. False when the key or the value does not exist.
  virtual bool deleteValue(Key key, std::u16string_view name) = 0;

  // The current user's security identifier as text ("S-1-5-21-...";
  // "S-1-22-1-<uid>" for a Unix user). Never empty: "Error" when it cannot
  // be had.
  virtual std::u16string currentUserId() = 0;

  // `text` with every %NAME% whose NAME is set in the process environment
  // replaced by its value; unknown names and lone '%' stay as they are. The
  // result has no length limit.
  virtual std::u16string expandEnvironment(std::u16string_view text) = 0;
};

// The process-wide RegistryStore. Never null. Any thread.
RegistryStore& registryStore();

// Installs `replacement` as the process-wide RegistryStore (null restores the
// platform's own) and returns the previous one. Meant for tests; call it while
// no other thread uses registryStore(), and keep `replacement` alive while
// it is installed.
RegistryStore* setRegistryStore(RegistryStore* replacement);

// The platform's own RegistryStore, whatever is installed: built on first
// use, never destroyed. On Linux an SQLite database under $XDG_CONFIG_HOME
// (default ~/.config): vonq/registry.sqlite3. Any thread.
RegistryStore& platformRegistryStore();

}  // namespace s::os
