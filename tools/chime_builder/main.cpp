// chime_builder FILE: writes the program's completion sound (a WAV file) to FILE.
#include <cstdio>

#include "tools/chime_builder/chime.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: chime_builder FILE.wav\n");
        return 2;
    }
    if (!chime::WriteWav(argv[1])) {
        std::fprintf(stderr, "chime_builder: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
