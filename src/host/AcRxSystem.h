#pragma once

#include "host/ErrorStatus.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

/// The messages the CAD host sends to an application's entry point, and its answers.
namespace AcRx
{
enum AppMsgCode
{
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
    kCfgMsg = 6,
    kEndMsg = 7,
    kQuitMsg = 8,
    kSaveMsg = 9,
    kDependencyMsg = 10,
    kNoDependencyMsg = 11,
    kOleUnloadAppMsg = 12,
    kPreQuitMsg = 13,
    kInitDialogMsg = 14,
    kEndDialogMsg = 15,
};

enum AppRetCode
{
    kRetOK = 0,
    kRetError = 3,
};
} // namespace AcRx

/// An object of the host's run-time system, kept by name in the system registry.
class AcRxObject
{
public:
    virtual ~AcRxObject() = default;
};

/// The host's dynamic linker as far as an application asks it anything: the applications it
/// may unload (unlocked) and those that declared they work with several open drawings.
class AcRxDynamicLinker : public AcRxObject
{
public:
    static AcRxDynamicLinker* cast(AcRxObject* object) { return dynamic_cast<AcRxDynamicLinker*>(object); }

    bool unlockApplication(void* appId);
    bool registerAppMDIAware(void* appId);
    bool isUnlocked(void* appId) const { return unlocked_.contains(appId); }
    bool isMDIAware(void* appId) const { return mdiAware_.contains(appId); }
    void clear();

private:
    std::set<void*> unlocked_;
    std::set<void*> mdiAware_;
};

/// The host's command stack: commands by group. Nothing runs them here; the stack only keeps
/// what was registered so that the removal of a group can be seen.
class AcEdCommandStack : public AcRxObject
{
public:
    static AcEdCommandStack* cast(AcRxObject* object) { return dynamic_cast<AcEdCommandStack*>(object); }

    Acad::ErrorStatus addCommand(const char* groupName, const char* commandName);
    /// Removes a group with every command in it; eKeyNotFound when there is no such group.
    Acad::ErrorStatus removeGroup(const char* groupName);
    bool hasGroup(std::string_view groupName) const { return groups_.contains(std::string(groupName)); }
    std::vector<std::string> commands(std::string_view groupName) const;
    void clear() { groups_.clear(); }

private:
    std::map<std::string, std::vector<std::string>> groups_;
};

/// The host's system registry: run-time objects by name. It holds the dynamic linker under
/// "DynamicLinker" and the command stack under "ACAD_REGISTERED_COMMANDS", and keeps a log of
/// what applications asked of them ("at DynamicLinker", "unlockApplication", …) for tests.
class AcRxDictionary : public AcRxObject
{
public:
    AcRxDictionary();

    /// The object of that name, or null; the look-up is logged.
    AcRxObject* at(const char* key);
    /// The same look-up for the host's own use, not logged.
    AcRxObject* find(std::string_view key) const;
    const std::vector<std::string>& log() const { return log_; }
    void logCall(std::string entry) { log_.push_back(std::move(entry)); }
    /// Empties the log and puts the linker and the command stack back to their first state.
    void reset();

private:
    std::map<std::string, std::unique_ptr<AcRxObject>> objects_;
    std::vector<std::string> log_;
};

AcRxDictionary* acrxSysRegistry();
/// The registry's command stack, as the host's own modules reach it.
AcEdCommandStack* acedRegCmds();
