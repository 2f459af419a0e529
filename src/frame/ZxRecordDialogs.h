#pragma once

#include "frame/ZxDialogRecords.h"
#include "ui/ResourceModule.h"

class MacroData;

/// Templates of the plain record dialogs, each made from its record's fields.
enum RecordDialogId
{
    IDD_SELECT_MACRO = 9401,
    IDD_MACRO_CUTS = 9402,
    IDD_PROF_CUTS = 9403,
    IDD_MACRO_PROF_ADV = 9404,
    IDD_PROF_FEATURES = 9405,
    IDD_ARRAY = 9406,
    IDD_DSTV_POINTS = 9407,
    IDD_GRID = 9408,
    IDD_LEVELS = 9409,
    IDD_LOOK_UP = 9410,
    IDD_SELECT_IMAGE = 9411,
    IDD_CLADDING = 9412,
    IDD_CIS2_INFO = 9413,
    IDD_BRACING = 9414,
    IDD_GEN_VARS = 9415,
};

/// Registers the templates above.
void registerRecordDialogTemplates(ui::ResourceModule& module);

/// The DSTV points the DSTV points dialog edits; they stay for the session.
ZxDSTVPointsData& dstvPoints();
