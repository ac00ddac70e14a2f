// Sessions that hand the same array to a listing call twice, as an application gathering
// several lists into one does: the calls that append keep what the array held, so the second
// call's output starts with the first one's tags and its replay must start from them too. One
// row per shape of output (by reference and through a pointer) and per way a call treats what
// the array held (appended to with checks off, refused with checks on, replaced).
#include "ReplayedSession.h"

#include "api/features/QelAddOnFeatureApi.h"
#include "api/features/QelFeatureApi.h"
#include "api/features/QelFeatureReferencesApi.h"
#include "api/model/QelFacePatternApi.h"
#include "api/model/QelFacePatternQueryApi.h"
#include "api/model/QelInstanceApi.h"
#include "api/model/QelReferenceApi.h"
#include "api/model/QelSectionApi.h"

#include <map>

namespace QEL {
namespace testing {
namespace {

const double s_identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

// A feature of the block's top and side with the bottom depending on it.
struct BlockFeature {
    int feature = 0;
};

BlockFeature MakeBlockFeature(SessionContext& s)
{
    const int block = brennik::build::Block(10, 20, 30);
    const int instance = CreateInstance(s.tag, block, s_identity, &s.result);
    BlockFeature made;
    made.feature = CreateFeature(s.tag, FeatureTypeSimple, &s.result);
    FeatureAddReferences(s.tag, made.feature,
                         s.Tags({s.Ref(FaceAt(block, 0, 0, 1, 30), instance),
                                 s.Ref(FaceAt(block, 1, 0, 0, 10), instance)}),
                         &s.result);
    FeatureAddDependent(s.tag, made.feature, s.Ref(FaceAt(block, 0, 0, -1, 0), instance),
                        &s.result);
    return made;
}

// A feature's lists gathered into one array through a pointer output: its references twice,
// then its dependents after them.
void FeatureListsGathered(SessionContext& s)
{
    const BlockFeature made = MakeBlockFeature(s);
    OptionSetCheckArguments(s.tag, false, &s.result);
    Array<int> gathered;
    FeatureGetReferences(s.tag, made.feature, gathered, &s.result);
    FeatureGetReferences(s.tag, made.feature, gathered, &s.result);
    FeatureGetDependents(s.tag, made.feature, gathered, &s.result);
}

// With checks on, an array that already holds tags is refused and left as it is; the replay
// hands the call the same array, so it is refused again.
void FeatureListRefusedWhenHeld(SessionContext& s)
{
    const BlockFeature made = MakeBlockFeature(s);
    OptionSetCheckArguments(s.tag, true, &s.result);
    Array<int> gathered;
    FeatureGetReferences(s.tag, made.feature, gathered, &s.result);
    FeatureGetDependents(s.tag, made.feature, gathered, &s.result);
}

// Two occurrences of a grid of holes read into one array by reference.
void PatternOccurrencesGathered(SessionContext& s)
{
    const int plate = brennik::build::PlateWithHolePatterns();
    int lines[2] = {brennik::build::FreeLine(0, 0, 10, 1, 0, 0),
                    brennik::build::FreeLine(0, 0, 10, 0, 1, 0)};
    BQ_PART_add_geoms(plate, 2, lines);
    std::map<std::pair<long, long>, int> holes;
    for (int face : FacesOfClass(plate, KernelClassCylinder)) {
        Position at;
        GetStandardGeometry(face, nullptr, nullptr, &at, nullptr, nullptr, nullptr, nullptr);
        holes[{std::lround(at.x), std::lround(at.y)}] = s.Ref(face);
    }
    const int xLine = s.Ref(lines[0]);
    const int yLine = s.Ref(lines[1]);
    Array<Array<int>> cells;
    for (std::pair<long, long> at : {std::pair<long, long>{15, 25}, {30, 25}, {45, 25}, {15, 55},
                                     {30, 55}, {45, 55}}) {
        const int hole = holes[at];
        cells.Add(Array<int>(1, &hole));
    }
    const int grid = LoadRectangularFacePattern(s.tag, cells, 3, 2, 15, 30, xLine, yLine, &s.result);
    Array<int> occurrences;
    FacePatternGetOccurrence(s.tag, grid, 1, occurrences, &s.result);
    FacePatternGetOccurrence(s.tag, grid, 4, occurrences, &s.result);
}

// The instances a section cuts, read twice into one array with checks off.
void CutInstancesGathered(SessionContext& s)
{
    const int block = brennik::build::Block(10, 20, 30);
    const int instance = CreateInstance(s.tag, block, s_identity, &s.result);
    const int section = CreateSection(s.tag, s.Ref(brennik::build::FreePlane(0, 0, 15, 0, 0, 1)),
                                      &s.result);
    int sectionInstance = 0;
    Array<int> sources, made;
    SectionGenerateGeometry(s.tag, section, instance, sectionInstance, sources, made, &s.result);
    OptionSetCheckArguments(s.tag, false, &s.result);
    Array<int> cut;
    SectionGetCutInstances(s.tag, section, cut, &s.result);
    SectionGetCutInstances(s.tag, section, cut, &s.result);
}

// An add-on feature of the top face over the bottom: its unders and their labels (a list of
// integers) read twice into the same pair of arrays, and the features on the top face after
// them.
void AddOnListsGathered(SessionContext& s)
{
    const int block = brennik::build::Block(10, 20, 30);
    CreateInstance(s.tag, block, s_identity, &s.result);
    const int top = FaceAt(block, 0, 0, 1, 30);
    const int options = CreateMakeFeatureOptions(s.tag, &s.result);
    MakeFeatureOptionsSetUnders(s.tag, options, s.Tags({FaceAt(block, 0, 0, -1, 0)}),
                                s.Tags({2}), 1, &s.result);
    const int feature = MakeFeature(s.tag, s.Tags({top}), s.Tags({1}), 1, 7, options, &s.result);
    Array<int> unders, labels;
    FeatureGetUnders(s.tag, feature, unders, labels, &s.result);
    FeatureGetUnders(s.tag, feature, unders, labels, &s.result);
    TopolGetFeatures(s.tag, top, unders, &s.result);
}

// A listing call that empties the array first, handed one that holds a face of the block and
// then one that holds the first listing.
void ReferencesListedOverHeld(SessionContext& s)
{
    const int block = brennik::build::Block(10, 20, 30);
    const int instance = CreateInstance(s.tag, block, s_identity, &s.result);
    const int top = s.Ref(FaceAt(block, 0, 0, 1, 30), instance);
    Array<int> listed = s.Tags({top, top});
    GetReferences(s.tag, &listed, &s.result);
    s.Ref(FaceAt(block, 0, 0, -1, 0), instance);
    GetReferences(s.tag, &listed, &s.result);
}

}  // namespace

std::vector<ReplaySession> AppendingSessions()
{
    return {{"feature-lists-gathered", FeatureListsGathered},
            {"feature-list-refused-when-held", FeatureListRefusedWhenHeld},
            {"pattern-occurrences-gathered", PatternOccurrencesGathered},
            {"cut-instances-gathered", CutInstancesGathered},
            {"add-on-lists-gathered", AddOnListsGathered},
            {"references-listed-over-held", ReferencesListedOverHeld}};
}

}  // namespace testing
}  // namespace QEL
