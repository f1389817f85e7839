# The preference file: its text, free of the platform, and the file itself.
set(PREFS_PORTABLE settings_text.cpp)
set(PREFS_WINDOWS prefs.cpp)
