#pragma once

#include "host/FileFunctions.h"
#include "host/Settings.h"
#include "host/TempFolder.h"

#include <cstdlib>
#include <optional>
#include <string>

/// Points the application folder at a fresh temporary folder for one test and restores it.
class AppFolderScope
{
public:
    AppFolderScope() : previous_(gSettings.appDir()) { gSettings.setAppDir(folder_.path("app")); }
    ~AppFolderScope() { gSettings.setAppDir(previous_); }
    AppFolderScope(const AppFolderScope&) = delete;
    AppFolderScope& operator=(const AppFolderScope&) = delete;

    const TempFolder& folder() const { return folder_; }
    std::string app(const std::string& name = "") const { return folder_.path("app/" + name); }

private:
    TempFolder folder_;
    Kdr_String previous_;
};

/// Sets an environment variable (or removes it, with nullopt) for one test and restores it.
class EnvironmentScope
{
public:
    EnvironmentScope(const char* name, std::optional<std::string> value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            previous_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~EnvironmentScope()
    {
        if (previous_)
            ::setenv(name_.c_str(), previous_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

/// Makes every atomic write fail while it lives.
struct WriteFailureScope
{
    WriteFailureScope() { host::setWriteFailureForTesting(true); }
    ~WriteFailureScope() { host::setWriteFailureForTesting(false); }
};
