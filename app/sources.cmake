# The screensaver: its motion and switch reading, free of the platform, and its modes.
set(APP_PORTABLE app_state.cpp copies.cpp motion.cpp switch.cpp)
set(APP_WINDOWS config_dialog.cpp main.cpp settings.cpp show.cpp)
