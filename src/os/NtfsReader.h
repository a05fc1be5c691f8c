#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "os/FsError.h"
#include "os/NtfsVolumeData.h"

namespace s::os {

// Reads NTFS volume data from the raw bytes of a volume, read-only: the boot
// sector, then MFT record 0 with its update sequence applied, then the sizes
// of the MFT's unnamed $DATA attribute and the free records its $BITMAP
// attribute shows. The bytes come through a ReadAt that each platform makes
// over its device or image (a file descriptor on Linux, the volume handle
// on Windows). No state; any thread.
class NtfsReader {
 public:
  // Fills `buffer` with the `size` bytes at `offset` of the volume. False
  // when they cannot all be read.
  using ReadAt = std::function<bool(std::uint8_t* buffer, std::size_t size, std::uint64_t offset)>;

  // Reads the volume behind `readAt`. False with NotSupported when it holds
  // no NTFS, Io when it is damaged or short. The record counts are left
  // unknown (mftRecordsCounted false) when the bitmap cannot be read whole.
  static bool read(const ReadAt& readAt, NtfsVolumeData& out, FsError& error);

  // Takes the geometry and the MFT's place from a 512-byte boot sector.
  // False when it is not an NTFS boot sector.
  static bool parseBootSector(const std::uint8_t* sector, NtfsVolumeData& out);

  // Applies the update sequence of a FILE record of `size` bytes in place.
  // False when the record's header or any sector's check value is wrong.
  static bool applyFixups(std::uint8_t* record, std::size_t size);

  // Finds the unnamed non-resident $DATA attribute of a fixed-up record and
  // takes its valid data and allocated lengths. False when there is none.
  static bool readDataSizes(const std::uint8_t* record, std::size_t size, NtfsVolumeData& out);

  // Counts the clear bits of the record bitmap held by the unnamed $BITMAP
  // attribute of a fixed-up record (resident, or in clusters read through
  // `readAt`), from record 64 on (ntfs-3g gives no file a lower one): among
  // the records of the MFT's allocation into mftFreeRecords, among those of
  // its initialised part into mftFreedRecords, and sets mftRecordsCounted.
  // False when there is no bitmap or it cannot be read whole; `volume` is
  // then left alone.
  static bool countFreeRecords(const ReadAt& readAt, const std::uint8_t* record, std::size_t size,
                               NtfsVolumeData& volume);
};

}  // namespace s::os
