# Shared build settings and helpers for every folder.

# The shared/ folder (test data) sits beside the checkout; a work tree one
# level deeper finds it one folder further up.
if(NOT LUMORA_SHARED_DIR)
  foreach(candidate ${PROJECT_SOURCE_DIR}/../shared ${PROJECT_SOURCE_DIR}/../../shared)
    if(EXISTS ${candidate}/testdata)
      get_filename_component(LUMORA_SHARED_DIR ${candidate} ABSOLUTE)
      break()
    endif()
  endforeach()
  set(LUMORA_SHARED_DIR "${LUMORA_SHARED_DIR}" CACHE PATH "The shared/ folder with test data")
endif()

add_library(lumora_options INTERFACE)
target_include_directories(lumora_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(lumora_options INTERFACE -Wall -Wextra -Wpedantic $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>
  -Wno-missing-field-initializers $<$<BOOL:${LUMORA_WERROR}>:-Werror>)
if(LUMORA_SANITIZE)
  target_compile_options(lumora_options INTERFACE -fsanitize=${LUMORA_SANITIZE} -fno-omit-frame-pointer
    -fno-sanitize-recover=all)
  target_link_options(lumora_options INTERFACE -fsanitize=${LUMORA_SANITIZE})
endif()
# Fuzzing: every library gets coverage instrumentation and address and
# undefined-behaviour checks; the fuzz targets add libFuzzer's main.
if(LUMORA_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  target_compile_options(lumora_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
    -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(lumora_options INTERFACE -fsanitize=address,undefined)
endif()

# Turns on Qt's code generators for a target that links Qt (or a *_qt library).
function(lumora_qt_target name deps)
  if("${deps}" MATCHES "Qt6::|_qt|lumora_ui|lumora_res")
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON AUTOUIC OFF)
  endif()
endfunction()

# lumora_add_library(NAME DIR [DEPS ...])
# Builds every *.cpp directly in DIR into a static library NAME. A folder with
# no sources yet gives an interface library, so dependents still link.
function(lumora_add_library name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC lumora_options ${ARGN})
    lumora_qt_target(${name} "${ARGN}")
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE lumora_options ${ARGN})
  endif()
endfunction()

# lumora_add_test(NAME DIR [DEPS ...])
# One GoogleTest executable of every *.cpp in DIR, its cases registered with CTest.
# Tests that link Qt run inside a QApplication (tests/support/TestMain.cpp with LUMORA_TEST_QT).
function(lumora_add_test name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  # Without the Qt parts (-DLUMORA_BUILD_GUI=OFF) a group that needs them is skipped.
  if(NOT LUMORA_BUILD_GUI AND "${ARGN}" MATCHES "Qt6::|_qt|lumora_ui|lumora_res|lumora_app")
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE lumora_options GTest::gtest GTest::gmock ${ARGN})
  lumora_qt_target(${name} "${ARGN}")
  # Qt tests get a QApplication from their own main. Both mains set the test
  # environment (offscreen Qt, dummy sound, no browser sandbox) unless the
  # caller set it, so an executable run by hand behaves as under ctest.
  if("${ARGN}" MATCHES "Qt6::|_qt|lumora_ui|lumora_res")
    target_link_libraries(${name} PRIVATE lumora_test_main_qt)
  else()
    target_link_libraries(${name} PRIVATE lumora_test_main)
  endif()
  target_compile_definitions(${name} PRIVATE
    LUMORA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    LUMORA_BINARY_DIR="${PROJECT_BINARY_DIR}"
    LUMORA_SHARED_DIR="${LUMORA_SHARED_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
