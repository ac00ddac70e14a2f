#pragma once
// The toolkit's model of one constraint problem: it owns the dimension-system manager and
// every node it puts into that system, keyed by the model objects they stand for. The update
// Solver lives for one edit; a TemporarySolver for one measurement.

#include "core/enums/Enums.h"
#include "core/maths/Xform.h"
#include "solver/BondRecords.h"
#include "solver/Bonds.h"
#include "solver/SolverObjects.h"

#include <cstdio>
#include <list>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

struct YSK_dimension_end_s;

namespace QEL {

class BodyStar;
class ConfigureFoundDataArray;
class ReblendData;
class Section;
struct SectionClusterData;
class FacePattern;
class FacePatternStar;
class Instance;
class Interaction;
class MappingData;
class OffsetFacesOp;
class ShellClusterData;
class Feature;
class Reference;
class Relation;
class RigidGroup;
class SolverFeature;
class SolverOffset;
class TippingPointData;
class VirtualVertex;
class YSKManager;
class YSKRuleSource;

// (kernel entity tag, Instance or null), ordered by tag, then null, then by Instance tag.
using GeometryKey = std::pair<int, Instance*>;
struct GeometryKeyLess {
    bool operator()(const GeometryKey& a, const GeometryKey& b) const;
};
using ConstructionKey = std::pair<GeometryKey, RelationSubtype>;
struct ConstructionKeyLess {
    bool operator()(const ConstructionKey& a, const ConstructionKey& b) const;
};

// The result of the last solve or drag; only SolveStatusSolved counts as solved.
enum SolveStatus {
    SolveStatusNotEvaluated = 0,
    SolveStatusSolved = 1,
    SolveStatusClassA = 2,  // over-defined and inconsistent
    SolveStatusClassB = 3,  // unsupported, not converged, bad value or geometry
    SolveStatusClassC = 4,  // regeneration failed
    SolveStatusClassD = 5,  // a non-rigid dimension not reached
    SolveStatusDragRefused = 6,
    SolveStatusProceduralOutsideSets = 7
};

// One reference of a measured relation: its key and how the relation uses it.
struct MeasuredReference {
    int entity = 0;
    Instance* instance = nullptr;
    RelationSubtype subtype = RelationSubtypeBoundary;
};

class Solver {
public:
    // journal: a stream to journal into (never closed here); noJournal: journal nothing unless
    // a stream is given. Without either, the process-wide solver-journal switch decides.
    explicit Solver(FILE* journal = nullptr, bool exactDragging = false, bool noJournal = false);
    Solver(const Solver&) = delete;
    Solver& operator=(const Solver&) = delete;
    virtual ~Solver();
    virtual bool IsTemporary() { return false; }

    WOF_dimension_system_manager* GetManager() const { return m_manager; }
    ZMR3_dimension_system* GetDimensionSystem() const { return m_manager; }

    // A reading lasts one evaluation of the dimension system: while it lasts the geometries
    // read the kernel once and answer the callbacks from what they read. A procedural object
    // regenerating may change kernel geometry, so it starts a new reading. 0 outside one.
    int GetKernelReading() const { return m_kernelReading; }
    void BeginKernelReading() { m_kernelReading = ++m_kernelReadings; }
    void EndKernelReading() { m_kernelReading = 0; }
    // The present reading's answer for an entity, shared by its geometries (see
    // SharedKernelRead); an entry left from an earlier reading is stale. An entry, once made,
    // stays at its address until the Solver goes.
    SharedKernelRead& GetKernelRead(int entity) { return m_kernelReads[entity]; }

    // Bookkeeping.
    SolveStatus GetSolveStatus() const { return m_solveStatus; }
    std::list<Bond*>* GetBondList() { return &m_bonds; }
    bool GetUseAddBondsForRelations() const { return m_useAddBondsForRelations; }
    void SetUseAddBondsForRelations(bool on) { m_useAddBondsForRelations = on; }
    bool GetUseAddBondsForRelationshipsOnly() const { return m_useAddBondsForRelationshipsOnly; }
    void SetUseAddBondsForRelationshipsOnly(bool on) { m_useAddBondsForRelationshipsOnly = on; }
    bool GetDelayAddDCalls() const { return m_delayAddDCalls; }
    void SetDelayAddDCalls(bool delay) { m_delayAddDCalls = delay; }
    // The id for the next node; the counter then moves on.
    int GetNextNodeId() { return m_nextNodeId++; }
    // Adds the bond (queued while adding is delayed) and takes ownership of it.
    void AddBond(Bond* bond);
    void AddDelayedBonds();
    void AddSet(Set* set);
    void AddProceduralRelationship(ProceduralRelationship* relationship);
    void AddYSKGeometry(Node* node) { m_yskNodes.push_back(node); }
    std::vector<Node*>& GetYSKGeometries() { return m_yskNodes; }
    bool RemoveYSKGeometries();

