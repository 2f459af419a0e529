#pragma once

#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"

/// One table of a cutting-stock run: column headers and the rows of every group in one list,
/// with a parallel list giving each row's group id. The rows of one group are kept together.
struct CSP2Table
{
    Kdr_StringArray columns;
    Kdr_Array<int> rowGroups;
    Kdr_Array<Kdr_StringArray> rows;

    bool operator==(const CSP2Table&) const = default;
};

/// The host's record of a cutting-stock optimisation dialog: the groups, and per group the
/// rows of the main table (the parts to cut), the stock table and the purchase table.
struct DlgCSP2Data
{
    /// False: full mode (all tables editable); true: stock mode (only the stock table).
    bool stockMode = false;
    /// One id per group, in the order the groups are offered.
    Kdr_Array<int> groupIds;
    /// One name per group, parallel to the ids.
    Kdr_StringArray groupNames;
    CSP2Table main;
    /// The stock table (files ".shp").
    CSP2Table stock;
    /// The purchase table (files ".buy").
    CSP2Table purchase;

    bool operator==(const DlgCSP2Data&) const = default;
};
