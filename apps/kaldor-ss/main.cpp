// Placeholder main job until the evaluation pipeline lands: prints the host's version and
// library folder.
#include "host/Settings.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0)
    {
        std::printf("kaldor-ss %s\n", host::versionText());
        return 0;
    }
    std::printf("kaldor-ss %s\nlibrary folder: %s\n", host::versionText(), gSettings.libDir().c_str());
    return 0;
}
