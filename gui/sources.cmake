# Windows and gadgets: their arithmetic, free of the platform, and the USER32 layer.
set(GUI_PORTABLE placement.cpp)
set(GUI_WINDOWS event.cpp focus.cpp gadget.cpp trackbar.cpp window.cpp)
