#pragma once

#include "ui/ResourceModule.h"

/// Switches a module's resources in and the previous ones back.
///
/// The module keeps one of these for its whole life: SaveDefaultResource(instance) once at
/// load, then SetDefaultResource() at the start of every entry point and
/// RestoreOriginalResource() before every return. Switches nest: only the outermost
/// SetDefaultResource remembers what was current, and only the matching outermost
/// RestoreOriginalResource puts it back, so an entry point called from inside another one
/// does not hand the host's resources back too early.
///
/// Constructed with a module, the object is a scope guard: the module's resources are
/// current from construction and the previous ones again after destruction, on every path.
class ZxTempResourceOverride
{
public:
    ZxTempResourceOverride() = default;
    explicit ZxTempResourceOverride(HINSTANCE module);
    ~ZxTempResourceOverride();
    ZxTempResourceOverride(const ZxTempResourceOverride&) = delete;
    ZxTempResourceOverride& operator=(const ZxTempResourceOverride&) = delete;

    /// Remembers the module whose resources SetDefaultResource makes current.
    void SaveDefaultResource(HINSTANCE module) { module_ = module; }
    /// Makes the saved module's resources current. Does nothing before SaveDefaultResource.
    void SetDefaultResource();
    /// Undoes one SetDefaultResource; the outermost one restores what was current before.
    void RestoreOriginalResource();
    HINSTANCE GetDefaultResource() const { return module_; }
    /// How many SetDefaultResource calls are not yet undone.
    int depth() const { return depth_; }

private:
    HINSTANCE module_ = nullptr;
    HINSTANCE original_ = nullptr;
    int depth_ = 0;
};
