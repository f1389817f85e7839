# libpng from Debian's source package (fetched and checked by scripts/fetch-libpng.sh,
# kept out of the repository), compiled once per build tree into a static library
# with the options of cmake/libpng.dfa, over zlib from Debian's mingw-w64 package.
set(ZARN_LIBPNG_SOURCE ${CMAKE_SOURCE_DIR}/build/third_party/libpng CACHE PATH "libpng source tree")
include(${CMAKE_CURRENT_LIST_DIR}/libpng_library.cmake)
if(ZARN_LIBPNG_SOURCE STREQUAL ${CMAKE_SOURCE_DIR}/build/third_party/libpng)
  fetch_libpng(${CMAKE_SOURCE_DIR})
endif()

find_library(ZARN_ZLIB NAMES libz.a REQUIRED)
find_path(ZARN_ZLIB_INCLUDE zlib.h REQUIRED)

add_libpng_library(zarn_png ${ZARN_LIBPNG_SOURCE} ${ZARN_ZLIB_INCLUDE})
# Foreign code: its warnings are not ours to fix. Compiled for size, with sections per
# function and object so that the program's link keeps only what the decoder reaches.
target_compile_options(zarn_png PRIVATE -w -Os -ffunction-sections -fdata-sections)
# libpng formats only %s and %d: the C runtime's own printf does, where mingw's would
# add its whole formatting code to the program.
target_compile_definitions(zarn_png PRIVATE __USE_MINGW_ANSI_STDIO=0)
# No unwind tables in the 32-bit build, as for the program's code (cmake/size.cmake),
# and none from zlib either: Debian's libz.a comes with them, so the program links a
# copy without them (they would also keep alive whatever they point at).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  target_compile_options(zarn_png PRIVATE -fno-asynchronous-unwind-tables -fno-unwind-tables)
  set(zlib_copy ${CMAKE_BINARY_DIR}/zlib/libz.a)
  add_custom_command(OUTPUT ${zlib_copy}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/zlib
    COMMAND ${CMAKE_OBJCOPY} -R .eh_frame ${ZARN_ZLIB} ${zlib_copy}
    DEPENDS ${ZARN_ZLIB}
    COMMENT "Copying zlib without its unwind tables")
  add_custom_target(zarn_zlib_copy DEPENDS ${zlib_copy})
  add_dependencies(zarn_png zarn_zlib_copy)
  target_link_libraries(zarn_png PUBLIC ${zlib_copy})
else()
  target_link_libraries(zarn_png PUBLIC ${ZARN_ZLIB})
endif()
