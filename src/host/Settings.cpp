#include "host/Settings.h"

#include <cstdlib>

#ifndef KALDOR_SAMPLE_LIBRARY
#define KALDOR_SAMPLE_LIBRARY "samples/library/"
#endif
#ifndef KALDOR_VERSION
#define KALDOR_VERSION "0.0.0"
#endif

namespace host
{
const char* versionText()
{
    return KALDOR_VERSION;
}

namespace
{
Kdr_String asFolder(Kdr_String folder)
{
    for (char& c : folder)
        if (c == '\\')
            c = '/';
    if (!folder.empty() && folder.back() != '/')
        folder.push_back('/');
    return folder;
}
} // namespace
} // namespace host

Kdr_Settings gSettings;

Kdr_Settings::Kdr_Settings()
{
    const char* fromEnvironment = std::getenv("KALDOR_LIB");
    libDir_ = host::asFolder(fromEnvironment && *fromEnvironment ? Kdr_String(fromEnvironment)
                                                                 : Kdr_String(KALDOR_SAMPLE_LIBRARY));
    appDir_ = libDir_;
}

void Kdr_Settings::setLibDir(const Kdr_String& folder)
{
    libDir_ = host::asFolder(folder);
}

void Kdr_Settings::setAppDir(const Kdr_String& folder)
{
    appDir_ = host::asFolder(folder);
}
