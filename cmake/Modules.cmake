# Helpers shared by the module folders.

# tavrin_module(NAME SOURCES... [DEPS libs...]): a static library of one subsystem,
# its headers included as "module/header.h" from src/.
function(tavrin_module name)
  cmake_parse_arguments(M "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${M_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${M_DEPS})
endfunction()

# tavrin_test(NAME [QT_APP] SOURCES... [DEPS libs...] [LABELS labels...]): one GoogleTest
# program; its cases are registered one by one with CTest when the tests run. QT_APP
# gives it a main() that creates the QApplication widget tests need.
function(tavrin_test name)
  cmake_parse_arguments(T "QT_APP" "" "SOURCES;DEPS;LABELS" ${ARGN})
  if(T_QT_APP)
    add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp)
    target_link_libraries(${name} PRIVATE ${T_DEPS} Qt6::Widgets Qt6::Test GTest::gtest GTest::gmock)
  else()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  # A cross build cannot list the cases here; its test programs run whole (scripts/test).
  if(NOT CMAKE_CROSSCOMPILING)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS "${T_LABELS}")
  endif()
endfunction()

# Adds every sub-folder of the current folder that has a CMakeLists.txt, so a new
# module only needs its own folder.
macro(tavrin_add_subfolders)
  file(GLOB _subs LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT _subs)
  foreach(_sub ${_subs})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${_sub} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_sub}/CMakeLists.txt)
      add_subdirectory(${_sub})
    endif()
  endforeach()
endmacro()

# tavrin_fuzz(NAME SOURCES... [DEPS libs...]): a libFuzzer target (fuzz builds only).
# Seeds for it go in a "seeds" folder beside its sources.
function(tavrin_fuzz name)
  cmake_parse_arguments(F "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_DEPS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/seeds)
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/seeds ${CMAKE_CURRENT_BINARY_DIR}/seeds SYMBOLIC)
  endif()
endfunction()
