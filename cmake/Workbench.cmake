# Shared helpers that keep every folder's CMakeLists a few lines long.
#
# The build stages the program folder in ${WB_STAGE_DIR}: programs at its top,
# every shared library and module in Libraries/, where they find each other
# through RUNPATH=$ORIGIN. The staged files are linked with that RUNPATH alone,
# never with the build folder's path, so the folder runs wherever it is moved
# or installed.

include_guard(GLOBAL)
include(GoogleTest)

set(WB_STAGE_DIR ${CMAKE_BINARY_DIR}/stage)
set(WB_LIBRARIES_DIR ${WB_STAGE_DIR}/Libraries)
file(MAKE_DIRECTORY ${WB_LIBRARIES_DIR} ${WB_STAGE_DIR}/Projects)

# Compiler settings every target of ours gets.
function(wb_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  set_target_properties(${target} PROPERTIES
    CXX_EXTENSIONS OFF
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    POSITION_INDEPENDENT_CODE ON)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(WB_SANITIZE)
    target_compile_options(${target} PRIVATE
      -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# The source folder's parent is the include root, so code includes
# "platform/exceptions.h", "linalg/vector.h" and so on.
function(wb_include_root target)
  target_include_directories(${target} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
endfunction()

# wb_shared_library(<target> [OUTPUT_NAME <name>] SOURCES ... [LINKS ...])
# A shared library staged in Libraries/.
function(wb_shared_library target)
  cmake_parse_arguments(ARG "" "OUTPUT_NAME" "SOURCES;LINKS" ${ARGN})
  add_library(${target} SHARED ${ARG_SOURCES})
  _wb_staged_library(${target} "${ARG_OUTPUT_NAME}" "${ARG_LINKS}")
endfunction()

# wb_module(<target> [OUTPUT_NAME <name>] SOURCES ... [LINKS ...])
# A module loaded at run time by name (method libraries, editors).
function(wb_module target)
  cmake_parse_arguments(ARG "" "OUTPUT_NAME" "SOURCES;LINKS" ${ARGN})
  add_library(${target} MODULE ${ARG_SOURCES})
  _wb_staged_library(${target} "${ARG_OUTPUT_NAME}" "${ARG_LINKS}")
endfunction()

function(_wb_staged_library target output_name links)
  wb_target_defaults(${target})
  wb_include_root(${target})
  if(output_name)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output_name})
  endif()
  set_target_properties(${target} PROPERTIES
    PREFIX "lib"
    LIBRARY_OUTPUT_DIRECTORY ${WB_LIBRARIES_DIR}
    BUILD_WITH_INSTALL_RPATH ON
    INSTALL_RPATH "$ORIGIN")
  target_link_options(${target} PRIVATE -Wl,--enable-new-dtags -Wl,--no-undefined)
  if(links)
    target_link_libraries(${target} PUBLIC ${links})
  endif()
endfunction()

# wb_static_library(<target> SOURCES ... [LINKS ...])
function(wb_static_library target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${target} STATIC ${ARG_SOURCES})
  wb_target_defaults(${target})
  wb_include_root(${target})
  if(ARG_LINKS)
    target_link_libraries(${target} PUBLIC ${ARG_LINKS})
  endif()
endfunction()

# wb_program(<target> SOURCES ... [LINKS ...]): an executable at the top of
# the staged program folder, finding its libraries in Libraries/.
function(wb_program target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  wb_target_defaults(${target})
  wb_include_root(${target})
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${WB_STAGE_DIR}
    BUILD_WITH_INSTALL_RPATH ON
    INSTALL_RPATH "$ORIGIN/Libraries")
  target_link_options(${target} PRIVATE -Wl,--enable-new-dtags)
  if(ARG_LINKS)
    target_link_libraries(${target} PRIVATE ${ARG_LINKS})
  endif()
endfunction()

# wb_test(<target> SOURCES ... [LINKS ...] [LABELS ...])
# A GoogleTest executable registered with CTest test by test. Tests run in
# their own build folder. WB_STAGE_DIR (the staged program folder, so a test
# can load libraries from Libraries/ as the program does) and WB_SOURCE_DIR
# are compiled in. scripts/test sets QT_QPA_PLATFORM=offscreen and the
# sanitizer options for the whole run.
function(wb_test target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS;LABELS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  wb_target_defaults(${target})
  wb_include_root(${target})
  target_link_libraries(${target} PRIVATE ${ARG_LINKS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE
    WB_STAGE_DIR="${WB_STAGE_DIR}"
    WB_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${target}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES LABELS "${ARG_LABELS}"
    DISCOVERY_TIMEOUT 60)
endfunction()
