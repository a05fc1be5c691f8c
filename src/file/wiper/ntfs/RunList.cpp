#include "file/wiper/ntfs/RunList.h"

namespace s::file::wiper::ntfs {

namespace {

// The `bytes`-byte little-endian field at `at`, sign-extended when `signedValue`.
std::int64_t field(ByteSpan runs, std::size_t at, unsigned bytes, bool signedValue) {
  std::uint64_t v = 0;
  for (unsigned i = 0; i < bytes; ++i) v |= std::uint64_t{runs.u8(at + i)} << (8 * i);
  if (signedValue && bytes > 0 && bytes < 8 && ((v >> (8 * bytes - 1)) & 1) != 0) {
    v |= ~0ull << (8 * bytes);
  }
  return static_cast<std::int64_t>(v);
}

}  // namespace

bool RunList::decode(ByteSpan runs, std::uint64_t clusterCount, std::vector<Extent>& out) {
  out.clear();
  std::int64_t lcn = 0;
  std::uint64_t total = 0;
  std::size_t pos = 0;
  while (pos < runs.size() && runs.u8(pos) != 0) {
    const unsigned lengthBytes = runs.u8(pos) & 0x0F;
    const unsigned offsetBytes = runs.u8(pos) >> 4;
    if (lengthBytes == 0 || lengthBytes > 8 || offsetBytes > 8 ||
        !runs.holds(pos + 1, lengthBytes + offsetBytes)) {
      return false;
    }
    Extent e;
    e.clusters = static_cast<std::uint64_t>(field(runs, pos + 1, lengthBytes, false));
    e.sparse = offsetBytes == 0;
    if (!e.sparse) {
      lcn += field(runs, pos + 1 + lengthBytes, offsetBytes, true);
      e.lcn = static_cast<std::uint64_t>(lcn);
    }
    total += e.clusters;
    if (e.clusters == 0 || e.clusters > clusterCount || total > clusterCount ||
        (!e.sparse && (lcn < 0 || e.lcn >= clusterCount || e.clusters > clusterCount - e.lcn))) {
      return false;
    }
    out.push_back(e);
    pos += 1 + lengthBytes + offsetBytes;
  }
  return true;
}

}  // namespace s::file::wiper::ntfs
