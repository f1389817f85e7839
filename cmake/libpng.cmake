# libpng from Debian's source package (fetched and checked by scripts/fetch-libpng.sh,
# kept out of the repository), compiled once per build tree into a static library,
# with zlib from Debian's mingw-w64 package.
set(ZARN_LIBPNG_SOURCE ${CMAKE_SOURCE_DIR}/build/third_party/libpng CACHE PATH "libpng source tree")
if(NOT EXISTS ${ZARN_LIBPNG_SOURCE}/png.h)
  execute_process(COMMAND ${CMAKE_SOURCE_DIR}/scripts/fetch-libpng.sh RESULT_VARIABLE fetched)
  if(NOT fetched EQUAL 0 OR NOT EXISTS ${ZARN_LIBPNG_SOURCE}/png.h)
    message(FATAL_ERROR "libpng's source is missing: run scripts/setup.sh, then scripts/fetch-libpng.sh")
  endif()
endif()

find_library(ZARN_ZLIB NAMES libz.a REQUIRED)
find_path(ZARN_ZLIB_INCLUDE zlib.h REQUIRED)

set(generated ${CMAKE_BINARY_DIR}/libpng)
configure_file(${ZARN_LIBPNG_SOURCE}/scripts/pnglibconf.h.prebuilt ${generated}/pnglibconf.h COPYONLY)

include(${CMAKE_CURRENT_LIST_DIR}/libpng_sources.cmake)
set(sources ${LIBPNG_SOURCE_NAMES})
list(TRANSFORM sources PREPEND ${ZARN_LIBPNG_SOURCE}/)
list(TRANSFORM sources APPEND .c)
add_library(zarn_png STATIC ${sources})
target_include_directories(zarn_png SYSTEM PUBLIC ${ZARN_LIBPNG_SOURCE} ${generated} ${ZARN_ZLIB_INCLUDE})
# Foreign code: its warnings are not ours to fix. Sections per function and object,
# so that the program's link keeps only what the decoder reaches.
target_compile_options(zarn_png PRIVATE -w -ffunction-sections -fdata-sections)
target_link_libraries(zarn_png PUBLIC ${ZARN_ZLIB})
