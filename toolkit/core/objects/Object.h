#pragma once
// Tagged objects with one word of application data, and those that write and read themselves
// as XML.

#include "core/objects/TaggedEntity.h"
#include "core/rollback/SavedState.h"

namespace QEL {

class XMLIO;

class QEL_API Object : public SavedState<Object, TaggedEntity> {
public:
    explicit Object(Interaction* interaction) : SavedState(interaction) {}

    bool CheckValidity(std::vector<TaggedEntity*>& badObjects,
                       std::vector<InvalidityType>& codes) override;
    // Called by a reference on each of its dependents when it is destroyed.
    virtual void RemoveReference(Reference* reference);

    // Stored and handed back, never dereferenced.
    void SetApplicationData(void* data);
    void* GetApplicationData() const { return m_applicationData; }

    // A held reference pointer passes when null or a reference known to the interaction.
    bool CheckReferencePointerValidity(Reference* held, std::vector<TaggedEntity*>& badObjects,
                                       std::vector<InvalidityType>& codes);

private:
    void CopyState(const Object& from) { m_applicationData = from.m_applicationData; }

    void* m_applicationData = nullptr;

    friend class SavedState<Object, TaggedEntity>;
};

class QEL_API SerializableObject : public Object {
public:
    explicit SerializableObject(Interaction* interaction) : Object(interaction) {}

    // Writes or reads the object's element.
    virtual bool DoIO(XMLIO& xmlio) = 0;

protected:
    // The object's own id in the open element; reading takes it over.
    bool DoIOID(XMLIO& xmlio);
};

}  // namespace QEL
