#pragma once

#include "host/AcDbObjectId.h"

/// Base of every object that lives in the drawing database and can be reached by id. An
/// object registers itself under a fresh id when it is made (a copy gets an id of its own)
/// and unregisters when it dies, so an id of a dead object never resolves.
class AcDbObject
{
public:
    AcDbObject();
    AcDbObject(const AcDbObject& other);
    AcDbObject& operator=(const AcDbObject& other);
    virtual ~AcDbObject();

    const AcDbObjectId& objectId() const { return id_; }
    /// The host's class number of the object (modules and patterns report theirs).
    virtual int classNumber() const = 0;

    /// The object behind `id`, or null when the id is null or its object is gone.
    static AcDbObject* lookup(const AcDbObjectId& id);
    /// Number of objects alive (leak checks in tests).
    static int liveCount();

private:
    AcDbObjectId id_;
};