    // Geometry of model entities. Geometry of the faces an offset object drives is that
    // object's procedural geometry.
    Geometry* GetOrMakeGeometry(const GeometryKey& key);
    Geometry* GetOrMakeGeometry(Reference* reference);
    // Only for a key without geometry: what an offset object supplies for it, else null.
    Geometry* GetOrMakeProceduralGeometry(int entity, Instance* instance);
    Geometry* FindGeometry(const GeometryKey& key) const;
    Geometry* FindGeometry(Reference* reference) const;
    // Appends the body-level geometry of the entity, then its geometry through each of the
    // Interaction's Instances in their order, each only when it exists; true when the list is
    // then non-empty.
    bool FindGeometry(Interaction* interaction, int entity, std::list<Geometry*>& found) const;
    // Sorts the model geometry by its entity's class, in key order; procedural geometry, and
    // placed geometry of an entity whose body-level geometry is procedural, go nowhere.
    void GetGeometryEntitiesByClass(std::list<Geometry*>& faces, std::list<Geometry*>& edges,
                                    std::list<Geometry*>& vertices,
                                    std::list<Geometry*>& bare) const;
    // Whether a bond of the type ties g to other alone; a bond of the type on more or fewer
    // than two geometries ends the search with false.
    bool FindBondOfGeometries(GeometryBase* g, GeometryBase* other, ZMR3_d_type type);
    // The plane of the key in the section instance's frame, kept until the Solver goes; null
    // when the key has no geometry.
    GeometryBase* CreateSectionPlaneTempGeometry(const GeometryKey& planeKey,
                                                 Instance* sectionInstance);
    // The key's geometry, entered into the star of its body (true) or, without a star that
    // takes it, added to the dimension system on its own with its construction geometry
    // (false); false also when the key has no geometry.
    bool AddReferenceGeometry(Interaction* interaction, const GeometryKey& key,
                              ReferenceBehaviour behaviour, RelationSubtype subtype);
    // The body-level geometry of an entity, with the behaviour of its first reference.
    bool AddEntityGeometry(Interaction* interaction, int entity);

    // Stars: one per body, one element per Instance.
    BodyStar* GetBodyStar(int body) const;
    RTNode* GetRTNode(Instance* instance) const;
    // Replaces every star: Instances that no Section made first, then section Instances,
    // which move with the Instance they cut.
    void CreateBodyStars(const std::vector<Instance*>& instances);
    RTNode* GetOrMakeSectionRTNode(Instance* sectionInstance);
    static bool IsSectionInstance(Interaction* interaction, Instance* instance);
    static bool IsSectionPlane(Interaction* interaction, const GeometryKey& key);
    static Instance* GetCutInstanceOfSectionInstance(Instance* instance);
    static Reference* GetSectionPlaneOfSectionInstance(Instance* instance);

    // Face patterns: one star per pattern, made on first request.
    FacePatternStar* AddFacePattern(FacePattern* pattern);
    FacePatternStar* GetFacePatternStar(FacePattern* pattern) const;
    // The pattern's spacing dimension with the value and rigid flag; null without the node.
    PatternSpacing* AddXSpacingDimension(FacePattern* pattern, double value, bool rigid);
    PatternSpacing* AddYSpacingDimension(FacePattern* pattern, double value, bool rigid);
    PatternSpacing* AddAxisSpacingDimension(FacePattern* pattern, double value, bool rigid);
    // Hands a face, and with several patterns the faces reached from it, to the stars of the
    // patterns that hold it; visited faces are passed over.
    void AddToFacePatternStarMap(int entity, std::set<int>* visited);
    void AddPatternedFacesOfFace(std::list<int>& pending, std::set<int>& visited);

