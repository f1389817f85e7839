# The screen layers: pixel conversion and quad geometry, free of the platform, and
# DirectDraw, Direct3D and DirectInput.
set(SCREEN_PORTABLE pixels.cpp quad.cpp)
set(SCREEN_WINDOWS covers.cpp keyboard.cpp screen.cpp sprite3d.cpp sprites.cpp system_interface.cpp)
