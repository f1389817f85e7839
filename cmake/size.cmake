# How the project's own code is compiled and linked for a small program file, in one
# place: every target of the program's code links zarn_size.
add_library(zarn_size INTERFACE)
# Optimised for size: a frame's time goes into DirectX, not into this code (in the
# benchmark the show's CPU time per frame stays within a few per cent of the reference
# loop's). Each function and object in a section of its own, so that the linker can
# drop what nothing calls.
target_compile_options(zarn_size INTERFACE -Os -ffunction-sections -fdata-sections)
target_link_options(zarn_size INTERFACE -Wl,--gc-sections)
# The 32-bit code needs no unwind tables: nothing throws (no exceptions), longjmp there
# restores registers without them, and a table entry would keep its function in the
# file even when nothing calls it. The 64-bit longjmp unwinds through them: kept there.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  target_compile_options(zarn_size INTERFACE -fno-asynchronous-unwind-tables -fno-unwind-tables)
endif()
