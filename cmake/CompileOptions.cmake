# Warnings and sanitizers shared by every target of the project.
add_library(nookvale_options INTERFACE)
target_compile_options(nookvale_options INTERFACE -Wall -Wextra)
# g++ 12 reports libstdc++'s own string and vector copies as overlapping or out of bounds once
# they are inlined at -O2 and above ("a" + std::string, vector::insert of a short range): known
# false positives of that compiler, fixed in 13. The sanitizer builds check the real thing.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(nookvale_options INTERFACE
    $<$<NOT:$<CONFIG:Debug>>:-Wno-restrict -Wno-stringop-overflow -Wno-array-bounds>)
endif()

option(NOOKVALE_SANITIZE_THREAD "Build with the thread sanitizer (instead of the others)" OFF)
if(NOOKVALE_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOOKVALE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The fuzz targets need clang: configure with CC=clang CXX=clang++")
  endif()
  # Coverage for the fuzzing engine everywhere, the sanitizers as in the test builds, and
  # light optimisation: fast runs that still give readable stacks.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined -O1 -g)
  add_link_options(-fsanitize=address,undefined)
elseif(NOOKVALE_SANITIZE)
  # Applied globally so that every library, test and tool agrees on the runtime.
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# One static library per source folder, its sources found by folder so that a new file
# needs no edit here. A folder without sources yet becomes an interface library.
#   nookvale_library(name folder PUBLIC deps... PRIVATE deps...)
function(nookvale_library name dir)
  cmake_parse_arguments(ARG "" "" "PUBLIC;PRIVATE" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC nookvale_options ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE nookvale_options ${ARG_PUBLIC})
  endif()
endfunction()
