#pragma once

#include "ui/ResourceModule.h"

/// Registers the templates of the dialogs that work on a grid's texts: the string table
/// dialog (208) and the find and replace dialog (218).
void registerGridDialogTemplates(ui::ResourceModule& module);
