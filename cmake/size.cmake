# How the project's own code is compiled and linked for a small program file, in one
# place: every target of the program's code links zarn_size.
add_library(zarn_size INTERFACE)
# Each function and object in a section of its own, so that the linker can drop what
# nothing calls.
target_compile_options(zarn_size INTERFACE -ffunction-sections -fdata-sections)
target_link_options(zarn_size INTERFACE -Wl,--gc-sections)
