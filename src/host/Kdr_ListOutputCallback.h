#pragma once

#include "host/ErrorStatus.h"
#include "host/Kdr_StringArray.h"

/// The host's receiver of a list output (a bill of materials, a part list): the host calls
/// onStartFeed, then onAddRow, onAddSubTotals, onNewPage and onAddSeperation in the order of
/// its list, then onEndFeed. The base class accepts everything and does nothing, so that an
/// output only overrides what it shows.
class Kdr_ListOutputCallback
{
public:
    Kdr_ListOutputCallback() = default;
    virtual ~Kdr_ListOutputCallback() = default;
    Kdr_ListOutputCallback(const Kdr_ListOutputCallback&) = default;
    Kdr_ListOutputCallback& operator=(const Kdr_ListOutputCallback&) = default;

    virtual Acad::ErrorStatus onStartFeed() { return Acad::eOk; }
    virtual Acad::ErrorStatus onEndFeed() { return Acad::eOk; }
    /// A page break of a printed list.
    virtual void onNewPage() {}
    virtual void onAddRow(const Kdr_StringArray& row) { (void)row; }
    /// A subtotal row; `second`, `flag` and `count` carry what a printed list needs for it.
    virtual void onAddSubTotals(const Kdr_StringArray& row, const Kdr_StringArray& second, bool flag,
                                int count)
    {
        (void)row;
        (void)second;
        (void)flag;
        (void)count;
    }
    /// A separating line between groups of a printed list (the host's spelling).
    virtual void onAddSeperation() {}
};
