#pragma once
// Casts between a tagged object and the classes the layers above the core derive from it. The
// core holds and files those objects without seeing their definitions, so it cannot cast them
// itself: the layer that defines a class installs its two casts while the library loads. An
// object of a class exists only once that class's layer is loaded, so a downcast that finds no
// installed cast rightly answers null.

#include "core/objects/TaggedEntity.h"

namespace QEL {

template <typename T>
struct EntityCasts {
    // Constant-initialised, so an installation from any other file's static initialisation
    // finds them ready.
    static inline T* (*s_downcast)(TaggedEntity* entity) = nullptr;
    static inline TaggedEntity* (*s_upcast)(T* object) = nullptr;
};

// Checked downcast of a tagged object: null when the object is null or of another class.
template <typename T>
T* DowncastEntity(TaggedEntity* entity)
{
    return entity && EntityCasts<T>::s_downcast ? EntityCasts<T>::s_downcast(entity) : nullptr;
}

// The tagged object behind a pointer to such a class; null for null.
template <typename T>
TaggedEntity* UpcastEntity(T* object)
{
    return object && EntityCasts<T>::s_upcast ? EntityCasts<T>::s_upcast(object) : nullptr;
}

// Installs the casts of a class from where it is complete; always true, so that the
// installation can initialise a static flag.
template <typename T>
bool InstallEntityCasts()
{
    EntityCasts<T>::s_downcast = [](TaggedEntity* entity) -> T* {
        return dynamic_cast<T*>(entity);
    };
    EntityCasts<T>::s_upcast = [](T* object) -> TaggedEntity* { return object; };
    return true;
}

}  // namespace QEL

// Installs the casts of a class while the library loads, beside the class's definition.
#define QEL_INSTALL_ENTITY_CASTS(Class)                            \
    [[maybe_unused]] static const bool s_##Class##CastsInstalled = \
        ::QEL::InstallEntityCasts<Class>();
