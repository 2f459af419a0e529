#include "host/GlobalStr.h"

#include <unordered_map>

namespace
{
struct Blocks
{
    std::unordered_map<host::GlobalHandle, std::string> texts;
    host::GlobalHandle next = 1;
};

Blocks& blocks()
{
    static Blocks instance;
    return instance;
}
} // namespace

host::GlobalHandle setGlobalStr(const Kdr_String& text)
{
    Blocks& b = blocks();
    host::GlobalHandle handle = b.next++;
    if (handle == 0)
        handle = b.next++;
    b.texts.emplace(handle, text);
    return handle;
}

bool getGlobalStr(host::GlobalHandle handle, Kdr_String& text)
{
    Blocks& b = blocks();
    auto it = b.texts.find(handle);
    if (it == b.texts.end())
        return false;
    text = std::move(it->second);
    b.texts.erase(it);
    return true;
}

void freeGlobalStr(host::GlobalHandle handle)
{
    blocks().texts.erase(handle);
}

int globalStrCount()
{
    return static_cast<int>(blocks().texts.size());
}
