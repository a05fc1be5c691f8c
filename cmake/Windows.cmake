# What the Windows build adds to the targets of the top-level CMakeLists.txt:
# the system libraries of the platform layer, the Unicode entry points, and
# Wine as the runner of the test programs when the build is a cross build.

target_compile_definitions(vonq_core PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                            _WIN32_WINNT=0x0601)
target_link_libraries(vonq_core PUBLIC shell32 advapi32 ole32 urlmon wininet)
# wint_t is 16 bits here, so range checks written for Linux's 32-bit wint_t
# are always true; that is harmless and not an error.
target_compile_options(vonq_core PUBLIC -Wno-type-limits)

if(CMAKE_CROSSCOMPILING)
  # Every program built here (tests, test discovery) runs under Wine, in a
  # prefix of its own inside the build folder.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run
                                    --prefix ${CMAKE_BINARY_DIR}/wine-prefix)
endif()
