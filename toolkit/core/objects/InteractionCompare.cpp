// Whole-interaction comparison: the same objects and the same kernel bodies, for the debug
// comparison call and the checkpoints of a journal replay.
#include "core/objects/Interaction.h"

#include "core/kernel/KernelFacade.h"
#include "core/maths/Dir.h"
#include "core/maths/Position.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Instance.h"
#include "core/objects/ReferenceQueries.h"
#include "core/objects/TagManager.h"

#include <brennik.h>

#include <algorithm>
#include <cmath>

namespace QEL {

namespace {

using BodyMap = std::map<int, int>;
using BodyPairs = std::set<std::pair<int, int>>;

const double s_locationTolerance = 1e-8;
const double s_radiusTolerance = 1e-8;
const double s_halfAngleTolerance = 1e-11;
const double s_transformDistanceTolerance = 1e-8;
const double s_transformAngleTolerance = 1e-11;

// The objects a save file holds: those that write themselves. The mapping data and procedure
// data of a feature's procedure run are the run's working state and are never saved, so an
// interaction loaded from its own file must compare equal without them.
std::vector<TaggedEntity*> SavedObjectsOf(const Interaction& interaction)
{
    std::vector<TaggedEntity*> saved;
    if (const TagManager* manager = interaction.GetTagManager())
        for (TaggedEntity* entity : manager->GetTaggedEntities())
            if (dynamic_cast<SerializableObject*>(entity))
                saved.push_back(entity);
    return saved;
}

// The selected references as tagged objects: the core sees the reference class only through
// its casts.
std::vector<TaggedEntity*> SelectedReferencesOf(const Interaction& interaction)
{
    std::vector<TaggedEntity*> selected;
    for (Reference* reference : interaction.GetSelectedReferences())
        selected.push_back(UpcastEntity(reference));
    return selected;
}

bool AreRelationFindersEqual(const RelationFinderState* a, const RelationFinderState* b)
{
    if (!a || !b)
        return a == b;
    return a->IsEqual(*b);
}

bool AreObjectsEqual(const Interaction& a, const Interaction& b, bool bodyCompareOnly)
{
    if (bodyCompareOnly)
        return AreEntityVectorsEqual(a.GetInstances(), b.GetInstances());
    return AreEntityVectorsEqual(SavedObjectsOf(a), SavedObjectsOf(b)) &&
           AreEntityVectorsEqual(SelectedReferencesOf(a), SelectedReferencesOf(b)) &&
           AreRelationFindersEqual(a.GetRelationFinder(), b.GetRelationFinder());
}

// Maps entity ids to bodies: each reference to the owning body of its entity, each instance to
// its body. References whose entity lies on no body are set aside as free-standing, with or
// without an instance, on both sides alike, so that equal interactions give equal maps.
void MapBodies(const Interaction& interaction, BodyMap& map, std::vector<Reference*>& freeStanding)
{
    std::set<Reference*, TaggedEntityPtrLessThan> references;
    interaction.GetAllReferences(references);
    for (Reference* reference : references) {
        const int body = GetOwningBody(GetReferenceEntityTag(reference));
        if (body == 0)
            freeStanding.push_back(reference);
        else
            map[UpcastEntity(reference)->GetEntityId()] = body;
    }
    for (Instance* instance : interaction.GetInstances())
        map[instance->GetEntityId()] = instance->GetBodyTag();
}

void RemoveBody(std::vector<int>& bodies, int body)
{
    bodies.erase(std::remove(bodies.begin(), bodies.end(), body), bodies.end());
}

// Pairs the bodies that the same object sees on either side, then the remaining live seen
// bodies by position. False when the remainders differ in number.
bool PairBodies(const BodyMap& mine, const BodyMap& theirs, std::vector<int>& mySeen,
                std::vector<int>& theirSeen, BodyPairs& pairs)
{
    for (const auto& entry : mine) {
        auto other = theirs.find(entry.first);
        if (other == theirs.end())
            continue;
        if (!pairs.insert(std::make_pair(entry.second, other->second)).second)
            continue;
        for (int body : {entry.second, other->second}) {
            RemoveBody(mySeen, body);
            RemoveBody(theirSeen, body);
        }
    }
    if (mySeen.size() != theirSeen.size())
        return false;
    for (size_t i = 0; i < mySeen.size(); ++i)
        pairs.insert(std::make_pair(mySeen[i], theirSeen[i]));
    return true;
}

const int s_firstReportLimit = 10;
const int s_reportLimitStep = 10;
const int s_compareTries = 3;

bool IsToleratedReport(int code)
{
    return code == BQ_DEBUG_report_identifier || code == BQ_DEBUG_report_attributes;
}

// The kernel's debug comparison, everything compared. Bodies that differ only by reports that
// do not matter to the toolkit (an entity numbered differently, attributes of another count)
// are equal. Reports stop at a limit, so a full page of tolerated ones may hide another kind
// behind it: the limit then grows and the kernel is asked again. A kernel error means the
// bodies differ.
bool AreBodiesEqual(int body, int otherBody)
{
    BQ_DEBUG_BODY_compare_o_t options{};
    options.o_t_version = 1;
    options.compare_body_type = options.compare_counts = options.compare_faces = true;
    options.compare_edges = options.compare_vertices = options.compare_geometry = true;
    options.compare_face_senses = options.compare_identifiers = options.compare_attributes = true;
    bool equal = false;
    for (int attempt = 0, limit = s_firstReportLimit; attempt < s_compareTries;
         ++attempt, limit += s_reportLimitStep) {
        options.max_reports = limit;
        BQ_DEBUG_BODY_compare_r_t results{};
        equal = BQ_DEBUG_BODY_compare(body, otherBody, &options, &results) == BQ_ERROR_no_errors;
        bool full = false;
        if (equal && (results.topology_result != BQ_DEBUG_topology_same ||
                      results.geometry_result != BQ_DEBUG_geometry_same)) {
            equal = results.n_reports > 0;
            for (int i = 0; equal && i < results.n_reports; ++i)
                equal = IsToleratedReport(results.reports[i].code);
            full = results.n_reports == limit;
        }
        BQ_DEBUG_BODY_compare_r_f(&results);
        if (!equal || !full)
            break;
    }
    return equal;
}

struct StandardForm {
    int classCode = 0;
    Position location;
    Position axis;
    double radius = 0.0;
    double halfAngle = 0.0;
    double minorRadius = 0.0;
    Xform placement;
};

StandardForm ReadStandardForm(Reference* reference)
{
    StandardForm form;
    form.classCode =
        GetStandardGeometry(GetReferenceEntityTag(reference), nullptr, nullptr, &form.location,
                            &form.axis, &form.radius, &form.halfAngle, &form.minorRadius);
    if (Instance* instance = GetReferenceInstance(reference))
        form.placement = instance->GetXform();
    return form;
}

bool IsWithin(double a, double b, double tolerance) { return std::fabs(a - b) < tolerance; }

bool AreStandardFormsEqual(const StandardForm& a, const StandardForm& b)
{
    const Dir axisA(a.axis.x, a.axis.y, a.axis.z, true);
    const Dir axisB(b.axis.x, b.axis.y, b.axis.z, true);
    return a.classCode == b.classCode &&
           a.placement.IsClose(b.placement, s_transformDistanceTolerance,
                               s_transformAngleTolerance) &&
           IsWithin(a.location.x, b.location.x, s_locationTolerance) &&
           IsWithin(a.location.y, b.location.y, s_locationTolerance) &&
           IsWithin(a.location.z, b.location.z, s_locationTolerance) && axisA.IsEqual(axisB) &&
           IsWithin(a.radius, b.radius, s_radiusTolerance) &&
           IsWithin(a.minorRadius, b.minorRadius, s_radiusTolerance) &&
           IsWithin(a.halfAngle, b.halfAngle, s_halfAngleTolerance);
}

// Free-standing references pair by entity id with a reference of the other interaction, whose
// entity must have the same standard form in the same place.
bool AreFreeStandingEqual(const std::vector<Reference*>& mine,
                          const std::vector<Reference*>& theirs, const Interaction& other)
{
    if (mine.size() != theirs.size())
        return false;
    for (Reference* reference : mine) {
        Reference* counterpart = DowncastEntity<Reference>(
            other.FindTaggedEntityById(UpcastEntity(reference)->GetEntityId()));
        if (!counterpart ||
            !AreStandardFormsEqual(ReadStandardForm(reference), ReadStandardForm(counterpart)))
            return false;
    }
    return true;
}

ResultType CompareInteractions(const Interaction& mine, const Interaction& other,
                               bool bodyCompareOnly)
{
    if (!AreObjectsEqual(mine, other, bodyCompareOnly))
        return ResultTypeObjectDiffers;

    BodyMap myBodies;
    BodyMap theirBodies;
    std::vector<Reference*> myFreeStanding;
    std::vector<Reference*> theirFreeStanding;
    MapBodies(mine, myBodies, myFreeStanding);
    MapBodies(other, theirBodies, theirFreeStanding);
    if (!bodyCompareOnly && myBodies.size() != theirBodies.size())
        return ResultTypeFail;

    std::vector<int> mySeen;
    std::vector<int> theirSeen;
    mine.GetSeenBodies(mySeen, false);
    other.GetSeenBodies(theirSeen, false);
    if (bodyCompareOnly && mySeen.empty())
        return ResultTypeBodyDiffers;

    BodyPairs pairs;
    if (!PairBodies(myBodies, theirBodies, mySeen, theirSeen, pairs))
        return ResultTypeBodyDiffers;
    for (const auto& pair : pairs)
        if (!AreBodiesEqual(pair.first, pair.second))
            return ResultTypeBodyDiffers;

    if (!AreFreeStandingEqual(myFreeStanding, theirFreeStanding, other))
        return ResultTypeBodyDiffers;
    return ResultTypeOk;
}

}  // namespace

bool Interaction::Compare(Interaction* other, bool bodyCompareOnly, ResultType* result)
{
    // The other interaction's containers are read from the first step on: without one there
    // is nothing to compare against.
    const ResultType code =
        other ? CompareInteractions(*this, *other, bodyCompareOnly) : ResultTypeBadArgument;
    if (result)
        *result = code;
    return code == ResultTypeOk;
}

}  // namespace QEL
