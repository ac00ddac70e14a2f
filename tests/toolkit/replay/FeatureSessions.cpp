// Sessions of the features on a block: a feature of references with its profile, dependents,
// properties and application data; a procedure record filled and read back; an add-on feature
// made from the top face, queried, made dormant and deleted.
#include "ReplayedSession.h"

#include "api/features/QelAddOnFeatureApi.h"
#include "api/features/QelFeatureApi.h"
#include "api/features/QelFeatureProcedureDataApi.h"
#include "api/features/QelFeaturePropertiesApi.h"
#include "api/features/QelFeatureReferencesApi.h"
#include "api/model/QelInstanceApi.h"
#include "api/model/QelMappingDataApi.h"

namespace QEL {
namespace testing {
namespace {

const double s_identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

// A feature holding the top and the side, profiled by the front, with the bottom depending on
// it; every list read back whole and by index.
void FeatureReferences(SessionContext& s)
{
    const int block = brennik::build::Block(10, 20, 30);
    const int instance = CreateInstance(s.tag, block, s_identity, &s.result);
    const int top = s.Ref(FaceAt(block, 0, 0, 1, 30), instance);
    const int side = s.Ref(FaceAt(block, 1, 0, 0, 10), instance);
    const int front = s.Ref(FaceAt(block, 0, -1, 0, 0), instance);
    const int bottom = s.Ref(FaceAt(block, 0, 0, -1, 0), instance);
    // The profile lies on a sheet of its own, placed by its own instance.
    const int sketch = brennik::build::PlanarSheet(5, 10, 30, 0, 0, 1, 4);
    const int sketchInstance = CreateInstance(s.tag, sketch, s_identity, &s.result);
    std::set<int> sketchFaces;
    GetBodyFaces(sketch, sketchFaces);
    const int outline = s.Ref(sketchFaces.empty() ? 0 : *sketchFaces.begin(), sketchInstance);
    const int outlineAgain = s.Ref(sketchFaces.empty() ? 0 : *sketchFaces.begin(), sketchInstance);

    const int feature = CreateFeature(s.tag, FeatureTypeSimple, &s.result);
    GetFeatureCount(s.tag, &s.result);
    GetFeature(s.tag, 0, &s.result);
    FeatureAddReference(s.tag, feature, top, &s.result);
    FeatureAddReferences(s.tag, feature, s.Tags({side}), &s.result);
    FeatureGetReferenceCount(s.tag, feature, &s.result);
    FeatureGetReference(s.tag, feature, 1, &s.result);
    // Each list is read into an array of its own: a call adds to what the array holds.
    Array<int> references, profile, dependents;
    FeatureGetReferences(s.tag, feature, references, &s.result);
    FeatureAddProfileReference(s.tag, feature, outline, &s.result);
    FeatureAddProfileReferences(s.tag, feature, s.Tags({outlineAgain}), &s.result);
    FeatureGetProfileReferenceCount(s.tag, feature, &s.result);
    FeatureGetProfileReference(s.tag, feature, 0, &s.result);
    FeatureGetProfileReferences(s.tag, feature, profile, &s.result);
    FeatureAddDependent(s.tag, feature, bottom, &s.result);
    FeatureAddDependents(s.tag, feature, s.Tags({front}), &s.result);
    FeatureGetDependentCount(s.tag, feature, &s.result);
    FeatureGetDependent(s.tag, feature, 0, &s.result);
    FeatureGetDependents(s.tag, feature, dependents, &s.result);

    FeatureGetType(s.tag, feature, &s.result);
    FeatureSetType(s.tag, feature, FeatureTypeSimpleRecreate, &s.result);
    FeatureSetUpdateRequired(s.tag, feature, true, &s.result);
    FeatureGetUpdateRequired(s.tag, feature, &s.result);
    FeatureSetInstance(s.tag, feature, instance, &s.result);
    FeatureGetInstance(s.tag, feature, &s.result);
    FeatureSetAppDataInteger(s.tag, feature, 3, 42, &s.result);
    FeatureGetAppDataInteger(s.tag, feature, 3, &s.result);
    FeatureSetAppDataDouble(s.tag, feature, 4, 2.5, &s.result);
    FeatureGetAppDataDouble(s.tag, feature, 4, &s.result);
    FeatureSetAppIdentifier(s.tag, feature, "boss", &s.result);
    FeatureGetAppIdentifier(s.tag, feature, &s.result);
}

// A procedure record given the feature, the bodies, the partition, the profile and a result, and
// each read back.
void ProcedureRecords(SessionContext& s)
{
    const int block = brennik::build::Block(10, 20, 30);
    const int tool = brennik::build::Block(2, 2, 40);
    CreateInstance(s.tag, block, s_identity, &s.result);
    const int feature = CreateFeature(s.tag, FeatureTypeSimpleRecreate, &s.result);
    const int record = CreateFeatureProcedureData(s.tag, &s.result);
    FeatureProcedureDataSetFeatureTag(s.tag, record, feature, &s.result);
    FeatureProcedureDataSetMainBodyTag(s.tag, record, block, &s.result);
    FeatureProcedureDataSetCutToolBodyTag(s.tag, record, tool, &s.result);
    FeatureProcedureDataSetCutToolMappingDataTag(s.tag, record, 0, &s.result);
    FeatureProcedureDataSetFeatureProcedureType(s.tag, record, FeatureProcedureTypeModifySolid, &s.result);
    FeatureProcedureDataSetProcedureMappingDataTag(s.tag, record, 0, &s.result);
    FeatureProcedureDataSetToolPartition(s.tag, record, GetCurrentPartition(), &s.result);
    const double profile[16] = {0.6, -0.8, 0, 1.5, 0.8, 0.6, 0, -2.25, 0, 0, 1, 40.125, 0, 0, 0, 1};
    FeatureProcedureDataSetProfileXform(s.tag, record, profile, &s.result);
    FeatureProcedureDataSetResult(s.tag, record, ResultTypeFail, &s.result);
    FeatureProcedureDataSetProcedureToolBody(s.tag, record, tool, &s.result);

    FeatureProcedureDataGetFeatureTag(s.tag, record, &s.result);
    FeatureProcedureDataGetMainBodyTag(s.tag, record, &s.result);
    FeatureProcedureDataGetCutToolBodyTag(s.tag, record, &s.result);
    FeatureProcedureDataGetCutToolMappingDataTag(s.tag, record, &s.result);
    FeatureProcedureDataGetFeatureProcedureType(s.tag, record, &s.result);
    FeatureProcedureDataGetProcedureMappingData(s.tag, record, &s.result);
    FeatureProcedureDataGetToolPartition(s.tag, record, &s.result);
    double read[16] = {};
    FeatureProcedureDataGetProfileXform(s.tag, record, read, &s.result);
    FeatureProcedureDataGetProcedureResult(s.tag, record, &s.result);
    FeatureProcedureDataGetProcedureToolBody(s.tag, record, &s.result);

    // Mapping data are made only inside a feature procedure's run, which no journal carries:
    // the mapping calls are made on the record, which is no mapping data, and the refusals
    // are what their records keep.
    MappingDataAddEntry(s.tag, record, block, tool, &s.result);
    MappingDataGetEntryCount(s.tag, record, &s.result);
    int oldTag = 0, newTag = 0;
    MappingDataGetEntry(s.tag, record, 0, &oldTag, &newTag, &s.result);
    MappingDataRemoveEntry(s.tag, record, 0, &s.result);
}

// An add-on feature of the top face over the bottom, found from its topology and its body,
// made dormant, given application data and deleted.
void AddOnFeatures(SessionContext& s)
{
    const int block = brennik::build::Block(10, 20, 30);
    CreateInstance(s.tag, block, s_identity, &s.result);
    const int top = FaceAt(block, 0, 0, 1, 30);
    const int bottom = FaceAt(block, 0, 0, -1, 0);
    const int options = CreateMakeFeatureOptions(s.tag, &s.result);
    MakeFeatureOptionsSetUnders(s.tag, options, s.Tags({bottom}), s.Tags({2}), 1, &s.result);
    const int feature = MakeFeature(s.tag, s.Tags({top}), s.Tags({1}), 1, 7, options, &s.result);
    Array<int> topols, labels;
    FeatureGetTopols(s.tag, feature, topols, labels, &s.result);
    Array<int> unders, underLabels;
    FeatureGetUnders(s.tag, feature, unders, underLabels, &s.result);
    FeatureGetIdentifier(s.tag, feature, &s.result);
    FeatureSetIdentifier(s.tag, feature, 8, &s.result);
    FeatureIsComplete(s.tag, feature, &s.result);
    Array<int> edges;
    FeatureIsPristine(s.tag, feature, edges, &s.result);
    Array<int> found;
    TopolGetFeatures(s.tag, top, found, &s.result);
    Array<int> dependents;
    EntityGetDependentFeatures(s.tag, top, dependents, &s.result);
    Array<int> onBody;
    BodyFindFeatures(s.tag, block, 8, onBody, &s.result);
    FeatureSetDormant(s.tag, feature, true, &s.result);
    FeatureIsDormant(s.tag, feature, &s.result);
    FeatureSetDormant(s.tag, feature, false, &s.result);

    SetFeatureAppData(s.tag, feature, "depth", 4.5, &s.result);
    GetFeatureAppData(s.tag, feature, "depth", &s.result);
    Array<int> held;
    GetTestAppFeatures(s.tag, held, &s.result);
    RemoveTestAppFeature(s.tag, feature, &s.result);
    // No feature procedure is installed in a journalled session: the edit is refused, and the
    // refusal is what its record keeps.
    EditFeature(s.tag, feature, &s.result);
    FeatureDelete(s.tag, feature, &s.result);
}

}  // namespace

std::vector<ReplaySession> FeatureSessions()
{
    return {{"feature-references", FeatureReferences},
            {"procedure-records", ProcedureRecords},
            {"add-on-features", AddOnFeatures}};
}

}  // namespace testing
}  // namespace QEL
