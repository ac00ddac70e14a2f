#pragma once
// The change records of one interaction: it makes, indexes and clears them.

#include "core/objects/Entity.h"

#include <map>
#include <set>
#include <vector>

namespace QEL {

class Interaction;
class TrackingData;

class QEL_API TrackingManager : public Entity {
public:
    static TrackingManager* Create(Interaction* interaction);
    // Clears the data, then deletes the manager.
    void Destroy();
    // Frees the containers only.
    ~TrackingManager() override;

    Interaction* GetInteraction() const { return m_interaction; }
    // Destroys every record and empties the lists.
    void ClearData();
    // The pointer an application item holds, or null; not checked against the records.
    TrackingData* GetTrackingDataFromTag(int tag) const;
    // The same, but null unless the pointer is one of this manager's records.
    TrackingData* FindTrackingDataFromTag(int tag) const;
    bool IsTrackingData(const void* pointer) const;

    // Run around every exported call, the end hook for tracked calls only. The begin hook
    // drops the previous call's data when asked to and, for a tracked call, sets a mark that
    // the end hook collects from. A call nested inside a tracked call leaves both to it.
    void BeginCall(bool clearData, bool track);
    void EndCall();
    // One toolkit record per tagged model object created, changed or deleted since the
    // call's mark; option objects and other scratch objects are left out.
    void CollectChanges();
    bool IsTrackingThisCall() const { return m_trackingThisCall; }
    int GetCallMark() const { return m_callMark; }
    void RegisterOldTag(int tag, TrackingData* data) { m_dataByOldTag[tag] = data; }
    // The record that last registered the tag as an old tag, or null.
    TrackingData* FindDataByOldTag(int tag) const
    {
        auto found = m_dataByOldTag.find(tag);
        return found == m_dataByOldTag.end() ? nullptr : found->second;
    }

    void AddBrennikLabelData(TrackingData* data);
    void AddBrennikMapData(TrackingData* data);
    void AddQELData(TrackingData* data);
    void AddQELUpdateData(TrackingData* data);
    const std::vector<TrackingData*>& GetBrennikLabelData() const { return m_labelData; }
    const std::vector<TrackingData*>& GetBrennikMapData() const { return m_mapData; }
    const std::vector<TrackingData*>& GetQELData() const { return m_qelData; }
    const std::vector<TrackingData*>& GetQELUpdateData() const { return m_qelUpdateData; }

    void SetTrackChanges(bool on) { m_trackChanges = on; }
    bool GetTrackChanges() const { return m_trackChanges; }
    void SetMergeCallbackData(bool on) { m_mergeCallbackData = on; }
    bool GetMergeCallbackData() const { return m_mergeCallbackData; }
    void SetReportUpdateData(bool on) { m_reportUpdateData = on; }
    bool GetReportUpdateData() const { return m_reportUpdateData; }

private:
    explicit TrackingManager(Interaction* interaction);
    void Add(std::vector<TrackingData*>& list, TrackingData* data);

    Interaction* m_interaction;
    std::set<TrackingData*> m_allData;
    std::vector<TrackingData*> m_labelData;
    std::vector<TrackingData*> m_mapData;
    std::vector<TrackingData*> m_qelData;
    std::vector<TrackingData*> m_qelUpdateData;
    std::map<int, TrackingData*> m_dataByOldTag;
    bool m_trackChanges = true;
    bool m_mergeCallbackData = false;
    bool m_reportUpdateData = false;
    bool m_trackingThisCall = false;
    int m_callMark = 0;
    int m_callDepth = 0;
};

}  // namespace QEL
