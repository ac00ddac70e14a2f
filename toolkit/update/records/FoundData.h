#pragma once
// A persistent finding of a configure: a relation or a shell cluster it found around the moved
// faces, with the level at which it was found. One in state Relax tells the next configure to
// leave the relation or the cluster out.

#include "core/frame/Array.h"
#include "core/objects/Object.h"
#include "model/operations/ShellClusterData.h"

namespace QEL {

class ConfigureFoundData;

class QEL_API FoundData : public SavedObject<FoundData, SerializableObject> {
public:
    explicit FoundData(Interaction* interaction, FoundDataType type = FoundDataTypeRelation,
                       FoundDataState state = FoundDataStateApply, Object* object = nullptr,
                       int level = 0, bool found = false);
    FoundData(Interaction* interaction, FoundDataType type, FoundDataState state,
              const ShellClusterData& cluster, int level, bool found);
    ~FoundData() override;

    // New and registered; a relation's found data is linked to its relation.
    static FoundData* Create(Interaction* interaction, FoundDataType type, FoundDataState state,
                             Object* object, int level, bool found);
    static FoundData* Create(Interaction* interaction, FoundDataType type, FoundDataState state,
                             const ShellClusterData& cluster, int level, bool found);
    // A relation or shell record of a configure, in state Apply with the record's level and
    // found; null, making nothing, for any other kind of record.
    static FoundData* CreateFromConfigureFoundData(Interaction* interaction,
                                                   const ConfigureFoundData& record);
    // Only while reading; null when the element cannot be read, and nothing is left behind.
    static FoundData* CreateFromXML(Interaction* interaction, XMLIO& xmlio);
    static constexpr const char* s_className = "FoundData";

    void Destroy() override;
    bool Compare(TaggedEntity* other) override;
    bool DoIO(XMLIO& xmlio) override;

    FoundDataType GetFoundDataType() const { return m_foundDataType; }
    FoundDataState GetState() const { return m_state; }
    int GetFoundLevel() const { return m_level; }
    bool GetFoundInLastConfigure() const { return m_found; }
    // Each recorded for rollback, and only when the value changes.
    void SetState(FoundDataState state);
    void SetFoundInLastConfigure(bool found);
    void SetFoundLevel(int level);

    // The object found: the relation of a relation record; null for a shell record and after
    // the relation has gone.
    Object* GetQELObject() const { return m_object; }
    // Drops the object, recorded for rollback; nothing when there is none.
    void ClearQELObject();
    // The cluster of a shell record.
    void GetShellData(Array<int>& side1, Array<int>& side2, double& thickness) const;
    const ShellClusterData& GetShellClusterData() const { return m_cluster; }

protected:
    FoundDataType m_foundDataType;
    FoundDataState m_state;
    Object* m_object = nullptr;
    ShellClusterData m_cluster;
    int m_level;
    bool m_found;

private:
    // Everything but the found flag, which tells what the latest configure met: rolling back
    // leaves it.
    void CopyState(const FoundData& from);
    FoundData* NewSnapshot() const
    {
        return new FoundData(nullptr, m_foundDataType, m_state, m_object, m_level, m_found);
    }

    friend class SavedState<FoundData, SerializableObject>;
};

}  // namespace QEL
