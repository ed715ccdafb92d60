// Prints its arguments one per line: the program the plugin-dialog tests run.
#include <cstdio>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        std::printf("%s\n", argv[i]);
    return 0;
}
