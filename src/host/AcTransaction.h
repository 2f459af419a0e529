#pragma once

#include "host/AcDbObjectId.h"
#include "host/ErrorStatus.h"

class AcDbObject;

/// An open transaction on the drawing database. The module receives it from the host and
/// passes it on to every read and write of a macro object; objects are opened through it.
/// Once ended (committed or aborted) it opens nothing more.
class AcTransaction
{
public:
    enum class OpenMode
    {
        forRead,
        forWrite
    };

    AcTransaction() = default;
    virtual ~AcTransaction() = default;

    /// Opens the object behind `id`: eOk with `object` set; eNotApplicable once the
    /// transaction has ended; eKeyNotFound for a null id or an object that is gone.
    Acad::ErrorStatus getObject(AcDbObject*& object, const AcDbObjectId& id,
                                OpenMode mode = OpenMode::forRead);

    bool isActive() const { return active_; }
    void commit() { active_ = false; }
    void abort() { active_ = false; }

    /// Objects opened so far, for read and for write.
    int readCount() const { return reads_; }
    int writeCount() const { return writes_; }

private:
    bool active_ = true;
    int reads_ = 0;
    int writes_ = 0;
};

namespace host
{
/// Opens `id` through `tr` when a transaction is given, else directly. Null when it fails.
AcDbObject* openObject(const AcDbObjectId& id, AcTransaction* tr,
                       AcTransaction::OpenMode mode = AcTransaction::OpenMode::forRead);
} // namespace host
