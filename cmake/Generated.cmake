# Sources generated at build time.
#
# Files the programs carry inside them are compiled into vonq_core as byte arrays, each
# behind a function returning a std::span over its bytes:
#  - the language table res/lang.xml: build/<dir>/generated/lang/EmbeddedTable.cpp defines
#    s::lang::embeddedTable() (src/lang/EmbeddedTable.h);
#  - the program icon res/icons/vonq-<size>.png: build/<dir>/generated/app/ProgramIcon<size>.cpp
#    defines s::app::embedded::programIcon<size>(), which src/app/ProgramIcon.cpp looks up.
# Each is rebuilt whenever its input changes. A plain array needs no assembler directives or
# linker tricks, so the same rule serves the native and the mingw-w64 build.
#
# This file has two roles: included from the top-level CMakeLists.txt it sets up the
# rules; run as a script it writes one array source:
#   cmake -DINPUT=<file> -DOUTPUT=<source> -DNAMESPACE=<a::b> -DFUNCTION=<name>
#         [-DHEADER=<header declaring the function>] -P Generated.cmake

if(CMAKE_SCRIPT_MODE_FILE)
  # Script mode: INPUT (any non-empty file) -> OUTPUT (C++ source of a zero-terminated array
  # and `std::span<const unsigned char> NAMESPACE::FUNCTION()` returning it without the zero).
  foreach(arg INPUT OUTPUT NAMESPACE FUNCTION)
    if(NOT DEFINED ${arg} OR "${${arg}}" STREQUAL "")
      message(FATAL_ERROR "Generated.cmake: pass -DINPUT=<file> -DOUTPUT=<source> "
                          "-DNAMESPACE=<a::b> -DFUNCTION=<name> [-DHEADER=<header>]")
    endif()
  endforeach()
  if(NOT NAMESPACE MATCHES "^[A-Za-z_][A-Za-z0-9_]*(::[A-Za-z_][A-Za-z0-9_]*)*$")
    message(FATAL_ERROR "Generated.cmake: NAMESPACE '${NAMESPACE}' is not a C++ namespace name")
  endif()
  if(NOT FUNCTION MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
    message(FATAL_ERROR "Generated.cmake: FUNCTION '${FUNCTION}' is not a C++ identifier")
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
  if(DEFINED HEADER AND NOT HEADER STREQUAL "")
    set(include "#include \"${HEADER}\"")
    set(declaration "")
  else()
    # No header declares it: the source declares it itself, and the user repeats that.
    set(include "#include <span>")
    set(declaration "std::span<const unsigned char> ${FUNCTION}();\n\n")
  endif()
  set(source "// Generated from ${input_name} by cmake/Generated.cmake; do not edit.
${include}

namespace ${NAMESPACE} {

namespace {

// ${size} bytes of ${input_name} and one terminating zero.
const unsigned char kBytes[${size} + 1] = {
${bytes}0x00};

}  // namespace

${declaration}std::span<const unsigned char> ${FUNCTION}() { return {kBytes, ${size}}; }

}  // namespace ${NAMESPACE}
")
  file(WRITE "${OUTPUT}.tmp" "${source}")
  file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
  file(REMOVE "${OUTPUT}.tmp")
  return()
endif()

set(VONQ_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

# vonq_embed_file(<input> <output source> <namespace> <function> [<header>]): compiles
# <input> into vonq_core, returned by <namespace>::<function>().
function(vonq_embed_file input output namespace function)
  set(header_arg)
  if(ARGC GREATER 4)
    set(header_arg -DHEADER=${ARGV4})
  endif()
  file(RELATIVE_PATH input_name ${CMAKE_SOURCE_DIR} ${input})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DNAMESPACE=${namespace}
            -DFUNCTION=${function} ${header_arg} -P ${VONQ_EMBED_SCRIPT}
    DEPENDS ${input} ${VONQ_EMBED_SCRIPT}
    COMMENT "Embedding ${input_name}"
    VERBATIM)
  target_sources(vonq_core PRIVATE ${output})
endfunction()

set(VONQ_LANG_XML ${CMAKE_SOURCE_DIR}/res/lang.xml)
vonq_embed_file(${VONQ_LANG_XML} ${CMAKE_BINARY_DIR}/generated/lang/EmbeddedTable.cpp
                s::lang embeddedTable lang/EmbeddedTable.h)

# The program icon, one PNG a size; res/icons/ is made by tools/gen_icon.py.
set(VONQ_ICON_SIZES 16 32 48 64 128 256)
foreach(size ${VONQ_ICON_SIZES})
  vonq_embed_file(${CMAKE_SOURCE_DIR}/res/icons/vonq-${size}.png
                  ${CMAKE_BINARY_DIR}/generated/app/ProgramIcon${size}.cpp
                  s::app::embedded programIcon${size})
endforeach()

# On Windows the programs also carry the table as the resource IDR_XML (130,
# raw data), where the system's resource loader finds it, and the program icon
# (icon group 128, res/windows/vonq.rc from res/icons/vonq.ico). Resources must
# be linked into each program itself, so the top-level file adds
# VONQ_RESOURCE_SOURCES to the programs it makes.
if(WIN32)
  set(VONQ_LANG_RC ${CMAKE_BINARY_DIR}/generated/lang/LangTable.rc)
  file(CONFIGURE OUTPUT ${VONQ_LANG_RC}
       CONTENT "#define IDR_XML 130\nIDR_XML RCDATA \"${VONQ_LANG_XML}\"\n")
  set_source_files_properties(${VONQ_LANG_RC} PROPERTIES OBJECT_DEPENDS ${VONQ_LANG_XML})
  set(VONQ_PROGRAM_RC ${CMAKE_SOURCE_DIR}/res/windows/vonq.rc)
  set_source_files_properties(${VONQ_PROGRAM_RC} PROPERTIES OBJECT_DEPENDS
                              ${CMAKE_SOURCE_DIR}/res/icons/vonq.ico)
  set(VONQ_RESOURCE_SOURCES ${VONQ_LANG_RC} ${VONQ_PROGRAM_RC})
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
  # After changing tools/gen_icon.py: cmake --build <dir> --target program_icon (rewrites
  # res/icons/; like res/lang.xml, its output is committed).
  add_custom_target(program_icon
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/gen_icon.py
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    COMMENT "Redrawing the program icon in res/icons/"
    VERBATIM)
  if(VONQ_BUILD_TESTS)
    # The generator and checker's own tests, including "res/lang.xml matches its sources".
    add_test(NAME lang_tools
             COMMAND ${Python3_EXECUTABLE} -m unittest tools/test_lang_tools.py
             WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
  endif()
endif()
