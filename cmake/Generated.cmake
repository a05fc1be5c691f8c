# Sources generated at build time.
#
# The language table res/lang.xml is compiled into vonq_core as a byte array:
# build/<dir>/generated/lang/EmbeddedTable.cpp defines s::lang::embeddedTable()
# (src/lang/EmbeddedTable.h). It is rebuilt whenever res/lang.xml changes. A plain
# array needs no assembler directives or linker tricks, so the same rule serves the
# native and the mingw-w64 build.
#
# This file has two roles: included from the top-level CMakeLists.txt it sets up the
# rules; run as a script (cmake -DINPUT=... -DOUTPUT=... -P Generated.cmake) it writes
# the array source.

if(CMAKE_SCRIPT_MODE_FILE)
  # Script mode: INPUT (any file) -> OUTPUT (C++ source of a zero-terminated array).
  if(NOT DEFINED INPUT OR NOT DEFINED OUTPUT)
    message(FATAL_ERROR "Generated.cmake: pass -DINPUT=<file> -DOUTPUT=<source>")
  endif()
  file(READ "${INPUT}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  if(hex_length EQUAL 0)
    message(FATAL_ERROR "Generated.cmake: ${INPUT} is empty")
  endif()
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REPEAT "0x..," 16 row)
  string(REGEX REPLACE "(${row})" "\\1\n" bytes "${bytes}")  # 16 bytes a line
  get_filename_component(input_name "${INPUT}" NAME)
  set(source "// Generated from ${input_name} by cmake/Generated.cmake; do not edit.
#include \"lang/EmbeddedTable.h\"

namespace s::lang {

namespace {

// ${size} bytes of the table and one terminating zero.
const unsigned char kTable[${size} + 1] = {
${bytes}0x00};

}  // namespace

std::span<const unsigned char> embeddedTable() { return {kTable, ${size}}; }

}  // namespace s::lang
")
  file(WRITE "${OUTPUT}.tmp" "${source}")
  file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
  file(REMOVE "${OUTPUT}.tmp")
  return()
endif()

set(VONQ_LANG_XML ${CMAKE_SOURCE_DIR}/res/lang.xml)
set(VONQ_LANG_SOURCE ${CMAKE_BINARY_DIR}/generated/lang/EmbeddedTable.cpp)
add_custom_command(
  OUTPUT ${VONQ_LANG_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${VONQ_LANG_XML} -DOUTPUT=${VONQ_LANG_SOURCE}
          -P ${CMAKE_CURRENT_LIST_FILE}
  DEPENDS ${VONQ_LANG_XML} ${CMAKE_CURRENT_LIST_FILE}
  COMMENT "Embedding res/lang.xml"
  VERBATIM)
target_sources(vonq_core PRIVATE ${VONQ_LANG_SOURCE})

# On Windows the programs also carry the table as the resource IDR_XML (130,
# raw data), where the system's resource loader finds it. Resources must be
# linked into each program itself, so the top-level file adds
# VONQ_RESOURCE_SOURCES to the programs it makes.
if(WIN32)
  set(VONQ_LANG_RC ${CMAKE_BINARY_DIR}/generated/lang/LangTable.rc)
  file(CONFIGURE OUTPUT ${VONQ_LANG_RC}
       CONTENT "#define IDR_XML 130\nIDR_XML RCDATA \"${VONQ_LANG_XML}\"\n")
  set_source_files_properties(${VONQ_LANG_RC} PROPERTIES OBJECT_DEPENDS ${VONQ_LANG_XML})
  set(VONQ_RESOURCE_SOURCES ${VONQ_LANG_RC})
endif()

# res/lang.xml is generated from res/lang/*.txt and committed, so a build needs no Python.
# After editing the texts: cmake --build <dir> --target lang_xml (rewrites res/lang.xml).
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  add_custom_target(lang_xml
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/gen_lang.py
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    COMMENT "Regenerating res/lang.xml from res/lang/*.txt"
    VERBATIM)
  if(VONQ_BUILD_TESTS)
    # The generator and checker's own tests, including "res/lang.xml matches its sources".
    add_test(NAME lang_tools
             COMMAND ${Python3_EXECUTABLE} -m unittest tools/test_lang_tools.py
             WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
  endif()
endif()
