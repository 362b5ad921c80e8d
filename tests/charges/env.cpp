// The counter tests drive a dialog in-process and talk to a simulator on a pty.
#include "../basic/env.cpp"
#include "../config/program.cpp"
