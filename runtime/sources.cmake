# The runtime's files: those free of the platform (also built natively, under the
# sanitizers) and those over Windows.
set(RUNTIME_PORTABLE params.cpp random.cpp strings.cpp table.cpp text.cpp)
set(RUNTIME_WINDOWS heap.cpp program.cpp program_path.cpp system.cpp system_library.cpp timer.cpp)
