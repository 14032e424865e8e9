# korvel_library(NAME FOLDER_SOURCES... LIBS ...)
# Builds one static library from the sources of the calling folder. Every file of the folder takes
# part unless it is excluded with EXCLUDE (a regular expression on the file name), so adding a
# source file needs no edit here.
function(korvel_library name)
  cmake_parse_arguments(ARG "" "EXCLUDE;ONLY" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(ARG_ONLY)
    list(FILTER sources INCLUDE REGEX "${ARG_ONLY}")
  endif()
  if(ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${ARG_EXCLUDE}")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# korvel_tests(FOLDER LIBS ... [GUI])
# One GoogleTest program per test folder; GUI programs run a QApplication, the others a
# QCoreApplication (see tests/support). The GUI main installs the design fonts, so GUI programs
# also link the controls library that holds them.
function(korvel_tests folder)
  cmake_parse_arguments(ARG "GUI" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h)
  if(NOT sources)
    return()
  endif()
  if(ARG_GUI)
    set(main support/GuiMain.cpp)
    list(APPEND ARG_LIBS korvel_controls)
  else()
    set(main support/CoreMain.cpp)
  endif()
  set(target test_${folder})
  add_executable(${target} ${sources} ${main} support/TestSupport.h support/TestSupport.cpp)
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest Qt6::Test)
  target_compile_definitions(${target} PRIVATE KORVEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# Sanitized builds, each in a build folder of its own (see the Makefile's sanitize and fuzz
# targets). KORVEL_SANITIZE builds the whole tree with AddressSanitizer and UndefinedBehaviorSanitizer;
# KORVEL_FUZZ (clang) adds libFuzzer's coverage to everything, for the targets in tests/fuzz. Any
# undefined behaviour stops the program, so that a test or the fuzzer sees it as a failure.
option(KORVEL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(KORVEL_FUZZ "Build the fuzz targets as libFuzzer programs (clang), sanitized" OFF)
if(KORVEL_SANITIZE OR KORVEL_FUZZ)
  set(sanitizers -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all)
  # The C library's checked functions would stand between AddressSanitizer and the calls it
  # watches.
  add_compile_options(${sanitizers} -fno-omit-frame-pointer -U_FORTIFY_SOURCE)
  add_link_options(${sanitizers})
endif()
if(KORVEL_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