    // Procedural objects.
    // Whether the entity (or, for a vertex or edge, one of its faces) is driven by a feature
    // or an offset; excludeFeatureReferences: an entity a feature uses as a reference is not.
    bool IsUsingProceduralObject(Interaction* interaction, int entity, bool requireNonSimpleFeature,
                                 bool excludeFeatureReferences);
    bool IsUsingProceduralObject(Reference* reference, bool requireNonSimpleFeature,
                                 bool excludeFeatureReferences);
    static bool HasNonSimpleFeatureOnEntity(Interaction* interaction, int entity);
    // Whether a feature of the interaction is built on the entity as a profile or a parent: such
    // an entity keeps its own geometry in the system.
    static bool IsFeatureProfileOrParent(Interaction* interaction, int entity);
    void AddOffsetFacesOp(OffsetFacesOp* operation);
    // One procedural object per feature of a known type with references; the entities of a
    // feature not treated as simple are then driven by it.
    void AddFeature(Feature* feature);
    // Only a feature treated as simple; others come in through the feature data.
    void AddProceduralFeature(Feature* feature);
    // Every feature, but simple recreated ones under the new procedural-feature algorithm.
    void DefineFeatureData(const std::vector<Feature*>& features);
    SolverFeature* FindSolverFeature(Feature* feature) const;
    SolverOffset* FindSolverOffset(OffsetFacesOp* operation) const;

    // Relations.
    const std::list<Bond*>* GetRelationBonds(Relation* relation) const;
    // The value, or the rigid flag, of the relation's main bond; false without one.
    bool SetRelationValue(Relation* relation, double value);
    bool SetRelationNonRigid(Relation* relation);
    // A group the Solver owns, null when the references cannot move as one body.
    RigidGroup* MakeRigidGroup(const std::vector<Reference*>& references,
                               bool registerPatternedFaces);
    // The rigid groups whose Sets hold the key, oldest first; null when none does.
    const std::list<RigidGroup*>* FindRigidGroups(const GeometryKey& key) const;
    // Enters the group under the key once; the Solver deletes every group entered when it goes.
    void RegisterRigidGroup(const GeometryKey& key, RigidGroup* group);

    // What applying a solution reads: the procedural objects of the features, every key's
    // rigid groups, and the rigid group of each add-on feature.
    const std::set<SolverFeature*, NodePtrLessThan>& GetSolverFeatures() const
    {
        return m_features;
    }
    const std::map<GeometryKey, std::list<RigidGroup*>, GeometryKeyLess>& GetRigidGroupMap() const
    {
        return m_rigidGroupMap;
    }
    const std::map<int, RigidGroup*>& GetFeatureRigidGroups() const { return m_featureRigidGroups; }

    // Relations into the system. A relation is added once for the Solver's life: it then has
    // its bonds in creation order, or one null entry when it waits as a pending record for the
    // auto-constraint manager. A relation without references, or of a type or geometry without
    // a bond, adds nothing but the geometry made on the way. Fixed relations fix their
    // geometry and rigid ones make a rigid group; neither keeps an entry, so both apply again
    // each time they are added.
    void AddRelation(Relation* relation);
    // True when the relation was taken by the auto-constraint route: queued as a pending bond
    // or relationship, or applied as a fixed or rigid relation.
    bool AddRelationToYSK(Relation* relation);
    // Queue one pending record over the relation's bond geometries. The bond record is refused
    // while only relationships go to the manager.
    bool AddRelationBondData(Relation* relation, ZMR3_d_type type);
    bool AddRelationRelationshipData(Relation* relation, YSK_relation_type type);
    // The manager's relationship type for the relation types without a bond (similar,
    // coplanar, coplaxis); false for every other type. The geometries are not read.
    static bool getYSK_relation_type(RelationType type, YSK_relation_type& relationType,
                                     const std::vector<GeometryBase*>& geometries);
    // The reference's geometry (and construction geometry for the subtype) in the system.
    bool AddGeometryForReference(Reference* reference, RelationSubtype subtype);
    // Ties the vertex's point to each defining reference's geometry by a coincidence, once for
    // the Solver's life; a defining reference without geometry is passed over.
    void AddVirtualVertex(VirtualVertex* vertex);
    const std::list<Bond*>* GetVirtualVertexBonds(VirtualVertex* vertex) const;
    // The geometry a drag of the reference moves, added to the system; null without one.
    Geometry* GetOrMakeGeometryToDrag(Reference* reference);
    // The rigid group of an add-on feature's faces, made once; false when the add-on cannot
    // list the feature's topology or the faces cannot move as one body.
    bool MakeRigidGroupForFeature(Interaction* interaction, int feature);
    // Replaces the output by the references of the feature's rigid group, made when missing;
    // without a group the output is left as it was.
    void GetFeatureReferences(Interaction* interaction, int feature,
                              std::vector<Reference*>& references);
    // How far the solve moved the rigid group of an add-on feature; the identity when the feature
    // has no group or the group did not move.
    void GetFeatureTransform(int feature, Xform& transform) const;
    // Appends the tag of every add-on feature that has its rigid group, ascending.
    void GetFeatures(std::vector<int>& features) const;

