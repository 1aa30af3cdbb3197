// Entry point of the game.
#include <cstdio>

int main(int, char**) {
    std::fprintf(stderr, "Nookvale: the application is not assembled yet.\n");
    return 0;
}
