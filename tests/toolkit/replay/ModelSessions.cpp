// Sessions of the model's own objects: references, relations and instances on a plate with
// holes, the objects listed and found again, marks, a virtual vertex where three faces meet,
// sections of a placed block, and the process-wide switches.
#include "ReplayedSession.h"

#include "api/model/QelInstanceApi.h"
#include "api/model/QelMarkApi.h"
#include "api/model/QelObjectApi.h"
#include "api/model/QelRelationApi.h"
#include "api/model/QelSectionApi.h"
#include "api/model/QelVirtualVertexApi.h"

namespace QEL {
namespace testing {
namespace {

// A hole of a placed plate with holes and its distance to a free plane: the relation's
// subtype, identifier and references read back, and the objects of the interaction listed.
void ReferencesAndRelations(SessionContext& s)
{
    const int plate = brennik::build::PlateWithHoles();
    const double shifted[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 5}, {0, 0, 0, 1}};
    const int instance = CreateInstance(s.tag, plate, shifted, &s.result);
    double matrix[4][4];
    InstanceGetTransform(s.tag, instance, matrix, &s.result);
    matrix[2][3] = 7;
    InstanceSetTransform(s.tag, instance, matrix, &s.result);
    GetInstance(s.tag, 0, &s.result);
    InstanceGetBody(s.tag, instance, &s.result);

    const std::vector<int> holes = FacesOfClass(plate, KernelClassCylinder);
    std::set<int> faces;
    GetBodyFaces(plate, faces);
    // A wall of the plate: a plane along the holes' axes.
    int planar = 0;
    for (int face : faces) {
        Position at, normal;
        if (!planar && GetStandardGeometry(face, nullptr, nullptr, &at, &normal, nullptr, nullptr, nullptr) ==
                           KernelClassPlane && std::fabs(normal.z) < 1e-9)
            planar = face;
    }
    const int hole = s.Ref(holes.size() > 1 ? holes[0] : 0, instance);
    const int otherHole = s.Ref(holes.size() > 1 ? holes[1] : 0, instance);
    const int plane = s.Ref(planar, instance);
    Array<int> all;
    GetReferences(s.tag, &all, &s.result);
    ReferenceGetInstance(s.tag, hole, &s.result);
    ReferenceSetBehaviour(s.tag, plane, ReferenceBehaviourPositioning, &s.result);
    ReferenceGetBehaviour(s.tag, plane, &s.result);
    EntityGetBehaviour(s.tag, planar, &s.result);

    // Faces of one placed body keep their places: a relation holds a hole to a free plane.
    const int datum = s.Ref(brennik::build::FreePlane(-5, 0, 0, 1, 0, 0));
    const int relation = CreateRelation(s.tag, RelationTypeDistance, s.Tags({hole, datum}), &s.result);
    GetRelation(s.tag, 0, &s.result);
    RelationSetApplicationIdentifier(s.tag, relation, "hole to face", &s.result);
    RelationGetApplicationIdentifier(s.tag, relation, &s.result);
    RelationSetSubtype(s.tag, relation, hole, RelationSubtypeAxis, true, &s.result);
    RelationGetSubtype(s.tag, relation, hole, &s.result);
    RelationSetSubtype(s.tag, relation, datum, RelationSubtypeBoundary, false, &s.result);
    CreateRelation(s.tag, RelationTypeParallel, s.Tags({otherHole, datum}), &s.result);

    GetObjectType(s.tag, relation, &s.result);
    const int id = ObjectGetIdentifier(s.tag, hole, &s.result);
    ObjectFindByIdentifier(s.tag, id, &s.result);
    Array<int> references, objects;
    GetObjects(s.tag, ObjectTypeReference, &references, &s.result);
    GetAllObjects(s.tag, &objects, &s.result);
}

// Marks made, found by index and as the current one, and deleted; a virtual vertex at a block's
// corner; the process-wide switches set and read back.
void MarksVerticesAndSwitches(SessionContext& s)
{
    const int block = brennik::build::Block(10, 20, 30);
    const int top = s.Ref(FaceAt(block, 0, 0, 1, 30));
    const int side = s.Ref(FaceAt(block, 1, 0, 0, 10));
    const int back = s.Ref(FaceAt(block, 0, 1, 0, 20));
    const int first = CreateMark(s.tag, &s.result);
    bool atMark = false;
    GetCurrentMark(s.tag, atMark, &s.result);
    CreateRelation(s.tag, RelationTypePerpendicular, s.Tags({top, side}), &s.result);
    CreateMark(s.tag, &s.result);
    GetMark(s.tag, 0, &s.result);
    DeleteMark(s.tag, first, &s.result);
    GetCurrentMark(s.tag, atMark, &s.result);

    Array<int> defining = s.Tags({top, side, back});
    const double seed[3] = {9, 19, 29};
    const int vertex = CreateVirtualVertex(s.tag, defining, seed, &s.result);
    Array<int> read;
    VirtualVertexGetDefiningRefs(s.tag, vertex, read, &s.result);
    VirtualVertexGetVirtualPoint(s.tag, vertex, &s.result);

    // Each switch is turned over and back: the sessions after this one, and their replays in
    // fresh processes, run with the defaults.
    SetMinimiseJournal(GetMinimiseJournal(&s.result), &s.result);
    OptionGetAllowMultipleInteractions(&s.result);
    const bool pf = GetNewPFAlgorithmStatus(&s.result);
    SetNewPFAlgorithmStatus(!pf, &s.result);
    SetNewPFAlgorithmStatus(pf, &s.result);
    const bool hxrPf = GetHXRPFBasedAlgorithmStatus(&s.result);
    SetHXRPFBasedAlgorithmStatus(!hxrPf, &s.result);
    SetHXRPFBasedAlgorithmStatus(hxrPf, &s.result);
    const bool checks = OptionGetCheckArgumentsDefault(&s.result);
    OptionSetCheckArgumentsDefault(!checks, &s.result);
    OptionSetCheckArgumentsDefault(checks, &s.result);
}

// A section of a placed block on the plane z = 15: its plane, its cut instances and the
// mapping of its geometry read back, and the same geometry added to it again.
void Sections(SessionContext& s)
{
    const int block = brennik::build::Block(10, 20, 30);
    const double shifted[4][4] = {{1, 0, 0, 5}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    const int instance = CreateInstance(s.tag, block, shifted, &s.result);
    const int plane = s.Ref(brennik::build::FreePlane(0, 0, 15, 0, 0, 1));
    const int section = CreateSection(s.tag, plane, &s.result);
    int sectionInstance = 0;
    Array<int> sources, made;
    SectionGenerateGeometry(s.tag, section, instance, sectionInstance, sources, made, &s.result);
    GetSectionsCount(s.tag, &s.result);
    GetSection(s.tag, 0, &s.result);
    SectionGetPlane(s.tag, section, &s.result);
    Array<int> cut;
    SectionGetCutInstances(s.tag, section, cut, &s.result);
    int mappedInstance = 0;
    Array<int> mappedSources, mappedEntities;
    SectionGetMapping(s.tag, section, instance, mappedInstance, mappedSources, mappedEntities, &s.result);
    SectionAddGeometry(s.tag, section, instance, mappedInstance, mappedSources, mappedEntities, &s.result);
}

}  // namespace

std::vector<ReplaySession> ModelSessions()
{
    return {{"references-and-relations", ReferencesAndRelations},
            {"marks-vertices-and-switches", MarksVerticesAndSwitches},
            {"sections", Sections}};
}

}  // namespace testing
}  // namespace QEL