    // Solving and dragging; each leaves its status in the Solver and returns it.
    SolveStatus SolveSystem();
    SolveStatus DragByTranslation(g_node* node, Vec& translation);
    SolveStatus DragByRadius(Geometry* geometry, double radius);
    SolveStatus DragByTransform(g_node* node, double (*transform)[4], ZMR3_drag_transformation kind,
                                g_node* second);
    void EvaluateSolveStatus();
    void ListGNodeStatuses();
    void ListDNodeStatuses();
    static bool CountUnknownGStatuses(const int* statuses, int count, int& counted);
    static bool CountUnknownDStatuses(const int* statuses, int count, int& counted);
    // False when the geometry of a procedural entity, under a rigid group, is in no Set.
    bool CheckProceduralGeometriesInSets();
    bool IsProceduralEntityOutsideSets(int entity);
    // Back from the dimension system's nodes to the toolkit's.
    std::vector<GNode*> GetGNodesFromZMR(std::vector<g_node*>* handles);
    std::vector<GNode*> GetPassiveGNodesFromZMR(std::vector<g_node*>* handles);
    std::vector<Bond*> GetBondsFromZMR(std::vector<d_node*>* handles);
    // Drops every geometry's alternative entity.
    void ClearGeometryAltTopols();
    // clear: drops every alternative entity. Otherwise each geometry whose entity the mapping
    // replaced takes the new entity as its alternative, and one whose entity was removed
    // leaves the dimension system; without a mapping nothing changes.
    void UpdateGeometriesWithAltTopols(MappingData* mapping, bool clear);
    void DebugDumpZMR(const std::string&, g_node*) {}

    // What the auto-constraint manager reports, adopted by the Solver. A bond stands for the
    // manager's node (a planar-angle bond for an angle on three geometries) and joins the bond
    // list without being added again; construction geometry of a described end stands for the
    // end's node, joins the Set that node is in, and is kept with the construction geometry.
    // Null for a shape other than a point, line, circle or plane.
    TypedBond* CreateBondFromYSKData(void* existing, ZMR3_d_type type,
                                     const std::vector<GeometryBase*>& geometries, double value);
    GeometryBase* CreateGeometryFromYSKData(const YSK_dimension_end_s& end);

    // Configure records: every record neither applied nor relaxed becomes its solver objects
    // and is marked applied; then, unless deferred, the pending bonds go to the manager. False
    // only when that hand-over fails.
    bool AddConfigureFoundData(ConfigureFoundDataArray& records, UpdateStatus& status,
                               YSKManager* manager, bool defer);
    // A blend kept tangent to the faces under it, its radius held when the record asks.
    void AddReblend(ReblendData& reblend, Interaction* interaction);
    // The first entity tied to each later one (a coincidence, or around a torus's spine).
    void AddTopological(std::vector<int>& entities, Interaction* interaction);
    ZMR3_d_type GetTopologicalDType(GeometryBase* first, int entity);
    void AddTopologicalBond(Interaction* interaction, GeometryBase* first, int entity,
                            ZMR3_d_type type);
    void AddTangentTopologicalBond(Interaction* interaction, GeometryBase* first, int face,
                                   bool fix);
    // A blend chain of a blend-radius edit (the blend face, then its under faces, held fixed):
    // the first chain gets the one free radius dimension, stored in radiusBond; each later
    // chain an equal radius to it.
    void AddBlendRadiusOpData(Interaction* interaction, std::vector<int>& chain, double radius,
                              Bond*& radiusBond);
    // A section entity on its plane and on the entities it was cut from; each bond once.
    void AddSectionCluster(const SectionClusterData& section);
    void AddSectionConstraints(Section* section, Instance* cut, Reference* reference);
    void AddSectionSourceAxisConstraints(Section* section, Instance* cut, Reference* reference);
    // Thin walls: the faces of each side stay together and the two sides keep their relative
    // position and, unless both first faces are procedural, their distance. Faces without
    // geometry are left out; a wall needs a face with geometry on both sides.
    void AddShellCluster(const ShellClusterData& cluster, Interaction* interaction);
    // One "same side coincident" bond; true.
    bool AddSameSideCoincidence(GeometryBase* first, GeometryBase* other);
    // The wall bonds between the first faces of the sides; false, with no bond, when the
    // first face's geometry class has no wall rule.
    bool AddShellThickness(GeometryBase* side1, GeometryBase* side2, double thickness);

