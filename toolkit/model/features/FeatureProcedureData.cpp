#include "model/features/FeatureProcedureData.h"

#include "core/objects/EntityCasts.h"

#include <algorithm>

namespace QEL {

FeatureProcedureData::FeatureProcedureData(Interaction* interaction) : SavedObject(interaction)
{
    SetType(ObjectTypeFeatureProcedureData);
    if (interaction)
        RecordCreated();
}

FeatureProcedureData::~FeatureProcedureData() = default;

void FeatureProcedureData::CopyState(const FeatureProcedureData& from)
{
    m_FeatureTag = from.m_FeatureTag;
    m_MainBodyTag = from.m_MainBodyTag;
    m_CutToolBodyTag = from.m_CutToolBodyTag;
    m_CutToolMappingDataTag = from.m_CutToolMappingDataTag;
    m_FeatureProcedureType = from.m_FeatureProcedureType;
    m_ProcedureMappingDataTag = from.m_ProcedureMappingDataTag;
    m_ToolPartition = from.m_ToolPartition;
    m_AppData = from.m_AppData;
    if (from.m_HasProfileXform)
        std::copy(from.m_ProfileXform, from.m_ProfileXform + 16, m_ProfileXform);
    m_HasProfileXform = from.m_HasProfileXform;
    m_Result = from.m_Result;
    m_ProcedureToolBody = from.m_ProcedureToolBody;
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
void FeatureProcedureData::SetCutToolMappingDataTag(int tag)
{
    SetRecorded(m_CutToolMappingDataTag, tag);
}
void FeatureProcedureData::SetFeatureProcedureType(FeatureProcedureType type)
{
    SetRecorded(m_FeatureProcedureType, type);
}
void FeatureProcedureData::SetProcedureMappingDataTag(int tag)
{
    SetRecorded(m_ProcedureMappingDataTag, tag);
}
void FeatureProcedureData::SetToolPartition(int partition)
{
    SetRecorded(m_ToolPartition, partition);
}
void FeatureProcedureData::SetAppData(void* appData) { SetRecorded(m_AppData, appData); }
void FeatureProcedureData::SetResult(ResultType result) { SetRecorded(m_Result, result); }
void FeatureProcedureData::SetProcedureToolBody(int body)
{
    SetRecorded(m_ProcedureToolBody, body);
}

void FeatureProcedureData::SetProfileXform(const double* matrix)
{
    RecordModified();
    if (matrix)
        std::copy(matrix, matrix + 16, m_ProfileXform);
    m_HasProfileXform = matrix != nullptr;
}

QEL_INSTALL_ENTITY_CASTS(FeatureProcedureData)

}  // namespace QEL
