// The dialog test environment is the one of the basic-settings tests.
#include "../basic/env.cpp"
