#pragma once
// One change reported to the application after a call, named by its own tag.

#include "core/objects/Entity.h"

#include <vector>

struct HXR_ENTITY_track_record_r_s;
struct BQ_TOPOL_track_record_r_t;

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
    void SetType(TrackingDataType type) { m_type = type; }
    std::vector<int>& GetOldTags() { return m_oldTags; }
    std::vector<int>& GetNewTags() { return m_newTags; }
    void SetFromPartitionPass(bool on) { m_fromPartitionPass = on; }
    bool IsFromPartitionPass() const { return m_fromPartitionPass; }
    // Appends and registers the tag with the manager under this record.
    void AddOldTag(int tag);
    void AddNewTag(int tag) { m_newTags.push_back(tag); }

    // A toolkit object's own change: created and modified name it as a new tag, deleted as an
    // old one (registered, so later records about it can find this one).
    void MarkCreated(int tag);
    void MarkModified(int tag);
    void MarkDeleted(int tag);
    // Takes the kind and the entity lists of an add-on or kernel track record; an unknown
    // track code leaves the kind as it was.
    void AddHXRTrackRecord(const HXR_ENTITY_track_record_r_s& record);
    void AddBQTrackRecord(const BQ_TOPOL_track_record_r_t& record);
    // Sorts both tag lists in place and answers their union without repeats.
    void GetAllTags(std::vector<int>& out);

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
