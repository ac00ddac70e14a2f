#pragma once
// One change reported to the application after a call, named by its own tag.

#include "core/Entity.h"

#include <vector>

namespace QEL {

class TrackingManager;

class QEL_API TrackingData : public Entity {
public:
    // Each makes a record with a new tag and files it in the manager's matching list.
    static TrackingData* CreateBrennikLabelData(TrackingManager* manager, TrackingDataType type);
    static TrackingData* CreateBrennikMapData(TrackingManager* manager, TrackingDataType type);
    static TrackingData* CreateQELData(TrackingManager* manager, TrackingDataType type);
    static TrackingData* CreateQELUpdateData(TrackingManager* manager, TrackingDataType type);
    // Deletes the tag's application item.
    ~TrackingData() override;

    int GetTag() const { return m_tag; }
    TrackingDataType GetType() const { return m_type; }
    std::vector<int>& GetOldTags() { return m_oldTags; }
    std::vector<int>& GetNewTags() { return m_newTags; }
    void SetFromPartitionPass(bool on) { m_fromPartitionPass = on; }
    bool IsFromPartitionPass() const { return m_fromPartitionPass; }
    // Appends and registers the tag with the manager under this record.
    void AddOldTag(int tag);
    void AddNewTag(int tag) { m_newTags.push_back(tag); }

private:
    TrackingData(TrackingManager* manager, TrackingDataType type);

    TrackingManager* m_manager;
    int m_tag = 0;
    TrackingDataType m_type;
    std::vector<int> m_oldTags;
    std::vector<int> m_newTags;
    bool m_fromPartitionPass = false;
};

}  // namespace QEL
