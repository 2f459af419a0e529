#include <host/Kdr_String.h>

#include <cstdio>

int main()
{
    Kdr_String text("ab");
    text.makeUpper();
    std::printf("%s\n", text.c_str());
    return text == "AB" ? 0 : 1;
}
