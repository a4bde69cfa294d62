// The component tests' entry. Started as "--child-sleep MS EXIT" the program is the child that
// the launcher tests start: it sleeps that long and exits with that code.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--child-sleep") == 0) {
    ::Sleep(static_cast<DWORD>(std::atoi(argv[2])));
    return std::atoi(argv[3]);
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