    // Tipping points: a point held on a face by a coincidence. With the make-geometry flag the
    // point's geometry and the bond are kept in the record, for RemoveTippingPoints.
    void AddTippingPoint(TippingPointData& record, Interaction* interaction);
    // Takes the bonds of the records, which share one tipping geometry, and then that geometry
    // out of the Solver, clearing the records. False, with nothing removed, when the records
    // do not share one geometry (or there are none); false also when a bond is not the
    // Solver's or the geometry is no longer its point's, keeping what was removed before.
    bool RemoveTippingPoints(std::vector<TippingPointData*>& records);

    // Bonds and relationships waiting for the auto-constraint manager, in the order the
    // relations made them. They stay until AddBondsToYSK hands them over.
    BondDataArray& GetPendingBonds() { return m_pendingBonds; }
    RelationshipDataArray& GetPendingRelationships() { return m_pendingRelationships; }
    // Adds the delayed bonds first. With records pending, hands them to the manager and adopts
    // the bonds it made for them (they stay in every later solve); both lists are emptied
    // whatever the outcome. True with nothing pending, without calling the manager; false,
    // with UpdateSolveFailed in the status, when the manager refuses them or is missing.
    bool AddBondsToYSK(YSKManager* manager, UpdateStatus& status);

    // Construction geometry standing for a reference's centre or axis.
    bool MakeTemporaryConstructionGeometry(RelationSubtype subtype, const GeometryKey& key,
                                           Geometry*& base, GeometryBase*& construction,
                                           std::vector<GeometryBase*>& auxiliary);
    bool GetOrMakeTemporaryConstructionGeometry(RelationSubtype subtype, const GeometryKey& key,
                                                std::vector<GeometryBase*>& out);
    GeometryBase* GetTemporaryConstructionGeometry(const GeometryKey& key,
                                                   RelationSubtype subtype) const;
    bool MakeAxisConstructionGeometry(Geometry* base, GeometryBase*& construction,
                                      std::vector<GeometryBase*>& auxiliary);
    bool MakeCircleCentreConstructionGeometry(Geometry* base, GeometryBase*& construction,
                                              std::vector<GeometryBase*>& auxiliary);
    bool MakeConeApexConstructionGeometry(Geometry* base, GeometryBase*& construction,
                                          std::vector<GeometryBase*>& auxiliary);
    bool MakeSphereCentreConstructionGeometry(Geometry* base, GeometryBase*& construction,
                                              std::vector<GeometryBase*>& auxiliary);
    bool MakeTorusCentreConstructionGeometry(Geometry* base, GeometryBase*& construction,
                                             std::vector<GeometryBase*>& auxiliary);

    // The bond type of a relation type over its bond geometries; false for types without one.
    static bool getZMR3_d_type(RelationType type, ZMR3_d_type& dType,
                               std::vector<GeometryBase*>& geometries);
    // Measures a dimension-like relation given by its type and references: true with the value
    // and valid set when the dimension system's measurement is accepted; false, 0.0 and not
    // valid otherwise.
    bool MeasureRelationValueAndValidate(RelationType type,
                                         const std::vector<MeasuredReference>& references,
                                         double& value, bool& valid);
    // The same for a relation: its type, its references and the subtype it gives each.
    bool MeasureRelationValueAndValidate(Relation* relation, double& value, bool& measured);
    // True when the measured value can be taken without checking that the solve moved nothing.
    static bool IsMeasuredDistanceValid(RelationType type,
                                        const std::vector<MeasuredReference>& references,
                                        std::vector<GeometryBase*>& geometries);

