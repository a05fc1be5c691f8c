#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace vonq::test {

// A scratch NTFS volume for one test: a sparse image file in a fresh
// temporary folder, formatted with mkntfs and mounted with ntfs-3g on a
// folder beside it. The destructor unmounts it (retrying while busy) and
// removes the folder, also when the test fails or throws; scratch volumes
// left by crashed runs (their process is gone) are cleaned when the next one
// is made. Needs root, /dev/fuse, mkntfs and ntfs-3g: check with capable()
// and VONQ_REQUIRE_CAPABILITY first.
class ScratchNtfs {
 public:
  struct Options {
    std::uint64_t sizeBytes = 64ull << 20;
    std::uint32_t clusterSize = 4096;
    std::uint32_t sectorSize = 512;
    std::string mountOptions;  // extra ntfs-3g -o options, comma-separated

    // The defaults with an image of `bytes`.
    static Options ofSize(std::uint64_t bytes) {
      Options options;
      options.sizeBytes = bytes;
      return options;
    }
  };

  // Whether scratch volumes can be made here; `reason` says why not.
  static bool capable(std::string& reason);

  // A path as the file system layer names it (bytes that are not UTF-8
  // become lone surrogates), so that any name the volume holds can be
  // asked about through s::os.
  static std::u16string nativePath(const std::string& bytes);

  ScratchNtfs();
  explicit ScratchNtfs(const Options& options);
  ~ScratchNtfs();
  ScratchNtfs(const ScratchNtfs&) = delete;
  ScratchNtfs& operator=(const ScratchNtfs&) = delete;

  // Whether the volume was made and mounted; error() tells what failed.
  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

  // The mount point, without a trailing '/'.
  const std::string& mountPoint() const { return mountPoint_; }
  // The mount point with a trailing '/', as the program names drive roots.
  std::u16string root() const;
  // mountPoint() + "/" + relative.
  std::string path(std::string_view relative) const;
  const std::string& imagePath() const { return image_; }

  bool mounted() const { return ntfs3gPid_ > 0; }
  // Mounts the image again; true when it is mounted afterwards.
  bool mount();
  // Unmounts, retrying while busy, and waits until ntfs-3g has written the
  // image and ended. True when it is unmounted afterwards.
  bool unmount();
  bool remount() { return unmount() && mount(); }

  // Unmounts, then reads the whole image into `out`.
  bool readImage(std::string& out);
  // Unmounts, then tells whether the image holds `marker` anywhere.
  bool imageContains(std::string_view marker);

  // Unmounts and removes scratch volumes whose process has ended.
  static void cleanStale();

 private:
  bool format(const Options& options);
  void fail(const std::string& what);

  Options options_;
  std::string folder_;
  std::string image_;
  std::string mountPoint_;
  std::string error_;
  pid_t ntfs3gPid_ = -1;
};

}  // namespace vonq::test
