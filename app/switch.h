#pragma once
// Reading the screensaver switch from the command line and choosing the mode.

typedef enum ProgramMode {
    MODE_NONE,      // preview, password change or an unknown switch: end at once
    MODE_CONFIGURE, // no switch, or C
    MODE_SHOW,      // S
} ProgramMode;

// Reduces an upper-cased first parameter in place: every occurrence of its first
// character (the switch mark, whatever it is) is removed, ignoring case, and what
// remains is cut to one character. "/C:1234" gives "C", "//S" gives "S", "S" gives "".
void ReduceSwitch(char** switchText);
ProgramMode SelectMode(const char* reducedSwitch);
// The first parameter, upper-cased and reduced.
void ReadSwitch(char** switchText);
