// Test-only driver that exposes the engine to outside checks.
#include <cstdio>

int main(int argc, char* argv[]) {
    std::fprintf(stderr, "usage: tam32-probe COMMAND ...\n");
    return 2;
}
