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

if(WB_FUZZ)
  # The shared sanitizer runtime lives in clang's own folder.
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libclang_rt.asan-x86_64.so
    OUTPUT_VARIABLE asan_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(WB_SANITIZER_RUNTIME_DIR ${asan_runtime} DIRECTORY)
endif()

# Compiler settings every target of ours gets.
function(wb_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  set_target_properties(${target} PROPERTIES
    CXX_EXTENSIONS OFF
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    POSITION_INDEPENDENT_CODE ON)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(WB_SANITIZE OR WB_FUZZ)
    target_compile_options(${target} PRIVATE
      -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(WB_SANITIZE_THREAD)
    target_compile_options(${target} PRIVATE -fsanitize=thread)
    target_link_options(${target} PRIVATE -fsanitize=thread)
  endif()
  if(WB_FUZZ)
    # Coverage for the fuzzer in every library of ours; the sanitizer runtime
    # is shared so that our shared libraries and the harness use one copy.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
    target_link_options(${target} PRIVATE -shared-libsan "-Wl,-rpath,${WB_SANITIZER_RUNTIME_DIR}")
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

# The tests that run code on several threads, labelled "threads": the
# ThreadSanitizer pass of scripts/test builds only these.
add_custom_target(threaded_tests)

# wb_test(<target> SOURCES ... [LINKS ...] [LABELS ...])
# A GoogleTest executable registered with CTest test by test. Tests run in
# their own build folder. WB_STAGE_DIR (the staged program folder, so a test
# can load libraries from Libraries/ as the program does) and WB_SOURCE_DIR
# are compiled in. scripts/test sets QT_QPA_PLATFORM=offscreen and the
# sanitizer options for the whole run. The label "threads" also makes the
# target part of threaded_tests.
function(wb_test target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS;LABELS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  if(WB_FUZZ)
    # A fuzz build runs no tests; the target stays declared for the folder's
    # own settings but is not built.
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL ON)
    return()
  endif()
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
  if("threads" IN_LIST ARG_LABELS)
    add_dependencies(threaded_tests ${target})
  endif()
endfunction()

# wb_fuzzer(<target> SOURCES ... [LINKS ...] SEEDS <folder>)
# A harness around LLVMFuzzerTestOneInput. In a fuzz build (WB_FUZZ, clang) it
# is a libFuzzer program in ${CMAKE_BINARY_DIR}/fuzz, listed in fuzzers.txt
# with its seed folder for scripts/fuzz. In every other build it is linked
# with a replay main and its seeds run once as the CTest test <target>.seeds,
# so a harness never rots and its seeds stay accepted or cleanly refused.
function(wb_fuzzer target)
  cmake_parse_arguments(ARG "" "SEEDS" "SOURCES;LINKS" ${ARGN})
  if(NOT IS_ABSOLUTE "${ARG_SEEDS}")
    set(ARG_SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_SEEDS})
  endif()
  if(WB_FUZZ)
    add_executable(${target} ${ARG_SOURCES})
    # clang 14 names libstdc++ before the shared sanitizer runtime when it
    # links libFuzzer, and the runtime refuses to start unless it comes first:
    # leave the C++ library out of the driver's list and name it after.
    target_link_options(${target} PRIVATE -fsanitize=fuzzer -nostdlib++)
    target_link_libraries(${target} PRIVATE stdc++)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    set_property(GLOBAL APPEND PROPERTY WB_FUZZERS "${target} ${ARG_SEEDS}")
  else()
    add_executable(${target} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/fuzz_replay_main.cpp)
    add_test(NAME ${target}.seeds COMMAND ${target} ${ARG_SEEDS}
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  wb_target_defaults(${target})
  wb_include_root(${target})
  set_target_properties(${target} PROPERTIES BUILD_RPATH ${WB_LIBRARIES_DIR})
  target_link_libraries(${target} PRIVATE ${ARG_LINKS})
endfunction()

# Written once every folder has declared its harnesses (see the top level).
function(wb_write_fuzzer_list)
  get_property(fuzzers GLOBAL PROPERTY WB_FUZZERS)
  list(JOIN fuzzers "\n" text)
  file(WRITE ${CMAKE_BINARY_DIR}/fuzzers.txt "${text}\n")
endfunction()
