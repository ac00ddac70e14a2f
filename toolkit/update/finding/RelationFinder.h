#pragma once
// The relation finder every live interaction holds: which relation types are searched between
// which kinds of geometry and up to which level, the flags and reference lists that steer the
// find and the configure step, the application's accept callback, and the relations and
// virtual vertices the finds produced. It is rolled back as part of the interaction: each
// change reports the interaction as modified first. Installed into the core as the maker of
// the interaction's relation-finding state while the library loads.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"
#include "core/objects/EntityComparison.h"
#include "core/objects/RelationFinderState.h"

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace QEL {

class Instance;
class RelationCandidate;
class RelationCandidateList;
class RelationFinderContext;
class RelationFinderInputData;

// The application's accept-relation callback: interaction tag, level, relation type, from
// entity, from instance tag, to entity, to instance tag, additional entity, additional
// instance tag (0 for none); true accepts the candidate.
typedef bool (*FindAcceptRelationFunction)(int, int, RelationType, int, int, int, int, int, int);

class QEL_API RelationFinder : public RelationFinderState {
public:
    static constexpr int s_relationTypeCount = FindRelationTypeMax;
    static constexpr int s_geometryTypeCount = FindGeometryTypeMax;

    // Bound to the live interaction with its defaults; null for a snapshot's copy.
    explicit RelationFinder(Interaction* interaction);
    ~RelationFinder() override;

    // The finder of a live interaction; null when none is installed.
    static RelationFinder* Of(Interaction* interaction);

    std::unique_ptr<RelationFinderState> Clone() const override;
    // Takes everything but the owner.
    void CopyFrom(const RelationFinderState& other) override;
    // Flags, test maps, option matrix, reference lists, created sets and found relations,
    // the objects compared by their entity ids.
    bool IsEqual(const RelationFinderState& other) const override;

    // Options. Each setter reports the interaction as modified before it changes anything.
    // The level of an entry; -1, changing nothing, for an index outside the matrix, an entry
    // that is not offered (-1), or a negative level (which would withdraw the entry for good).
    int SetRelationGeometryOption(FindRelationType relation, FindGeometryType from,
                                  FindGeometryType to, int level);
    // -1 for an index outside the matrix; else the entry.
    int GetRelationGeometryOption(FindRelationType relation, FindGeometryType from,
                                  FindGeometryType to) const;
    void ResetRelationGeometryOptions();
    // Records only when the callback differs.
    void SetAcceptRelationCallback(FindAcceptRelationFunction callback);
    FindAcceptRelationFunction GetAcceptRelationCallback() const { return m_acceptCallback; }

    // The flag setters record even when the value does not change.
    void SetCreateRelations(bool on) { SetFlag(m_createRelations, on); }
    bool GetCreateRelations() const { return m_createRelations; }
    void SetSimilarGeometryMatchAxes(bool on) { SetFlag(m_similarMatchAxes, on); }
    bool GetSimilarGeometryMatchAxes() const { return m_similarMatchAxes; }
    void SetSymmetryMatchExact(bool on) { SetFlag(m_symmetryMatchExact, on); }
    bool GetSymmetryMatchExact() const { return m_symmetryMatchExact; }
    void SetConfigureLockCylinderRadius(bool on) { SetFlag(m_lockCylinderRadius, on); }
    bool GetConfigureLockCylinderRadius() const { return m_lockCylinderRadius; }
    void SetConfigureLockSphereRadius(bool on) { SetFlag(m_lockSphereRadius, on); }
    bool GetConfigureLockSphereRadius() const { return m_lockSphereRadius; }
    void SetConfigureLockTorusRadius(bool on) { SetFlag(m_lockTorusRadius, on); }
    bool GetConfigureLockTorusRadius() const { return m_lockTorusRadius; }
    void SetConfigureLockTorusMinorRadius(bool on) { SetFlag(m_lockTorusMinorRadius, on); }
    bool GetConfigureLockTorusMinorRadius() const { return m_lockTorusMinorRadius; }
    void SetConfigureLockConeHalfAngle(bool on) { SetFlag(m_lockConeHalfAngle, on); }
    bool GetConfigureLockConeHalfAngle() const { return m_lockConeHalfAngle; }

    // The reference lists; a setter records and replaces the list, leaving out nulls, so the
    // lists never hold a null.
    void SetSymmetryPlanes(const std::vector<Reference*>& references);
    const std::vector<Reference*>& GetSymmetryPlanes() const { return m_symmetryPlanes; }
    void SetCoPlaxisReferences(const std::vector<Reference*>& references);
    const std::vector<Reference*>& GetCoPlaxisReferences() const { return m_coPlaxisReferences; }
    void SetPrinciplePlanes(const std::vector<Reference*>& references);
    const std::vector<Reference*>& GetPrinciplePlanes() const { return m_principalPlanes; }

    // The test maps: false for a type or class that is not a key.
    bool SetFindQelRelationType(RelationType type, bool on);
    bool SetFindQelGeometryType(int geometryClass, bool on);

    // In the list and of the kind the list is for (plane; plane or line; plane).
    bool IsSymmetryPlane(Reference* reference) const;
    bool IsCoPlaxisReference(Reference* reference) const;
    bool IsPrincipalPlane(Reference* reference) const;

    // Found and created objects.
    const std::map<Relation*, int, TaggedEntityPtrLessThan>& GetFoundRelations() const
    {
        return m_foundRelations;
    }
    // 0 when not found.
    int GetFoundRelationLevel(Relation* relation) const;
    void AddFoundRelation(Relation* relation, int level);
    void AddCreatedRelation(Relation* relation);
    void AddCreatedVirtualVertex(VirtualVertex* vertex);
    bool IsCreatedRelation(Relation* relation) const
    {
        return m_createdRelations.count(relation) != 0;
    }
    bool IsCreatedVirtualVertex(VirtualVertex* vertex) const
    {
        return m_createdVertices.count(vertex) != 0;
    }
    const std::set<Relation*>& GetCreatedRelations() const { return m_createdRelations; }
    const std::set<VirtualVertex*>& GetCreatedVirtualVertices() const { return m_createdVertices; }
    // With destroy the created relations and virtual vertices are destroyed; in both cases
    // they are forgotten and the found map is emptied.
    void ClearFoundRelations(bool destroy);

    void RemoveRelation(Relation* relation) override;
    // Every occurrence leaves each list: a reference listed twice must not stay behind once it
    // is gone.
    void RemoveReference(Reference* reference) override;
    void RemoveVirtualVertex(VirtualVertex* vertex) override;

    // Test entry points: every relation found at its position plus one and created; the
    // relations among the selection's references by the test maps; a find of the selection.
    void TestSetupFoundRelations();
    int TestQelFindRelations();
    int TestFindGeometricRelations();

    // Writes or reads the finder's "RelationFinder" element.
    bool DoIO(XMLIO& xmlio) override;

    // ---- Finding ---------------------------------------------------------------------------
    // The exported find: level by level from vary into the environment (either may be null).
    // Refused with DragActive while a solver operation is set: the find ends any update of
    // the interaction, which would drop the running edit.
    ResultType FindGeometricRelations(RelationFinderInputData* vary,
                                      RelationFinderInputData* environment);
    // One configure level from the seeds: the relations made or matched, and the entities
    // reached. True when nothing failed.
    bool FindForConfigureLevel(int level, bool configureMode,
                               std::vector<std::pair<int, Instance*>>& seeds,
                               RelationFinderContext& context, std::vector<Relation*>& relations,
                               std::vector<int>& entities);
    bool FindTangentsAndSymmetriesForConfigure(int level,
                                               std::vector<std::pair<int, Instance*>>& seeds,
                                               RelationFinderContext& context,
                                               std::vector<Relation*>& relations);
    // The accept step: asks the application's callback once (a rejection is journalled while
    // a journal is open) and keeps the answer in the candidate; without a callback, accepted.
    bool Accept(RelationCandidate& candidate) const;

    Interaction* GetInteraction() const { return m_interaction; }

private:
    bool AskAccept(int level, RelationType type, int entity1, Instance* instance1, int entity2,
                   Instance* instance2, int entity3, Instance* instance3) const;
    // The option passes: which matrix entries each pass offers to the manager.
    enum class OptionPass { Standard, Configure, TangentSymmetry, TangentAtEdge, BlendCheck };
    bool SetOfferedOptions(RelationFinderContext& context, OptionPass pass);
    int RunLevel(bool configureMode, RelationFinderContext& context);
    int RunStandardPass(RelationFinderContext& context, RelationCandidateList& list);
    int RunTangentAndSymmetryPass(RelationFinderContext& context, RelationCandidateList& list);
    int CheckStandardCandidates(RelationFinderContext& context, RelationCandidateList& list);
    int CheckTangentCandidates(RelationFinderContext& context, RelationCandidateList& list,
                               size_t first);
    bool IsBlendToSkip(int entity, RelationCandidateList& level, RelationCandidateList* further,
                       RelationFinderContext& context);
    bool IsShellPartnerTangentKnown(const RelationCandidate& candidate,
                                    RelationCandidateList& level,
                                    RelationFinderContext& context) const;

    // Tangent chains along smooth edges.
    int FollowTangentChains(RelationFinderContext& context, RelationCandidateList& level);
    int FollowTangentChainStep(int faceA, int faceB, RelationCandidateList& level,
                               RelationFinderContext& chain, RelationFinderContext& context);
    int EndTangentChainAtPivot(int faceA, int faceB, RelationCandidateList& level,
                               RelationFinderContext& context);
    bool AddFixedCandidate(int entity, RelationCandidateList& level,
                           RelationFinderContext& context);
    bool IsRelaxedInConfigure(RelationFinderContext& context,
                              const RelationCandidate& candidate) const;
    bool IsPerpendicularToPrincipalPlane(int face) const;

    void Record();
    void SetFlag(bool& flag, bool on);
    void SetList(std::vector<Reference*>& list, const std::vector<Reference*>& references);
    void ApplyOptionDefaults();
    bool IsIndexInMatrix(int relation, int from, int to) const;

    Interaction* m_interaction;
    std::map<RelationType, bool> m_testRelationTypes;
    std::map<int, bool> m_testGeometryClasses;
    int m_options[s_relationTypeCount][s_geometryTypeCount][s_geometryTypeCount];
    FindAcceptRelationFunction m_acceptCallback = nullptr;
    bool m_createRelations = false;
    bool m_similarMatchAxes = false;
    bool m_symmetryMatchExact = false;
    bool m_lockCylinderRadius = false;
    bool m_lockSphereRadius = false;
    bool m_lockTorusRadius = false;
    bool m_lockTorusMinorRadius = false;
    bool m_lockConeHalfAngle = false;
    std::set<Relation*> m_createdRelations;
    std::set<VirtualVertex*> m_createdVertices;
    std::map<Relation*, int, TaggedEntityPtrLessThan> m_foundRelations;
    std::vector<Reference*> m_symmetryPlanes;
    std::vector<Reference*> m_coPlaxisReferences;
    std::vector<Reference*> m_principalPlanes;
};

}  // namespace QEL
