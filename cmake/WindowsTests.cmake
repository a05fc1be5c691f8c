# Test set-up of the Windows build, included from tests/CMakeLists.txt.
#
# GoogleTest is built from Debian's sources (package googletest) by the cross
# compiler, with the targets named as find_package(GTest) names them.
#
# Only the areas that make sense on Windows get a test program; sources that
# need Linux-only things (ntfs-3g scratch volumes, the SQLite store, /proc,
# POSIX processes) are left out here rather than hidden behind #if.

set(VONQ_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${VONQ_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(target gtest gtest_main gmock gmock_main)
  target_compile_options(${target} PRIVATE -Wno-error)
  if(NOT TARGET GTest::${target})
    add_library(GTest::${target} ALIAS ${target})
  endif()
endforeach()

set(VONQ_TEST_AREAS base col engine file lang map os str stress thread wiper xml)

# Cases written for Linux paths and permissions: '/' names and roots, names
# holding '\' and ':', symbolic links made with std::filesystem (Wine cannot
# make them), files made undeletable by taking write permission away, and the
# journal under XDG_STATE_HOME. tests/os/windows covers the Windows side.
set(VONQ_TEST_FILTER_file
    "-PathWin.SetNormalisesAndSplitsTheText:PathWin.MoveToNeverReplacesAnEntry:PathWin.ListingSkipsLinksAndFiltersKinds:PathWin.RemoveFallsBackThroughPermissionsAndFolderContents:PathWin.UnremovableEntryIsJournalledForTheNextStart:PathWin.RenameRandomlyKeepsTheShapeOfTheName:FileStreams.LinksAreNeverOpenedThrough")

# The cases on a real NTFS drive run inside wine_ntfs_drive, which maps one.
set(VONQ_TEST_FILTER_os "-WinNtfsDrive.*")

# Engine cases that make scratch NTFS volumes (mkntfs and ntfs-3g, which a
# Windows program cannot run) or an ext4 loop mount. The scratch volume of
# the Windows build is the NTFS drive wine_ntfs_drive maps; the cases that
# can run there run in that test (VONQ_ENGINE_ON_DRIVE), once.
set(VONQ_TEST_FILTER_engine
    "-Cancel.EachOperationEndsCleanlyThroughItsSkipFlagOrStop:EngineProbe.Ext4VolumeIsUnsupportedAndLeftAlone:EngineProbe.NtfsVolumeIsSupportedWithItsGeometry:EngineProbe.FatDrivesSkipTheNtfsOperations:EngineRun.RunsEnabledOperationsInOrderOneAtATime:FileEntriesWipe.CreatesFilesUntilNoFreedRecordIsLeftThenRemovesThem:FileEntriesWipe.UnreadableVolumeDoesNothingAndSaysWhy:FileEntriesWipe.PlantedFolderLinkIsNotFollowed:MftSpaceFill.FillsFreeRecordsWithTheDiskFullThenRemovesEverything:MftSpaceFill.PlantedLinksAreRemovedNotFollowed:EngineRun.WritingOperationsLeaveOnlyTheLiveFiles")
# Of those, the ones that need nothing but an NTFS drive of the default size.
# Left out there: the cases that read the raw image (it cannot be unmounted
# from Windows), that need another size or cluster size, that plant links
# (Wine cannot make them), and the two that compare snapshots of all live
# files (their hashes open names through the C runtime, which reads them in
# the ANSI code page, so a live file named "caf\xe9" cannot be hashed there).
set(VONQ_ENGINE_ON_DRIVE
    "EngineProbe.FatDrivesSkipTheNtfsOperations:EngineRun.WritingOperationsLeaveOnlyTheLiveFiles:FileEntriesWipe.UnreadableVolumeDoesNothingAndSaysWhy")

# Full paths matching this are not built on Windows: Linux-only platform
# tests and fixtures, and the engine tests of the freedesktop.org recycle
# bins, of other programs writing to a scratch volume during a run, and of
# the free-space fill (crashed child processes, several volume sizes).
set(VONQ_TESTS_LEFT_OUT
    "/tests/(os/linux/|support/ScratchNtfs[.]cpp|file/PathWinNtfsTest[.]cpp|wiper/WiperTest[.]cpp|engine/(TrashBin|Contention|FreeSpace|IndexSlack)Test[.]cpp)")

# The few POSIX calls the portable tests use (temporary folders, environment
# variables), given to every test source on Windows.
set(VONQ_TEST_PRELUDE ${CMAKE_SOURCE_DIR}/tests/support/windows/PosixShim.h)

# vonq-scrub.exe on a scratch NTFS image mapped to D: in the Wine prefix.
if(CMAKE_CROSSCOMPILING)
  add_test(NAME wine_ntfs_drive
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/os/windows/wine-ntfs-drive.sh
                   $<TARGET_FILE:vonq-scrub> ${CMAKE_SOURCE_DIR}/scripts/wine-run
                   ${CMAKE_BINARY_DIR}/wine-prefix ${CMAKE_BINARY_DIR}/wine-ntfs-drive
                   $<TARGET_FILE:test_os> "WinNtfsDrive.*"
                   $<TARGET_FILE:test_engine> "${VONQ_ENGINE_ON_DRIVE}")
  set_tests_properties(wine_ntfs_drive PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300 RUN_SERIAL TRUE
                                                  LABELS once)
  # Arguments with letters outside the ANSI code page reach the program.
  add_test(NAME wine_unicode_arguments
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/os/windows/wine-unicode-args.sh
                   $<TARGET_FILE:vonq-scrub> ${CMAKE_SOURCE_DIR}/scripts/wine-run
                   ${CMAKE_BINARY_DIR}/wine-prefix)
  set_tests_properties(wine_unicode_arguments PROPERTIES TIMEOUT 120)
endif()
