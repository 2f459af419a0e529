#include "host/AcDbObject.h"

#include <unordered_map>

namespace
{
struct Registry
{
    std::unordered_map<std::uint64_t, AcDbObject*> objects;
    std::uint64_t nextHandle = 1;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

AcDbObjectId registerObject(AcDbObject* object)
{
    Registry& reg = registry();
    AcDbObjectId id(reg.nextHandle++);
    reg.objects.emplace(id.handle(), object);
    return id;
}
} // namespace

const AcDbObjectId AcDbObjectId::kNull;

bool AcDbObjectId::isValid() const
{
    return AcDbObject::lookup(*this) != nullptr;
}

AcDbObject::AcDbObject() : id_(registerObject(this))
{
}

AcDbObject::AcDbObject(const AcDbObject&) : id_(registerObject(this))
{
}

AcDbObject& AcDbObject::operator=(const AcDbObject&)
{
    // An object keeps its own identity when another one's contents are copied into it.
    return *this;
}

AcDbObject::~AcDbObject()
{
    registry().objects.erase(id_.handle());
}

AcDbObject* AcDbObject::lookup(const AcDbObjectId& id)
{
    if (id.isNull())
        return nullptr;
    const Registry& reg = registry();
    auto it = reg.objects.find(id.handle());
    return it == reg.objects.end() ? nullptr : it->second;
}

int AcDbObject::liveCount()
{
    return static_cast<int>(registry().objects.size());
}
