#pragma once
// The record a feature procedure receives by tag and fills in: which feature runs, the main
// body and the cut tool body with its mapping, how the procedure works (a separate tool body or
// a change of the main body), where it builds, the mapping it fills, the profile transform, and
// what it reports back (its result and, in tool-body mode, the body it built). Found through its
// tag only; not written to files.

#include "core/objects/Object.h"

namespace QEL {

class QEL_API FeatureProcedureData : public SavedObject<FeatureProcedureData, Object> {
public:
    // Records the creation when given an interaction.
    explicit FeatureProcedureData(Interaction* interaction);
    ~FeatureProcedureData() override;

    // Each setter records the object before changing it.
    void SetFeatureTag(int tag);
    void SetMainBodyTag(int tag);
    void SetCutToolBodyTag(int tag);
    void SetCutToolMappingDataTag(int tag);
    void SetFeatureProcedureType(FeatureProcedureType type);
    void SetProcedureMappingDataTag(int tag);
    void SetToolPartition(int partition);
    void SetAppData(void* appData);
    void SetResult(ResultType result);
    void SetProcedureToolBody(int body);
    // 16 values row by row; null only clears the flag.
    void SetProfileXform(const double* matrix);

    int GetFeatureTag() const { return m_FeatureTag; }
    int GetMainBodyTag() const { return m_MainBodyTag; }
    int GetCutToolBodyTag() const { return m_CutToolBodyTag; }
    int GetCutToolMappingDataTag() const { return m_CutToolMappingDataTag; }
    FeatureProcedureType GetFeatureProcedureType() const { return m_FeatureProcedureType; }
    int GetProcedureMappingDataTag() const { return m_ProcedureMappingDataTag; }
    int GetToolPartition() const { return m_ToolPartition; }
    void* GetAppData() const { return m_AppData; }
    ResultType GetResult() const { return m_Result; }
    int GetProcedureToolBody() const { return m_ProcedureToolBody; }
    // Null while no profile transform is held.
    const double* GetProfileXform() const { return m_HasProfileXform ? m_ProfileXform : nullptr; }

    // Whether a feature's procedure is running with this record: the calls the procedure makes
    // then sit inside the call that runs it, whose tracking data they must leave alone. A state
    // of the run, not a field: never recorded for rollback.
    bool IsInRun() const { return m_InRun; }
    void SetInRun(bool inRun) { m_InRun = inRun; }

private:
    template <typename T>
    void SetRecorded(T& field, T value);
    // Every field; the matrix only when the source holds one.
    void CopyState(const FeatureProcedureData& from);

    int m_FeatureTag = 0;
    int m_MainBodyTag = 0;
    int m_CutToolBodyTag = 0;
    int m_CutToolMappingDataTag = 0;
    FeatureProcedureType m_FeatureProcedureType = FeatureProcedureTypeNone;
    int m_ProcedureMappingDataTag = 0;
    int m_ToolPartition = 0;
    void* m_AppData = nullptr;
    double m_ProfileXform[16] = {};
    bool m_HasProfileXform = false;
    ResultType m_Result = ResultTypeOk;
    int m_ProcedureToolBody = 0;
    bool m_InRun = false;

    friend class SavedState<FeatureProcedureData, Object>;
};

}  // namespace QEL
