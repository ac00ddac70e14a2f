#pragma once
// One placement of a kernel body in an interaction: the body, the transform that places it
// and the references that lie on it.

#include "core/maths/Xform.h"
#include "core/objects/Object.h"

#include <list>

namespace QEL {

class QEL_API Instance : public SavedObject<Instance, SerializableObject> {
public:
    // The matrix may be null (identity): rotation from its upper 3x3, translation from its last
    // column. The creation is recorded only for a live interaction and a body.
    Instance(Interaction* interaction, int body, const double (*matrix)[4]);
    ~Instance() override;

    // Adds the body to the interaction's seen bodies, makes the instance and files it.
    static Instance* Create(Interaction* interaction, int body, const double (*matrix)[4]);
    // Reads one "Instance" element; null (nothing left behind) when the XMLIO is not reading
    // or the element cannot be read, its body among them.
    static Instance* CreateFromXML(Interaction* interaction, XMLIO& xmlio);

    bool CheckValidity(std::vector<TaggedEntity*>& badObjects,
                       std::vector<InvalidityType>& codes) override;
    // Destroys every reference on the instance first.
    void Destroy() override;
    // Same type and id and equal transforms; the bodies are not compared (they differ between
    // interactions).
    bool Compare(TaggedEntity* other) override;
    void RemoveReference(Reference* reference) override;
    bool DoIO(XMLIO& xmlio) override;

    int GetBodyTag() const { return m_body; }
    Xform& GetXform() { return m_xform; }
    void SetXform(const Xform& xform);
    void SetBodyTag(int body);
    void AddReference(Reference* reference);
    int GetReferenceCount() const { return static_cast<int>(m_references.size()); }
    const std::list<Reference*>& GetReferences() const { return m_references; }

    // Test hooks: invalid instances of a chosen kind for validity tests, never filed.
    static Instance* TestCreateInvalid(int kind, Interaction* interaction, int body,
                                       const double (*matrix)[4], Reference* reference);
    void TestDestroyInvalid(int);

private:
    // Body, transform and the references on it.
    void CopyState(const Instance& from);
    Instance* NewSnapshot() const { return new Instance(nullptr, m_body, nullptr); }

    int m_body;
    Xform m_xform;
    // Held without reference counts.
    std::list<Reference*> m_references;

    friend class SavedState<Instance, SerializableObject>;
};

}  // namespace QEL
