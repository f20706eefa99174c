# Shared build helpers: warnings, and adding every child folder that has its own CMakeLists.txt
# (so each subsystem folder owns its build file).

function(chat_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wimplicit-fallthrough -Wformat=2)
  if(CHAT_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

macro(chat_add_child_directories)
  file(GLOB _chat_children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT _chat_children)
  foreach(_child IN LISTS _chat_children)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${_child}
       AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_child}/CMakeLists.txt)
      add_subdirectory(${_child})
    endif()
  endforeach()
endmacro()

# chat_add_gtest(NAME n LABEL unit|integration|ui|e2e [QT_MAIN] SOURCES ... LIBS ...)
# QT_MAIN: the tests run inside a QApplication on the offscreen platform (tests/support); the
# linker takes that main before the one of gtest_main.
function(chat_add_gtest)
  cmake_parse_arguments(T "QT_MAIN" "NAME;LABEL" "SOURCES;LIBS" ${ARGN})
  if(T_QT_MAIN)
    list(APPEND T_SOURCES ${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  chat_warnings(${T_NAME})
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${T_LABEL} ENVIRONMENT "CHAT_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
endfunction()

# chat_add_program_e2e(NAME n SCRIPT s): an end-to-end test (label e2e) that runs the built chat
# program against the development server with the demo data; the script gets the program, the
# server, the platform-file tool and the demo configuration, and exits 77 to be skipped. Nothing
# is added unless the server and the tool are built.
function(chat_add_program_e2e)
  cmake_parse_arguments(T "" "NAME;SCRIPT" "" ${ARGN})
  if(NOT (TARGET chat-server AND TARGET make-platform-files))
    return()
  endif()
  add_test(NAME ${T_NAME}
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/${T_SCRIPT} $<TARGET_FILE:chat>
            $<TARGET_FILE:chat-server> $<TARGET_FILE:make-platform-files>
            ${PROJECT_SOURCE_DIR}/server/demo/demo.json)
  set_tests_properties(${T_NAME} PROPERTIES LABELS e2e TIMEOUT 120 SKIP_RETURN_CODE 77)
endfunction()
