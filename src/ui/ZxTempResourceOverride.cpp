#include "ui/ZxTempResourceOverride.h"

ZxTempResourceOverride::ZxTempResourceOverride(HINSTANCE module) : module_(module)
{
    SetDefaultResource();
}

ZxTempResourceOverride::~ZxTempResourceOverride()
{
    // A guard left switched (an early return, an exception) puts the resources back.
    while (depth_ > 0)
        RestoreOriginalResource();
}

void ZxTempResourceOverride::SetDefaultResource()
{
    if (module_ == nullptr)
        return;
    if (depth_++ == 0)
        original_ = AfxGetResourceHandle();
    AfxSetResourceHandle(module_);
}

void ZxTempResourceOverride::RestoreOriginalResource()
{
    if (depth_ == 0)
        return;
    if (--depth_ == 0)
        AfxSetResourceHandle(original_);
}
