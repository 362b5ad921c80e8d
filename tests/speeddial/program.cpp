// The transfer test environment is the one of the configuration tests.
#include "../config/program.cpp"
