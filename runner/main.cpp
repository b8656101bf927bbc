// The self-checking executable over the fixed registry.
#include "test_functions.hpp"
#include "test_runner.hpp"

int main(int argc, char** argv) { quor::runner::posixCallMainAndExit(argc, argv, quor::runner::test_functions); }
