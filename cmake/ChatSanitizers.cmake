# Sanitizer and fuzzing builds change the flags of everything built, so that the core library,
# the tests and the fuzz targets agree.
if(CHAT_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "CHAT_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
  # The Qt fuzz targets (fuzz/qt) need the widgets; only they are built in such a tree.
  if(NOT CHAT_FUZZ_QT)
    set(CHAT_BUILD_UI OFF CACHE BOOL "" FORCE)
  endif()
elseif(CHAT_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()