    // Adds geometry the Solver keeps until it goes.
    GeometryBase* AddConstruction(GeometryBase* geometry);

protected:
    void RegisterZMRFrustum();
    void RegisterJUNFrustum();
    void RegisterKEVFrustum();

private:
    void DeleteBodyStars();
    void DeleteFacePatternStars();
    void MakeFacePatternStar(FacePattern* pattern);
    PatternSpacing* AddSpacingDimension(FacePattern* pattern, double value, bool rigid,
                                        PatternSpacing* (FacePatternStar::*make)());
    void BondConstruction(ZMR3_d_type type, GeometryBase* first, GeometryBase* second);
    // Per reference, in order: its construction geometry for the relation's subtype when there
    // is one, else its geometry (null when it has none).
    std::vector<GeometryBase*> AddRelationGeometries(Relation* relation);
    void FixRelationGeometry(Relation* relation);
    // The bonds of a relation type over its bond geometries, main bond first: a directed
    // distance, a planar angle with the perpendicularities of its two lines to its plane (none
    // without that plane), or one typed bond. Each is added to the system.
    std::vector<TypedBond*> AddRelationBonds(RelationType type, ZMR3_d_type dType,
                                             const std::vector<GeometryBase*>& geometries,
                                             double value);
    // Undoes the last evaluation unless none was made since the Solver was built; as a timed
    // step when labelled.
    void UndoBeforeDrag(const char* label = nullptr);
    SolveStatus FinishDrag(ZMR3_drag_result result);

    WOF_dimension_system_manager* m_manager = nullptr;
    SolveStatus m_solveStatus = SolveStatusNotEvaluated;
    int m_kernelReading = 0;
    int m_kernelReadings = 0;
    std::unordered_map<int, SharedKernelRead> m_kernelReads;
    int m_exactDragging = 0;
    int m_nextNodeId = 1;
    std::map<GeometryKey, Geometry*, GeometryKeyLess> m_geometries;
    std::set<SolverOffset*, NodePtrLessThan> m_offsets;
    std::set<SolverFeature*, NodePtrLessThan> m_features;
    std::set<int> m_proceduralFeatureEntities;
    std::set<int> m_offsetFaceEntities;
    std::map<int, BodyStar*> m_bodyStars;
    std::map<FacePattern*, FacePatternStar*> m_facePatternStars;
    std::map<int, std::list<FacePattern*>> m_patternedFaces;
    std::map<int, std::list<FacePattern*>> m_patternReferences;
    std::map<Relation*, std::list<Bond*>> m_relationBonds;
    std::map<VirtualVertex*, std::list<Bond*>> m_virtualVertexBonds;
    std::map<int, RigidGroup*> m_featureRigidGroups;
    std::set<ProceduralRelationship*> m_proceduralRelationships;
    std::list<Bond*> m_bonds;
    std::list<Set*> m_sets;
    std::vector<SectionPlane*> m_sectionPlanes;
    std::vector<g_node*> m_gNodes;
    std::vector<int> m_gStatuses;
    std::vector<d_node*> m_dNodes;
    std::vector<int> m_dStatuses;
    std::map<ConstructionKey, std::vector<GeometryBase*>, ConstructionKeyLess>
        m_temporaryConstruction;
    std::vector<GeometryBase*> m_constructionGeometries;
    bool m_useAddBondsForRelations = true;
    bool m_useAddBondsForRelationshipsOnly = true;
    std::vector<Bond*> m_delayedBonds;
    bool m_delayAddDCalls = false;
    std::vector<Node*> m_yskNodes;
    BondDataArray m_pendingBonds;
    RelationshipDataArray m_pendingRelationships;
    std::list<RigidGroup*> m_rigidGroups;
    std::map<GeometryKey, std::list<RigidGroup*>, GeometryKeyLess> m_rigidGroupMap;
    ZMR3_file m_journalFile = {nullptr, nullptr, nullptr};
};

class TemporarySolver : public Solver {
public:
    TemporarySolver() : Solver(nullptr, false, true) {}
    bool IsTemporary() override { return true; }
};

// Opens the next solver journal file into an empty slot: "%sTessik_%04d.jou" from the
// process-wide prefix and number, in the temporary folder while no toolkit journal is open.
void OpenSolverJournalFile(FILE** slot);
void CloseSolverJournalFile(FILE** slot);

// "TRN", "ROT", "GEN", "RAD" (long form: the enumeration names), "?" for other kinds.
std::string DimensionTypeToString(int kind, bool longForm);

}  // namespace QEL
