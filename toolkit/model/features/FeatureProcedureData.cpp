#include "model/features/FeatureProcedureData.h"

#include "core/objects/UpperLayerSeams.h"

#include <algorithm>

namespace QEL {

FeatureProcedureData::FeatureProcedureData(Interaction* interaction) : Object(interaction)
{
    SetType(ObjectTypeFeatureProcedureData);
    if (interaction)
        RecordCreated();
}

FeatureProcedureData::~FeatureProcedureData() = default;

RollableEntity* FeatureProcedureData::Clone()
{
    FeatureProcedureData* snapshot = new FeatureProcedureData(nullptr);
    CopyTo(snapshot);
    return snapshot;
}

void FeatureProcedureData::Restore(RollableEntity* snapshot)
{
    if (dynamic_cast<FeatureProcedureData*>(snapshot))
        CopyFrom(snapshot);
}

void FeatureProcedureData::CopyTo(RollableEntity* destination)
{
    Object::CopyTo(destination);
    FeatureProcedureData* target = dynamic_cast<FeatureProcedureData*>(destination);
    if (target && target != this)
        CopyFieldsTo(*target);
}

void FeatureProcedureData::CopyFrom(RollableEntity* source)
{
    Object::CopyFrom(source);
    FeatureProcedureData* from = dynamic_cast<FeatureProcedureData*>(source);
    if (from && from != this)
        from->CopyFieldsTo(*this);
}

void FeatureProcedureData::CopyFieldsTo(FeatureProcedureData& target) const
{
    target.m_FeatureTag = m_FeatureTag;
    target.m_MainBodyTag = m_MainBodyTag;
    target.m_CutToolBodyTag = m_CutToolBodyTag;
    target.m_CutToolMappingDataTag = m_CutToolMappingDataTag;
    target.m_FeatureProcedureType = m_FeatureProcedureType;
    target.m_ProcedureMappingDataTag = m_ProcedureMappingDataTag;
    target.m_ToolPartition = m_ToolPartition;
    target.m_AppData = m_AppData;
    if (m_HasProfileXform)
        std::copy(m_ProfileXform, m_ProfileXform + 16, target.m_ProfileXform);
    target.m_HasProfileXform = m_HasProfileXform;
    target.m_Result = m_Result;
    target.m_ProcedureToolBody = m_ProcedureToolBody;
}

template <typename T>
void FeatureProcedureData::SetRecorded(T& field, T value)
{
    RecordModified();
    field = value;
}

void FeatureProcedureData::SetFeatureTag(int tag) { SetRecorded(m_FeatureTag, tag); }
void FeatureProcedureData::SetMainBodyTag(int tag) { SetRecorded(m_MainBodyTag, tag); }
void FeatureProcedureData::SetCutToolBodyTag(int tag) { SetRecorded(m_CutToolBodyTag, tag); }
void FeatureProcedureData::SetCutToolMappingDataTag(int tag) { SetRecorded(m_CutToolMappingDataTag, tag); }
void FeatureProcedureData::SetFeatureProcedureType(FeatureProcedureType type)
{
    SetRecorded(m_FeatureProcedureType, type);
}
void FeatureProcedureData::SetProcedureMappingDataTag(int tag) { SetRecorded(m_ProcedureMappingDataTag, tag); }
void FeatureProcedureData::SetToolPartition(int partition) { SetRecorded(m_ToolPartition, partition); }
void FeatureProcedureData::SetAppData(void* appData) { SetRecorded(m_AppData, appData); }
void FeatureProcedureData::SetResult(ResultType result) { SetRecorded(m_Result, result); }
void FeatureProcedureData::SetProcedureToolBody(int body) { SetRecorded(m_ProcedureToolBody, body); }

void FeatureProcedureData::SetProfileXform(const double* matrix)
{
    RecordModified();
    if (matrix)
        std::copy(matrix, matrix + 16, m_ProfileXform);
    m_HasProfileXform = matrix != nullptr;
}

QEL_DEFINE_ENTITY_CASTS(FeatureProcedureData)

}  // namespace QEL
