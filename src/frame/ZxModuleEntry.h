#pragma once

#include "frame/ModuleResources.h"
#include "host/AcRxSystem.h"
#include "ui/AfxExtensionModule.h"

/// Reasons the library entry is called with.
inline constexpr unsigned long DLL_PROCESS_DETACH = 0;
inline constexpr unsigned long DLL_PROCESS_ATTACH = 1;

/// The library entry of the spreadsheet module; the loader passes the module's instance,
/// its resources (&moduleResources()). On attach the instance is kept, the module's
/// resource switch is pointed at it and the module's resources are linked into the search
/// chain; 0 (the library refuses to load, nothing is changed) when the extension module
/// cannot be initialised. On detach the resources are unlinked. Returns 1 otherwise.
int DllMain(HINSTANCE instance, unsigned long reason, void* reserved);

/// The application entry point the CAD host calls with its messages. Always kRetOK.
///
/// kInitAppMsg: the dynamic linker unlocks the application and registers it as working with
/// several drawings; the two shared bitmaps (8134 and 8136) are loaded. kUnloadAppMsg: the
/// command group "KALDOR_SS" is removed, every modeless macro dialog is closed and the
/// modeless rules editor destroyed. Other messages do nothing.
extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId);

/// The command group the module removes when it unloads.
inline constexpr const char* kModuleCommandGroup = "KALDOR_SS";

/// The module's instance as attached; null before the first attach.
HINSTANCE moduleInstance();

/// The shared check-box bitmaps (8134 off, 8136 on), loaded at application initialisation.
extern CBitmap gBitmapCheckOff;
extern CBitmap gBitmapCheckOn;
