#include "host/AcTransaction.h"

#include "host/AcDbObject.h"

Acad::ErrorStatus AcTransaction::getObject(AcDbObject*& object, const AcDbObjectId& id, OpenMode mode)
{
    if (!active_)
        return Acad::eNotApplicable;
    AcDbObject* found = AcDbObject::lookup(id);
    if (!found)
        return Acad::eKeyNotFound;
    object = found;
    if (mode == OpenMode::forWrite)
        ++writes_;
    else
        ++reads_;
    return Acad::eOk;
}

namespace host
{
AcDbObject* openObject(const AcDbObjectId& id, AcTransaction* tr, AcTransaction::OpenMode mode)
{
    if (!tr)
        return AcDbObject::lookup(id);
    AcDbObject* object = nullptr;
    return tr->getObject(object, id, mode) == Acad::eOk ? object : nullptr;
}
} // namespace host
