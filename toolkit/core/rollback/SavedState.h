#pragma once
// The snapshot protocol of a saved class, made from one statement of what rollback carries of
// it. The class states its state once, as a private member its base reaches as a friend
// (`friend class SavedState<Class, Base>;`):
//
//   void CopyState(const Class& from);  // every saved field of this level, taken from another
//   Class* NewSnapshot() const;         // optional: the detached object a snapshot starts as;
//                                       // by default the class made with no interaction
//
// Both directions of a copy run that one CopyState with the roles swapped, so a field cannot
// be carried one way and not the other; a field rollback must leave alone is simply not
// listed. Copies run from the root of the class tree down, each level's state after its
// base's, and a level's own state is not copied onto the very object it comes from.
//
// SavedState is for a level of the tree that is never an object by itself; SavedObject, for
// a class that is, adds the snapshot (Clone) and the restore (Restore).

#include "core/objects/Entity.h"

#include <type_traits>

namespace QEL {

template <typename Derived, typename Base>
class QEL_API SavedState : public Base {
public:
    using Base::Base;

    void CopyTo(RollableEntity* destination) override
    {
        if constexpr (!std::is_same<Base, RollableEntity>::value)
            Base::CopyTo(destination);
        Derived* target = dynamic_cast<Derived*>(destination);
        if (target && target != this)
            target->CopyState(Self());
    }
    void CopyFrom(RollableEntity* source) override
    {
        if constexpr (!std::is_same<Base, RollableEntity>::value)
            Base::CopyFrom(source);
        Derived* from = dynamic_cast<Derived*>(source);
        if (from && from != this)
            Self().CopyState(*from);
    }

protected:
    Derived* NewSnapshot() const { return new Derived(nullptr); }
    // The class's own NewSnapshot when it states one, else the default above.
    static Derived* MakeSnapshot(const Derived& object) { return object.NewSnapshot(); }

private:
    Derived& Self() { return static_cast<Derived&>(*this); }
};

template <typename Derived, typename Base>
class QEL_API SavedObject : public SavedState<Derived, Base> {
public:
    using SavedState<Derived, Base>::SavedState;

    // A detached object of the class holding this object's state: no tag, no interaction.
    RollableEntity* Clone() override
    {
        Derived* snapshot = SavedState<Derived, Base>::MakeSnapshot(static_cast<Derived&>(*this));
        this->CopyTo(snapshot);
        return snapshot;
    }
    // Nothing when the snapshot is of another class.
    void Restore(RollableEntity* snapshot) override
    {
        if (dynamic_cast<Derived*>(snapshot))
            this->CopyFrom(snapshot);
    }
};

}  // namespace QEL
